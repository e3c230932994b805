#include "builtin_images.h"
#include "demo_bitmap.h"
#include "gui_helpers.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "receiver_version_dialog.h"
#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace tarnwick::ui {
namespace {

namespace fs = std::filesystem;
using Tool = MainScreen::Tool;
using testing::control;
using testing::ModalResponder;
using testing::TempDir;

constexpr int kToolButtons[] = {1213, 1080, 1226, 1109, 1136};
constexpr Tool kTools[] = {Tool::InitialConfiguration,  Tool::UpgradeSoftware,
                           Tool::LanguageConfiguration, Tool::ConfigureReceiver,
                           Tool::MarkerUtility,         Tool::FactoryEepromDownload,
                           Tool::ReceiverVersion};
const std::string kRestartMessage =
    "Please Exit and start Brimstel again to see the new Language changes !!!";

std::string entry(const std::string &name, const std::string &image, const std::string &picture) {
  return "[COUNTRY]\n" + name + "\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n" + image + "\n" +
         picture + "\n";
}

std::string fileBytes(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string indexBytes(std::uint32_t index) {
  return {static_cast<char>(index & 0xFF), static_cast<char>(index >> 8 & 0xFF),
          static_cast<char>(index >> 16 & 0xFF), static_cast<char>(index >> 24 & 0xFF)};
}

demo::Bitmap solid(int width, int height, demo::Rgb colour) {
  return demo::Bitmap(width, height, colour);
}

// A working folder with three countries: Germany (with pictures), the United
// States (with a list image that is no picture) and "None" (no files).
struct ScreenRig {
  ScreenRig() {
    folder.write("Cfg/CountryFreqMask.cfg",
                 "# countries\n" + entry("Germany", "de.bmp", "de_big.bmp") +
                     entry("United States of America", "us.bmp", "us_big.bmp") +
                     entry("None", "none.bmp", "none_big.bmp"));
    folder.write("Cfg/de.bmp", solid(16, 18, {0, 0, 255}).bmpBytes());
    folder.write("Cfg/de_big.bmp", solid(128, 100, {255, 0, 0}).bmpBytes());
    folder.write("Cfg/us.bmp", std::string("not a bitmap"));
  }

  // The window with every tool given an opener that records its use.
  std::unique_ptr<MainScreenWindow> open() {
    app.start();
    auto window = std::make_unique<MainScreenWindow>(app);
    for (const Tool tool : kTools) {
      window->setToolOpener(tool, [this, tool](QWidget &) { ++opened[tool]; });
    }
    return window;
  }

  fs::path cfg(const std::string &name) const { return folder.path() / "Cfg" / name; }

  TempDir folder;
  VirtualClock clock{0};
  sim::SimPort port{clock};
  ScriptedUser user;
  Session app{folder.path(), port, clock, user};
  std::map<Tool, int> opened;
};

QComboBox &countries(const QWidget &window) {
  return *control<QComboBox>(window, 1221);
}

QComboBox &languages(const QWidget &window) {
  return *control<QComboBox>(window, 1236);
}

std::vector<bool> toolStates(const QWidget &window) {
  std::vector<bool> states;
  for (const int id : kToolButtons) {
    states.push_back(control<QPushButton>(window, id)->isEnabled());
  }
  return states;
}

void expectAlwaysUsable(const QWidget &window) {
  EXPECT_TRUE(control<QPushButton>(window, 1)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(window, 1253)->isEnabled());
  EXPECT_TRUE(languages(window).isEnabled());
}

TEST(MainScreenWindow, showsTheCaptionControlsAndTexts) {
  ScreenRig rig;
  auto window = rig.open();
  EXPECT_EQ(window->objectName(), QStringLiteral("240"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vandrel Brimstel  [ Date : Oct 20,  2017 ] "));
  const std::map<int, QString> buttons = {
      {1213, "&Initial Configuration"},  {1080, "&Upgrade Software"},
      {1226, "&Language Configuration"}, {1109, "&Configure Receiver"},
      {1136, "GPS/Tq &Marker Utility"},  {1232, "&Factory Eeprom Download"},
      {1253, "&Receiver Version"},       {1, "E&xit"}};
  for (const auto &[id, text] : buttons) {
    auto *button = control<QPushButton>(*window, id);
    ASSERT_NE(button, nullptr) << id;
    EXPECT_EQ(button->text(), text);
    EXPECT_TRUE(button->font().bold()) << id;
    EXPECT_EQ(button->font().pixelSize(), 14) << id;
  }
  EXPECT_TRUE(control<QPushButton>(*window, 1109)->isDefault());
  EXPECT_TRUE(countries(*window).font().bold());
  EXPECT_TRUE(languages(*window).font().bold());
  QStringList texts;
  for (const auto *label : window->findChildren<QLabel *>()) {
    texts << label->text();
  }
  for (const char *text :
       {"Select the Country / Configuration.",
        "CE Model Locators must run Intial Configuration Configured to activate Marker Locate "
        "functions. It is unlawful to operate the Unit with the frequencies that are not allowed "
        "in your country.",
        "Set the units of measure, date format, marker utilities, locate frequencies, tone "
        "frequencies, and language of unit",
        "Create and edit templates for programming Tq markers.  Create User Lists to gain quick "
        "access to frequently used applications.  Transfer Read/Write marker data from the "
        "receiver",
        "Program alternate language to the Receiver. English Language is downloaded "
        "automatically."}) {
    EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
  }
}

TEST(MainScreenWindow, countryListShowsNamesAndImagesWithTheBuiltInFallback) {
  ScreenRig rig;
  auto window = rig.open();
  QComboBox &list = countries(*window);
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.itemText(0), QStringLiteral("Germany"));
  EXPECT_EQ(list.itemText(1), QStringLiteral("United States of America"));
  EXPECT_EQ(list.itemText(2), QStringLiteral("None"));
  EXPECT_EQ(list.iconSize(), QSize(16, 18));
  EXPECT_EQ(countryListImage(rig.cfg("de.bmp")).pixelColor(8, 9), QColor(0, 0, 255));
  // "us.bmp" is no picture and "none.bmp" is missing: both get bitmap 301.
  EXPECT_EQ(countryListImage(rig.cfg("us.bmp")), builtInListImage());
  EXPECT_EQ(countryListImage(rig.cfg("none.bmp")), builtInListImage());
  EXPECT_EQ(builtInListImage().size(), QSize(16, 18));
  EXPECT_FALSE(list.itemIcon(1).isNull());
}

TEST(MainScreenWindow, unitedStatesDisablesOnlyInitialConfiguration) {
  ScreenRig rig;
  auto window = rig.open();
  EXPECT_EQ(toolStates(*window), std::vector<bool>({true, true, true, true, true}));
  countries(*window).setCurrentIndex(1);
  EXPECT_EQ(toolStates(*window), std::vector<bool>({false, true, true, true, true}));
  expectAlwaysUsable(*window);
  EXPECT_EQ(rig.app.country().name, "United States of America");
  EXPECT_TRUE(rig.app.country().changedByUser);
}

TEST(MainScreenWindow, noneDisablesAllFiveToolButtons) {
  ScreenRig rig;
  auto window = rig.open();
  countries(*window).setCurrentIndex(2);
  EXPECT_EQ(toolStates(*window), std::vector<bool>({false, false, false, false, false}));
  expectAlwaysUsable(*window);
  countries(*window).setCurrentIndex(0);
  EXPECT_EQ(toolStates(*window), std::vector<bool>({true, true, true, true, true}));
}

TEST(MainScreenWindow, savedIndexBeyondTheListSelectsTheFirstEntry) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", indexBytes(7));
  auto window = rig.open();
  EXPECT_EQ(countries(*window).currentIndex(), 0);
  EXPECT_EQ(countries(*window).currentText(), QStringLiteral("Germany"));
  EXPECT_EQ(rig.app.country().name, "Germany");
}

TEST(MainScreenWindow, savedIndexIsRestored) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", indexBytes(2));
  auto window = rig.open();
  EXPECT_EQ(countries(*window).currentText(), QStringLiteral("None"));
  EXPECT_EQ(toolStates(*window), std::vector<bool>({false, false, false, false, false}));
}

TEST(MainScreenWindow, languageChangeShowsTheRestartMessageOncePerChange) {
  ScreenRig rig;
  rig.folder.write("Software/Resources/German Language.strings",
                   std::string("61309\tKompatibel\n"));
  auto window = rig.open();
  QComboBox &list = languages(*window);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.itemText(0), QStringLiteral("English"));
  EXPECT_EQ(list.itemText(1), QStringLiteral("German"));
  EXPECT_EQ(list.currentIndex(), 0);
  rig.user.clear();
  list.setCurrentIndex(1);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kRestartMessage});
  list.setCurrentIndex(0); // back to the language at start: nothing
  EXPECT_EQ(rig.user.messages().size(), 1u);
  list.setCurrentIndex(1);
  EXPECT_EQ(rig.user.messages().size(), 2u);
}

// The message reaches the user as a real message box over the main screen.
TEST(MainScreenWindow, restartMessageIsAMessageBox) {
  TempDir folder;
  folder.write("Cfg/CountryFreqMask.cfg", entry("Germany", "de.bmp", "de_big.bmp"));
  folder.write("Software/Resources/German Language.strings", std::string("61309\tKompatibel\n"));
  QtUserPort user(QStringLiteral("Tarnwick"));
  VirtualClock clock;
  sim::SimPort port(clock);
  Session app(folder.path(), port, clock, user);
  app.start();
  MainScreenWindow window(app);
  user.setMainWindow(&window);
  window.show();
  QString shown;
  ModalResponder responder([&](QWidget &modal) {
    if (auto *label = modal.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
      shown = label->text();
    }
    QTest::keyClick(&modal, Qt::Key_Return);
  });
  languages(window).setCurrentIndex(1);
  EXPECT_TRUE(responder.handled());
  EXPECT_EQ(shown, QString::fromStdString(kRestartMessage));
}

TEST(MainScreenWindow, closeBoxKeepsTheSavedSettings) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", indexBytes(1));
  rig.folder.write("Software/Resources/German Language.strings", std::string("61309\tx\n"));
  auto window = rig.open();
  QSignalSpy quit(window.get(), &MainScreenWindow::quitRequested);
  window->show();
  countries(*window).setCurrentIndex(0);
  languages(*window).setCurrentIndex(1);
  window->close();
  EXPECT_EQ(quit.count(), 1);
  EXPECT_EQ(fileBytes(rig.cfg("configSave.cfg")), indexBytes(1));
  EXPECT_EQ(fileBytes(rig.cfg("UI_LangConfigSave.cfg")).substr(0, 7), "English");
}

TEST(MainScreenWindow, exitSavesCountryAndLanguage) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", indexBytes(1));
  rig.folder.write("Software/Resources/German Language.strings", std::string("61309\tx\n"));
  auto window = rig.open();
  QSignalSpy quit(window.get(), &MainScreenWindow::quitRequested);
  window->show();
  countries(*window).setCurrentIndex(2);
  languages(*window).setCurrentIndex(1);
  QTest::mouseClick(control<QPushButton>(*window, 1), Qt::LeftButton);
  EXPECT_EQ(quit.count(), 1);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(fileBytes(rig.cfg("configSave.cfg")), indexBytes(2));
  EXPECT_EQ(fileBytes(rig.cfg("UI_LangConfigSave.cfg")).substr(0, 6), "German");
}

TEST(MainScreenWindow, escapeDoesNotEndTheProgram) {
  ScreenRig rig;
  auto window = rig.open();
  QSignalSpy quit(window.get(), &MainScreenWindow::quitRequested);
  window->show();
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(quit.count(), 0);
  EXPECT_TRUE(window->isVisible());
}

TEST(MainScreenWindow, factoryEepromButtonIsNeverVisible) {
  ScreenRig rig;
  auto window = rig.open();
  window->show();
  auto *factory = control<QPushButton>(*window, 1232);
  ASSERT_NE(factory, nullptr);
  EXPECT_FALSE(factory->isVisible());
  for (int index : {1, 2, 0}) {
    countries(*window).setCurrentIndex(index);
    EXPECT_FALSE(factory->isVisible());
  }
  EXPECT_TRUE(control<QPushButton>(*window, 1)->isVisible());
}

TEST(MainScreenWindow, buttonsOpenTheirTools) {
  ScreenRig rig;
  auto window = rig.open();
  window->show();
  QTest::mouseClick(control<QPushButton>(*window, 1109), Qt::LeftButton);
  QTest::mouseClick(control<QPushButton>(*window, 1213), Qt::LeftButton);
  QTest::mouseClick(control<QPushButton>(*window, 1253), Qt::LeftButton);
  EXPECT_EQ(rig.opened[Tool::ConfigureReceiver], 1);
  EXPECT_EQ(rig.opened[Tool::InitialConfiguration], 1);
  EXPECT_EQ(rig.opened[Tool::ReceiverVersion], 1);
  countries(*window).setCurrentIndex(2); // "None": the tools are disabled
  QTest::mouseClick(control<QPushButton>(*window, 1109), Qt::LeftButton);
  EXPECT_EQ(rig.opened[Tool::ConfigureReceiver], 1);
}

// Upgrade Software first asks for the port; Cancel opens nothing and says nothing.
TEST(MainScreenWindow, upgradeWithoutAPortOpensNothing) {
  ScreenRig rig;
  auto window = rig.open();
  rig.app.context().serialLibrary.ready = true;
  rig.user.queuePortChoice(std::nullopt);
  rig.user.clear();
  QTest::mouseClick(control<QPushButton>(*window, 1080), Qt::LeftButton);
  EXPECT_EQ(rig.opened[Tool::UpgradeSoftware], 0);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(MainScreenWindow, toolsNotInTheProgramLeaveTheirButtonsDisabled) {
  ScreenRig rig;
  rig.app.start();
  MainScreenWindow window(rig.app);
  EXPECT_TRUE(window.hasTool(Tool::ReceiverVersion));
  EXPECT_TRUE(window.hasTool(Tool::ConfigureReceiver));
  EXPECT_FALSE(window.hasTool(Tool::InitialConfiguration));
  EXPECT_TRUE(control<QPushButton>(window, 1109)->isEnabled());
  EXPECT_FALSE(control<QPushButton>(window, 1213)->isEnabled());
  EXPECT_TRUE(control<QPushButton>(window, 1253)->isEnabled());
}

TEST(MainScreenWindow, receiverVersionOpensItsDialog) {
  ScreenRig rig;
  rig.app.start();
  rig.app.context().serialLibrary.ready = true;
  rig.user.queuePortChoice(std::nullopt); // the query ends silently
  MainScreenWindow window(rig.app);
  window.show();
  QString opened;
  ModalResponder responder(
      [&](QWidget &modal) {
        opened = modal.objectName();
        auto &dialog = dynamic_cast<ReceiverVersionDialog &>(modal);
        testing::waitFor([&] { return !dialog.queryRunning(); });
        control<QPushButton>(modal, 1)->click();
      },
      &window);
  QTest::mouseClick(control<QPushButton>(window, 1253), Qt::LeftButton);
  EXPECT_TRUE(responder.handled());
  EXPECT_EQ(opened, QStringLiteral("332"));
}

TEST(MainScreenWindow, missingCountryFileDisablesOnlyInitialConfiguration) {
  TempDir folder;
  VirtualClock clock;
  sim::SimPort port(clock);
  ScriptedUser user;
  Session app(folder.path(), port, clock, user);
  app.start();
  MainScreenWindow window(app);
  for (const Tool tool : kTools) {
    window.setToolOpener(tool, [](QWidget &) {});
  }
  EXPECT_EQ(user.messages(),
            std::vector<std::string>{
                "Some configuration files are missing..\nInitial Configuration can not be "
                "performed.."});
  EXPECT_EQ(toolStates(window), std::vector<bool>({false, true, true, true, true}));
  EXPECT_EQ(countries(window).count(), 0);
}

// The country picture is copied at 7/10 of the width and 1/7 of the height;
// the receiver picture is AND-ed with the background.
TEST(MainScreenWindow, paintsTheCountryPictureAndTheReceiverPicture) {
  ScreenRig rig;
  rig.folder.write("Cfg/FenwoMan.bmp", solid(20, 20, {0x0F, 0xF0, 0x3C}).bmpBytes());
  auto window = rig.open();
  window->show();
  const QImage shot = window->grab().toImage();
  const int w = window->width();
  const int h = window->height();
  const QColor country = shot.pixelColor(w * 7 / 10 + 64, h / 7 + 50);
  EXPECT_EQ(country, QColor(255, 0, 0));
  const QColor background = window->palette().color(QPalette::Window);
  const QColor expected(background.red() & 0x0F, background.green() & 0xF0,
                        background.blue() & 0x3C);
  EXPECT_EQ(shot.pixelColor(w * 4 / 11 + 99, h / 25 + 99), expected);
}

TEST(MainScreenWindow, missingPicturesUseTheBuiltInReceiverAndNoCountryPicture) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", indexBytes(2)); // "None": no picture
  auto window = rig.open();
  EXPECT_TRUE(window->countryPicture().isNull());
  EXPECT_EQ(window->receiverPicture(), builtInReceiverPicture());
  EXPECT_EQ(builtInReceiverPicture().size(), QSize(198, 198));
  countries(*window).setCurrentIndex(0);
  EXPECT_FALSE(window->countryPicture().isNull());
}

} // namespace
} // namespace tarnwick::ui
