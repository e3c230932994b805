// marker_utility_screenshots: opens the marker utility from the main screen
// on a fresh demo tree under a display and saves a picture of each page, the
// pages with a list and a template chosen as a technician would.
// A label being typed shows how many characters are left; closing with the
// edited template asks to save it. With a language (German) the demo's pack
// is used.
//   xvfb-run -s "-screen 0 1280x900x24" marker_utility_screenshots OUTPUT_FOLDER [LANGUAGE]
#include "demo_tree.h"
#include "main_screen_window.h"
#include "marker_utility_window.h"
#include "qt_user_port.h"
#include "session.h"
#include "sim_port.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <fstream>
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

// Chooses text in the box as the user's choice would.
void choose(QWidget &parent, const char *id, const QString &text) {
  auto *box = parent.findChild<QComboBox *>(QString::fromLatin1(id));
  const int index = box->findText(text);
  box->setCurrentIndex(index);
  emit box->activated(index);
}

// The steps, 400 ms apart so each page is painted before it is taken. The
// next one is due before a step runs: a step may open a modal window.
void runSteps(std::shared_ptr<std::vector<std::function<void()>>> steps, std::size_t next = 0) {
  if (next == steps->size()) {
    return;
  }
  QTimer::singleShot(400, [steps, next] {
    runSteps(steps, next + 1);
    (*steps)[next]();
  });
}

} // namespace

int main(int argc, char **argv) {
  QApplication qt(argc, argv);
  outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(outputFolder);
  const std::filesystem::path tree = std::filesystem::path(outputFolder.toStdString()) / "tree";
  const demo::DemoTreeResult created = demo::createDemoTree(tree);
  if (created.error) {
    std::fprintf(stderr, "%s\n", created.what.c_str());
    return 1;
  }
  if (argc > 2) {
    std::ofstream(tree / "Cfg" / "UI_LangConfigSave.cfg") << argv[2] << '\n';
  }
  ui::QtUserPort user(QStringLiteral("Tarnwick"));
  VirtualClock clock{0};
  sim::SimPort port{clock};
  Session app(tree, port, clock, user);
  user.setStrings(&app.context().strings);
  app.start();
  ui::MainScreenWindow screen(app);
  user.setMainWindow(&screen);
  screen.show();

  const auto window = [] {
    return qobject_cast<ui::MarkerUtilityWindow *>(QApplication::activeModalWidget());
  };
  runSteps(std::make_shared<std::vector<std::function<void()>>>(std::vector<std::function<void()>>{
      [&] { screen.findChild<QPushButton *>(QStringLiteral("1136"))->click(); }, // modal
      [&] { save(*window(), QStringLiteral("marker_user_lists_new.png")); },
      [&] { choose(*window(), "1159", QStringLiteral("Gas")); },
      [&] { choose(*window(), "1205", QStringLiteral("Material")); },
      [&] { save(*window(), QStringLiteral("marker_user_lists_gas.png")); },
      [&] { window()->tabs()->setCurrentIndex(1); },
      [&] { save(*window(), QStringLiteral("marker_templates_start.png")); },
      [&] { window()->findChild<QRadioButton *>(QStringLiteral("1005"))->click(); },
      [&] { choose(*window(), "1188", QStringLiteral("GasValve.utl")); },
      [&] { save(*window(), QStringLiteral("marker_templates_gas_valve.png")); },
      [&] { window()->findChild<QRadioButton *>(QStringLiteral("1006"))->click(); },
      [&] { save(*window(), QStringLiteral("marker_templates_trace.png")); },
      [&] { choose(*window(), "glossaryLanguage", QStringLiteral("German")); },
      [&] { window()->findChild<QRadioButton *>(QStringLiteral("1005"))->click(); },
      [&] { choose(*window(), "1106", QString::fromUtf8("Gr\u00f6\u00dfe")); },
      [&] { choose(*window(), "1014", QStringLiteral("Datum M/D/Y")); },
      [&] { save(*window(), QStringLiteral("marker_templates_german.png")); },
      [&] {
        QLineEdit *label = window()->findChild<QComboBox *>(QStringLiteral("1015"))->lineEdit();
        label->setFocus();
        label->insert(QStringLiteral("Tief"));
      },
      [&] { save(*window(), QStringLiteral("marker_templates_typing.png")); },
      [&] { window()->tabs()->setCurrentIndex(2); },
      [&] { save(*window(), QStringLiteral("marker_help.png")); },
      [&] { window()->close(); }, // the edited template: the save question
      [&] {
        auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        save(*question, QStringLiteral("marker_save_question.png"));
        question->button(QMessageBox::No)->click();
      },
      [&] { qt.quit(); },
  }));
  QTimer::singleShot(30000, [&] {
    std::fprintf(stderr, "marker_utility_screenshots: timed out\n");
    qt.exit(1);
  });
  return QApplication::exec();
}
