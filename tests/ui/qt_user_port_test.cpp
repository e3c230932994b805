#include "ask_everything.h"
#include "gui_helpers.h"
#include "qt_user_port.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace tarnwick::ui {
namespace {

using testing::askEverything;
using testing::control;
using testing::kSafeAnswers;
using testing::ModalResponder;
using testing::waitFor;

void press(QMessageBox &box, QMessageBox::StandardButton which) {
  QAbstractButton *button = box.button(which);
  ASSERT_NE(button, nullptr);
  button->click();
}

TEST(QtUserPort, messageIsABoxWithOkOnlyAndNoIcon) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QString seenText;
  QString seenTitle;
  int buttonCount = -1;
  QMessageBox::Icon icon = QMessageBox::Critical;
  ModalResponder responder([&](QWidget &modal) {
    auto &box = dynamic_cast<QMessageBox &>(modal);
    seenText = box.text();
    seenTitle = box.windowTitle();
    buttonCount = static_cast<int>(box.buttons().size());
    icon = box.icon();
    press(box, QMessageBox::Ok);
  });
  user.message("Port could not be open. Please try again !");
  EXPECT_TRUE(responder.handled());
  EXPECT_EQ(seenText, QStringLiteral("Port could not be open. Please try again !"));
  EXPECT_EQ(seenTitle, QStringLiteral("Tarnwick"));
  EXPECT_EQ(buttonCount, 1);
  EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST(QtUserPort, askReturnsTheButtonPressed) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ModalResponder no(
      [](QWidget &modal) { press(dynamic_cast<QMessageBox &>(modal), QMessageBox::No); });
  EXPECT_EQ(user.ask("Overwrite?", Buttons::YesNo), Answer::No);
  ModalResponder yes(
      [](QWidget &modal) { press(dynamic_cast<QMessageBox &>(modal), QMessageBox::Yes); });
  EXPECT_EQ(user.ask("Overwrite?", Buttons::YesNoCancel), Answer::Yes);
}

TEST(QtUserPort, escapeGivesTheSafeAnswer) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  const auto escape = [](QWidget &modal) { QTest::keyClick(&modal, Qt::Key_Escape); };
  ModalResponder first(escape);
  EXPECT_EQ(user.ask("Continue?", Buttons::YesNo), Answer::No);
  ModalResponder second(escape);
  EXPECT_EQ(user.ask("Save changes?", Buttons::YesNoCancel), Answer::Cancel);
  ModalResponder third(escape);
  EXPECT_EQ(user.ask("Go on?", Buttons::OkCancel), Answer::Cancel);
}

// A worker's call is shown by the GUI thread while the worker waits for it.
TEST(QtUserPort, workerCallsAreShownOnTheGuiThread) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  std::atomic<bool> shownOnGuiThread{false};
  std::atomic<bool> workerDone{false};
  Answer answer = Answer::Ok;
  ModalResponder responder([&](QWidget &modal) {
    shownOnGuiThread = QThread::currentThread() == qApp->thread();
    press(dynamic_cast<QMessageBox &>(modal), QMessageBox::Yes);
  });
  std::thread worker([&] {
    answer = user.ask("Do you want to replace 169.8 kHz Power?", Buttons::YesNo);
    workerDone = true;
  });
  const bool finished = waitFor([&] { return workerDone.load(); });
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_TRUE(shownOnGuiThread);
  EXPECT_EQ(answer, Answer::Yes);
}

// Once nobody is left to answer, every call gives the safe answer at once,
// instead of showing a dialog or waiting for ever.
TEST(QtUserPort, nobodyLeftToAnswerGivesTheSafeAnswers) {
  {
    std::unique_ptr<QtUserPort> user;
    std::thread gui([&user] { user = std::make_unique<QtUserPort>(QStringLiteral("Tarnwick")); });
    gui.join();
    EXPECT_EQ(askEverything(*user), kSafeAnswers) << "the GUI thread has ended";
  }
  QProcess asker;
  asker.start(QStringLiteral(CLOSING_DOWN_ASKER), {});
  ASSERT_TRUE(asker.waitForFinished(30000));
  EXPECT_EQ(asker.exitCode(), 0) << asker.readAllStandardError().toStdString();
  EXPECT_EQ(asker.readAllStandardOutput().toStdString(), kSafeAnswers) << "Qt is closing down";
}

TEST(QtUserPort, choosePortShowsTheListsAndReturnsTheChoice) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QStringList ports;
  QString rateShown;
  QString caption;
  ModalResponder responder([&](QWidget &modal) {
    caption = modal.windowTitle();
    auto *portList = control<QComboBox>(modal, 1002);
    auto *rateList = control<QComboBox>(modal, 1094);
    ASSERT_NE(portList, nullptr);
    ASSERT_NE(rateList, nullptr);
    for (int i = 0; i < portList->count(); ++i) {
      ports << portList->itemText(i);
    }
    rateShown = rateList->currentText();
    portList->setCurrentIndex(1);
    rateList->setCurrentText(QStringLiteral("115200"));
    control<QPushButton>(modal, 1)->click();
  });
  const auto choice =
      user.choosePort({"/dev/ttyS0", "/dev/ttyUSB0"}, {"9600", "38400", "115200"}, "38400");
  EXPECT_EQ(caption, QStringLiteral("Communication Options"));
  EXPECT_EQ(ports, QStringList({"/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(rateShown, QStringLiteral("38400"));
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->port, "/dev/ttyUSB0");
  EXPECT_EQ(choice->rate, "115200");
}

TEST(QtUserPort, choosePortCancelledGivesNothing) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ModalResponder responder([](QWidget &modal) { control<QPushButton>(modal, 2)->click(); });
  EXPECT_FALSE(user.choosePort({"/dev/ttyS0"}, {"38400"}, "38400").has_value());
}

TEST(QtUserPort, promptRefusesTextBeyondTheMaximum) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ModalResponder responder([](QWidget &modal) {
    EXPECT_EQ(modal.objectName(), QStringLiteral("235"));
    auto *edit = modal.findChild<QLineEdit *>(QStringLiteral("edit"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("123456"));
    control<QPushButton>(modal, 1)->click();
  });
  PromptSpec spec;
  spec.label = "Enter the frequency in the range 50 - 999";
  spec.maxLength = 3;
  spec.initial = "77";
  EXPECT_EQ(user.prompt(spec), std::optional<std::string>("123"));
}

TEST(QtUserPort, secretPromptHidesAndCapitalises) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QLineEdit::EchoMode echo = QLineEdit::Normal;
  QString caption;
  ModalResponder responder([&](QWidget &modal) {
    caption = modal.windowTitle();
    auto *edit = modal.findChild<QLineEdit *>(QStringLiteral("edit"));
    echo = edit->echoMode();
    QTest::keyClicks(edit, QStringLiteral("abc1"));
    control<QPushButton>(modal, 1)->click();
  });
  PromptSpec spec;
  spec.label = "Please Enter Supervisor Password...";
  spec.secret = true;
  EXPECT_EQ(user.prompt(spec), std::optional<std::string>("ABC1"));
  EXPECT_EQ(caption, QStringLiteral("Password..."));
  EXPECT_EQ(echo, QLineEdit::Password);
}

TEST(QtUserPort, promptCancelledGivesNothing) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ModalResponder responder([](QWidget &modal) { control<QPushButton>(modal, 2)->click(); });
  EXPECT_FALSE(user.prompt(PromptSpec{}).has_value());
}

TEST(QtUserPort, openFileReturnsTheChosenPath) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QTemporaryDir scratch;
  const QString folder = scratch.path();
  QFile(folder + QStringLiteral("/Site.utl")).open(QIODevice::WriteOnly);
  QString title;
  ModalResponder responder([&](QWidget &modal) {
    auto &dialog = dynamic_cast<QFileDialog &>(modal);
    title = dialog.windowTitle();
    dialog.selectFile(folder + QStringLiteral("/Site.utl"));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  FileSpec spec{"Open Template", "Template Files (*.utl)|*.utl|", folder.toStdString(), ""};
  const auto chosen = user.openFile(spec);
  EXPECT_EQ(title, QStringLiteral("Open Template"));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, (folder + QStringLiteral("/Site.utl")).toStdString());
}

TEST(QtFileFilter, convertsBarSeparatedFilters) {
  EXPECT_EQ(qtFileFilter("Binary Files (*rpk.bin)|*rpk.bin|"),
            QStringLiteral("Binary Files (*rpk.bin)"));
  EXPECT_EQ(qtFileFilter("Records|*.rmrx;*.pgrx|All Files (*.*)|*.*|"),
            QStringLiteral("Records (*.rmrx *.pgrx);;All Files (*.*)"));
  EXPECT_EQ(qtFileFilter("Configuration files (*.cfg)"),
            QStringLiteral("Configuration files (*.cfg)"));
}

} // namespace
} // namespace tarnwick::ui
