// ui_screenshots: runs the demo under a display, identifies the simulated
// receiver through the real dialogs and saves pictures of the main screen,
// Communication Options and the Receiver Software Version dialog (also while
// it waits), then the main screen's status bar and its Port... button. The
// demo tree goes to OUTPUT_FOLDER/data; with a language (German) its pack is
// used.
//   xvfb-run -s "-screen 0 1280x900x24" ui_screenshots OUTPUT_FOLDER [LANGUAGE]
#include "demo_session.h"
#include "dynamic_library.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "receiver_version_dialog.h"
#include "session.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using namespace tarnwick;

QString outputFolder;

void save(QWidget &widget, const QString &name) {
  const QString path = outputFolder + QLatin1Char('/') + name;
  widget.grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

// The whole screen, every window on it.
void saveScreen(const QString &name) {
  const QString path = outputFolder + QLatin1Char('/') + name;
  QGuiApplication::primaryScreen()->grabWindow(0).save(path);
  std::printf("%s\n", qPrintable(path));
}

// Calls step once the predicate holds, checking every 50 ms.
void when(std::function<bool()> ready, std::function<void()> step) {
  auto *timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, ready, step] {
    if (ready()) {
      timer->stop();
      timer->deleteLater();
      step();
    }
  });
  timer->start(50);
}

// Set once "Port..." was pressed: Communication Options shows a second time.
bool portPressed = false;

QWidget *modalNamed(const char *name) {
  QWidget *modal = QApplication::activeModalWidget();
  return modal != nullptr && modal->objectName() == QLatin1String(name) && modal->isVisible()
             ? modal
             : nullptr;
}

} // namespace

int main(int argc, char **argv) {
  QApplication qt(argc, argv);
  outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(outputFolder);
  const std::filesystem::path data = std::filesystem::path(outputFolder.toStdString()) / "data";
  demo::DemoSession session =
      demo::startDemo(DynamicLibrary::executableFolder(), data / "tarnwick-demo");
  if (!session.treeReady || !session.simulator) {
    std::fprintf(stderr, "%s\n", session.problem.c_str());
    return 1;
  }
  if (argc > 2) {
    std::ofstream(session.folder / "Cfg" / "UI_LangConfigSave.cfg") << argv[2] << '\n';
  }
  ui::QtUserPort user(QStringLiteral("Tarnwick"));
  Session app(session.folder, user);
  user.setStrings(&app.context().strings);
  app.start();
  ui::MainScreenWindow window(app);
  user.setMainWindow(&window);
  window.show();

  QTimer::singleShot(800, [&] {
    save(window, QStringLiteral("main_screen.png"));
    window.findChild<QPushButton *>(QStringLiteral("1253"))->click(); // modal from here on
  });
  when([] { return modalNamed("143") != nullptr; },
       [] {
         QWidget *options = modalNamed("143");
         save(*options, QStringLiteral("communication_options.png"));
         options->findChild<QPushButton *>(QStringLiteral("1"))->click();
       });
  when(
      [] {
        auto *dialog = qobject_cast<ui::ReceiverVersionDialog *>(modalNamed("332"));
        return dialog != nullptr && dialog->queryRunning();
      },
      [] {
        QTimer::singleShot(280, [] {
          if (QWidget *dialog = modalNamed("332")) {
            save(*dialog, QStringLiteral("receiver_version_waiting.png"));
            saveScreen(QStringLiteral("screen_receiver_version_waiting.png"));
          }
        });
      });
  when(
      [] {
        auto *dialog = qobject_cast<ui::ReceiverVersionDialog *>(modalNamed("332"));
        return dialog != nullptr && !dialog->queryRunning() &&
               dialog->lastResult() != ReceiverVersionTool::QueryResult::Busy;
      },
      [&] {
        QTimer::singleShot(300, [&] {
          QWidget *dialog = modalNamed("332");
          save(*dialog, QStringLiteral("receiver_version.png"));
          saveScreen(QStringLiteral("screen_receiver_version.png"));
          dialog->findChild<QPushButton *>(QStringLiteral("1"))->click();
          QTimer::singleShot(300, [&] {
            save(window, QStringLiteral("main_screen_after.png"));
            // Port...: Communication Options while the port is open.
            portPressed = true;
            window.findChild<QPushButton *>(QStringLiteral("9010"))->click();
          });
        });
      });
  when([] { return portPressed && modalNamed("143") != nullptr; },
       [&] {
         QWidget *options = modalNamed("143");
         save(*options, QStringLiteral("communication_options_port_button.png"));
         options->findChild<QPushButton *>(QStringLiteral("2"))->click(); // Cancel keeps it
         QTimer::singleShot(300, [&] {
           save(window, QStringLiteral("main_screen_port_kept.png"));
           qt.quit();
         });
       });
  QTimer::singleShot(30000, [&] {
    std::fprintf(stderr, "ui_screenshots: timed out\n");
    qt.exit(1);
  });
  return QApplication::exec();
}
