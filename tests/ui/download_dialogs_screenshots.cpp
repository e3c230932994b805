// download_dialogs_screenshots: shows the three download dialogs on a fresh
// demo tree against the simulated receiver under a display and saves a
// picture of each once its download has ended: the glossary after success,
// the two list dialogs with an ACK withheld, so that they stay open.
//   xvfb-run -a download_dialogs_screenshots OUTPUT_FOLDER
#include "demo_tree.h"
#include "download_dialogs.h"
#include "qt_user_port.h"
#include "session.h"
#include "sim_port.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace tarnwick;

QString outputFolder;

void save(QWidget &widget, const QString &name) {
  const QString path = outputFolder + QLatin1Char('/') + name;
  widget.grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

// The steps, 600 ms apart so each download has ended and been painted.
void runSteps(std::shared_ptr<std::vector<std::function<void()>>> steps, std::size_t next = 0) {
  if (next == steps->size()) {
    return;
  }
  QTimer::singleShot(600, [steps, next] {
    runSteps(steps, next + 1); // due before the step, which may open a modal message
    (*steps)[next]();
  });
}

} // namespace

int main(int argc, char **argv) {
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false); // one dialog goes before the next comes
  outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(outputFolder);
  const std::filesystem::path tree = std::filesystem::path(outputFolder.toStdString()) / "tree";
  const demo::DemoTreeResult created = demo::createDemoTree(tree);
  if (created.error) {
    std::fprintf(stderr, "%s\n", created.what.c_str());
    return 1;
  }
  ui::QtUserPort user(QStringLiteral("Tarnwick"));
  VirtualClock clock{0};
  sim::SimPort port{clock};
  Session app(tree, port, clock, user);
  app.start();
  sim::Faults faults;
  faults.downloads.noAckForListData = 0;
  faults.downloads.noAckForEntry = 0;
  port.addReceiver("/dev/simA", {}, faults);
  port.setBaudRate(38400);
  port.openPort("/dev/simA");
  app.context().portState.markOpen("/dev/simA", 38400);
  app.templates().useSavedGlossary();
  const std::string list = "Gas";

  std::unique_ptr<ui::DownloadDialog> dialog;
  const auto open = [&](ui::DownloadDialog *made) {
    dialog.reset(made);
    dialog->show();
  };
  runSteps(std::make_shared<std::vector<std::function<void()>>>(std::vector<std::function<void()>>{
      [&] {
        open(ui::makeGlossaryDownloadDialog(app.context(), app.templates().glossary, nullptr));
      },
      [&] { save(*dialog, QStringLiteral("glossary_download.png")); },
      [&] {
        open(ui::makeUserListDownloadDialog(app.context(), app.templates().userLists, list,
                                            nullptr));
      },
      [&] { save(*dialog, QStringLiteral("user_list_download.png")); },
      [&] {
        open(ui::makeDescriptionListDownloadDialog(app.context(), app.templates().userLists, list,
                                                   nullptr));
      },
      [&] { save(*dialog, QStringLiteral("description_list_download.png")); },
      [&] {
        dialog.reset();
        qt.quit();
      },
  }));
  QTimer::singleShot(30000, [&] {
    std::fprintf(stderr, "download_dialogs_screenshots: timed out\n");
    qt.exit(1);
  });
  return QApplication::exec();
}
