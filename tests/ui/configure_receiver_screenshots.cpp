// configure_receiver_screenshots: opens Configure Receiver from the main
// screen on a fresh demo tree under a display, with a simulated receiver on
// the port, and saves a picture of each page as a technician uses them: the
// receiver's model checked, entries switched off and locked after a
// supervisor login, a user frequency entered, the configuration saved and
// sent; then a model for which the frequency pages do not apply.
// Exit then asks to save the changed model: the question is saved too. With
// a language (German) the demo's pack is used.
//   xvfb-run -s "-screen 0 1280x900x24" configure_receiver_screenshots OUTPUT_FOLDER [LANGUAGE]
#include "configure_receiver_dialog.h"
#include "demo_tree.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "session.h"
#include "setting_list_view.h"
#include "sim_port.h"
#include "supervisor_password.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace tarnwick;
using Editor = ConfigurationEditor;

QString outputFolder;

void save(QWidget &widget, const QString &name) {
  const QString path = outputFolder + QLatin1Char('/') + name;
  widget.grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

ui::ConfigureReceiverDialog *dialog() {
  for (QWidget *top : QApplication::topLevelWidgets()) {
    if (auto *found = qobject_cast<ui::ConfigureReceiverDialog *>(top);
        found != nullptr && found->isVisible()) {
      return found;
    }
  }
  return nullptr;
}

QWidget *modalNamed(const QString &name) {
  QWidget *modal = QApplication::activeModalWidget();
  return modal != nullptr && modal->objectName() == name && modal->isVisible() ? modal : nullptr;
}

void press(QWidget &parent, int id) {
  parent.findChild<QPushButton *>(QString::number(id))->click();
}

void clickEntry(ListId list, int row) {
  ui::SettingListView *view = dialog()->listView(list);
  const QPoint at = view->visualItemRect(view->topLevelItem(row)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

void showTab(int tab) {
  dialog()->tabs()->setCurrentIndex(tab);
}

// Each step runs once its condition holds and the window had time to paint.
// A step may open a modal window: the steps go on inside its event loop.
struct Step {
  std::function<bool()> ready;
  std::function<void()> action;
};

void runSteps(std::shared_ptr<std::vector<Step>> steps, QApplication &qt) {
  auto next = std::make_shared<std::size_t>(0);
  auto *timer = new QTimer(&qt);
  QObject::connect(timer, &QTimer::timeout, [steps, next, timer] {
    if (*next == steps->size()) {
      timer->stop();
      return;
    }
    Step &step = (*steps)[*next];
    if (step.ready && !step.ready()) {
      return;
    }
    ++*next;
    // Not from this timer: a timer does not fire again inside its own handler.
    QTimer::singleShot(0, step.action);
  });
  timer->start(400);
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
  const std::string device = "/dev/ttyUSB0";
  port.addReceiver(device); // the simulator's 8360M-Tq/U
  port.setBaudRate(38400);
  port.openPort(device);
  Session app(tree, port, clock, user);
  user.setStrings(&app.context().strings);
  app.start();
  app.context().portState.markOpen(device, 38400);
  ui::MainScreenWindow screen(app);
  user.setMainWindow(&screen);
  screen.show();

  const auto idle = [] { return dialog() != nullptr && !dialog()->workerRunning(); };
  auto steps = std::make_shared<std::vector<Step>>(std::vector<Step>{
      {nullptr, [&] { screen.findChild<QPushButton *>(QStringLiteral("1109"))->click(); }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_start.png")); }},
      {idle, [] { press(*dialog(), Editor::kCheckReceiverModelButton); }},
      {idle, [] { showTab(1); }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_markers.png")); }},
      {idle, [] { press(*dialog(), Editor::kSupervisorLoginButton); }},
      {[] { return modalNamed(QStringLiteral("268")) != nullptr; },
       [] {
         QWidget *password = modalNamed(QStringLiteral("268"));
         QTest::keyClicks(password->findChild<QLineEdit *>(QStringLiteral("edit")),
                          QString::fromLatin1(kDefaultSupervisorPassword.data(),
                                              kDefaultSupervisorPassword.size())
                              .toLower());
         save(*password, QStringLiteral("password_dialog.png"));
         press(*password, 1);
       }},
      {idle,
       [] {
         clickEntry(ListId::MarkerTypes, 3); // locked
         clickEntry(ListId::MarkerTypes, 6);
         clickEntry(ListId::MarkerTypes, 6); // locked, then off
         showTab(2);
       }},
      {idle,
       [] {
         clickEntry(ListId::LocatePower, 4);
         clickEntry(ListId::LocatePower, 4);
         clickEntry(ListId::LocatePower, 5);
         clickEntry(ListId::LocatePower, 5);
         clickEntry(ListId::LocateActive, 4);
         clickEntry(ListId::LocatePassive, 1);
         clickEntry(ListId::LocateUser, 1); // the Name dialog
       }},
      {[] { return modalNamed(QStringLiteral("235")) != nullptr; },
       [] {
         QWidget *name = modalNamed(QStringLiteral("235"));
         QTest::keyClicks(name->findChild<QLineEdit *>(QStringLiteral("edit")),
                          QStringLiteral("75"));
         save(*name, QStringLiteral("name_dialog.png"));
         press(*name, 1);
       }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_locate.png")); }},
      {idle, [] { showTab(3); }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_tone.png")); }},
      {idle, [] { press(*dialog(), Editor::kSaveAsButton); }},
      {[] { return modalNamed(QStringLiteral("saveFile")) != nullptr; },
       [] {
         auto *files = qobject_cast<QFileDialog *>(modalNamed(QStringLiteral("saveFile")));
         files->selectFile(QStringLiteral("site 12.cfg"));
         static_cast<QDialog *>(files)->accept(); // QFileDialog::accept, as OK does
       }},
      {idle, [] { press(*dialog(), Editor::kSendConfigButton); }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_sent.png")); }},
      {idle,
       [] {
         dialog()->findChild<QComboBox *>(QString::number(Editor::kModelBox))->setCurrentIndex(0);
         showTab(2);
       }},
      {idle, [] { save(*dialog(), QStringLiteral("configure_receiver_not_valid.png")); }},
      {idle, [] { press(*dialog(), Editor::kExitButton); }},
      {[] { return modalNamed(QStringLiteral("messageBox")) != nullptr; },
       [] {
         QWidget *question = modalNamed(QStringLiteral("messageBox"));
         save(*question, QStringLiteral("configure_receiver_save_question.png"));
         qobject_cast<QMessageBox *>(question)->button(QMessageBox::No)->click();
       }},
      {nullptr, [&] { qt.quit(); }},
  });
  runSteps(steps, qt);
  QTimer::singleShot(60000, [&] {
    std::fprintf(stderr, "configure_receiver_screenshots: timed out\n");
    qt.exit(1);
  });
  return QApplication::exec();
}
