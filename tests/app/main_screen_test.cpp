#include "main_screen.h"

#include "app_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::AppRig;

constexpr int kToolButtons[] = {MainScreen::kInitialConfiguration, MainScreen::kUpgradeSoftware,
                                MainScreen::kLanguageConfiguration, MainScreen::kConfigureReceiver,
                                MainScreen::kMarkerUtility};
constexpr int kAlwaysEnabled[] = {MainScreen::kExit, MainScreen::kReceiverVersion,
                                  MainScreen::kLanguageList, MainScreen::kCountryList};

std::string entry(const std::string &name, const std::string &image, const std::string &picture) {
  return "[COUNTRY]\n" + name + "\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n" + image + "\n" +
         picture + "\n";
}

struct ScreenRig : AppRig {
  ScreenRig() {
    folder.write("Cfg/CountryFreqMask.cfg",
                 "# countries\n" + entry("None", "none.bmp", "none_big.bmp") +
                     entry("United States of America", "us.bmp", "us_big.bmp") +
                     entry("Germany", "de.bmp", "de_big.bmp"));
  }
  MainScreen &opened() {
    app.start();
    screen.open();
    return screen;
  }
  std::vector<bool> toolStates() const {
    const auto snapshot = screen.snapshot();
    std::vector<bool> states;
    for (const int id : kToolButtons) {
      states.push_back(snapshot.enabled(id));
    }
    return states;
  }
  MainScreen screen{app.context(), app.tree(), app.country()};
};

void expectFixedControls(const MainScreen::Snapshot &snapshot) {
  for (const int id : kAlwaysEnabled) {
    EXPECT_TRUE(snapshot.enabled(id)) << id;
    EXPECT_TRUE(snapshot.visible(id)) << id;
  }
  EXPECT_FALSE(snapshot.visible(MainScreen::kFactoryEepromDownload));
}

TEST(MainScreen, controlsCarryTheirIdsAndTexts) {
  ScreenRig rig;
  const auto snapshot = rig.screen.snapshot();
  ASSERT_EQ(snapshot.controls.size(), 10u);
  EXPECT_EQ(snapshot.control(1213)->text, "&Initial Configuration");
  EXPECT_EQ(snapshot.control(1080)->text, "&Upgrade Software");
  EXPECT_EQ(snapshot.control(1226)->text, "&Language Configuration");
  EXPECT_EQ(snapshot.control(1109)->text, "&Configure Receiver");
  EXPECT_EQ(snapshot.control(1136)->text, "GPS/Tq &Marker Utility");
  EXPECT_EQ(snapshot.control(1232)->text, "&Factory Eeprom Download");
  EXPECT_EQ(snapshot.control(1253)->text, "&Receiver Version");
  EXPECT_EQ(snapshot.control(1)->text, "E&xit");
  EXPECT_NE(snapshot.control(1221), nullptr);
  EXPECT_NE(snapshot.control(1236), nullptr);
  EXPECT_EQ(MainScreen::kCaption, "Vandrel Brimstel  [ Date : Oct 20,  2017 ] ");
}

TEST(MainScreen, opensOnTheSavedCountry) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", std::string("\x02\0\0\0", 4));
  rig.opened();
  const auto snapshot = rig.screen.snapshot();
  ASSERT_EQ(snapshot.countries.size(), 3u);
  EXPECT_EQ(snapshot.countries[1].name, "United States of America");
  EXPECT_EQ(snapshot.countryIndex, 2);
  EXPECT_EQ(rig.app.country().name, "Germany");
  EXPECT_EQ(rig.app.country().index, 2);
  EXPECT_FALSE(rig.app.country().changedByUser);
  EXPECT_EQ(rig.toolStates(), std::vector<bool>(5, true));
  expectFixedControls(snapshot);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(MainScreen, unitedStatesDisablesOnlyInitialConfiguration) {
  ScreenRig rig;
  rig.opened();
  rig.screen.selectCountry(1);
  EXPECT_EQ(rig.toolStates(), (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(rig.app.country().name, "United States of America");
  EXPECT_EQ(rig.app.country().index, 1);
  EXPECT_TRUE(rig.app.country().changedByUser);
  expectFixedControls(rig.screen.snapshot());
}

TEST(MainScreen, noneDisablesAllFiveTools) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", std::string("\x02\0\0\0", 4));
  rig.opened();
  rig.screen.selectCountry(0);
  EXPECT_EQ(rig.toolStates(), std::vector<bool>(5, false));
  expectFixedControls(rig.screen.snapshot());
  rig.screen.selectCountry(2);
  EXPECT_EQ(rig.toolStates(), std::vector<bool>(5, true));
}

TEST(MainScreen, aFreshFolderStartsOnTheFirstEntry) {
  ScreenRig rig;
  rig.opened();
  EXPECT_EQ(rig.file("Cfg/configSave.cfg"), std::string(4, '\0'));
  EXPECT_EQ(rig.screen.snapshot().countryIndex, 0);
  EXPECT_EQ(rig.app.country().name, "None");
  EXPECT_EQ(rig.toolStates(), std::vector<bool>(5, false));
}

TEST(MainScreen, anIndexBeyondTheListSelectsTheFirstEntry) {
  ScreenRig rig;
  rig.folder.write("Cfg/CountryFreqMask.cfg",
                   entry("Germany", "de.bmp", "de.bmp") + entry("France", "fr.bmp", "fr.bmp"));
  rig.folder.write("Cfg/configSave.cfg", std::string("\x07\0\0\0", 4));
  rig.opened();
  EXPECT_EQ(rig.screen.snapshot().countryIndex, 0);
  EXPECT_EQ(rig.app.country().index, 0);
  EXPECT_EQ(rig.app.country().name, "Germany");
  EXPECT_EQ(rig.toolStates(), std::vector<bool>(5, true));
  rig.screen.exit();
  EXPECT_EQ(rig.file("Cfg/configSave.cfg"), std::string(4, '\0'));
}

TEST(MainScreen, aNegativeIndexSelectsTheFirstEntry) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", std::string("\xFF\xFF\xFF\xFF", 4));
  rig.opened();
  EXPECT_EQ(rig.screen.snapshot().countryIndex, 0);
  EXPECT_EQ(rig.app.country().name, "None");
}

TEST(MainScreen, selectingOutsideTheListChangesNothing) {
  ScreenRig rig;
  rig.opened();
  rig.screen.selectCountry(2);
  rig.screen.selectCountry(3);
  rig.screen.selectCountry(-1);
  EXPECT_EQ(rig.app.country().index, 2);
  EXPECT_EQ(rig.screen.snapshot().countryIndex, 2);
}

TEST(MainScreen, aMissingCountryFileDisablesInitialConfigurationOnly) {
  ScreenRig rig;
  fs::remove(rig.work() / "Cfg" / "CountryFreqMask.cfg");
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German");
  rig.folder.write("Cfg/configSave.cfg", std::string("\x02\0\0\0", 4));
  rig.folder.write("Software/Resources/German Language.strings", "194\tx\n");
  rig.opened();
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Some configuration files are missing..\nInitial "
                                     "Configuration can not be performed.."});
  EXPECT_EQ(rig.toolStates(), (std::vector<bool>{false, true, true, true, true}));
  const auto snapshot = rig.screen.snapshot();
  EXPECT_TRUE(snapshot.countries.empty());
  EXPECT_TRUE(snapshot.languages.empty());
  expectFixedControls(snapshot);
  // Exit keeps the settings the screen never loaded.
  EXPECT_TRUE(rig.screen.exit());
  EXPECT_TRUE(snapshot.countries.empty());
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "German");
  EXPECT_EQ(rig.file("Cfg/configSave.cfg"), std::string("\x02\0\0\0", 4));
  EXPECT_TRUE(rig.screen.snapshot().quit);
}

TEST(MainScreen, withoutCfgTheListCannotBeLoaded) {
  AppRig rig;
  MainScreen screen(rig.app.context(), rig.app.tree(), rig.app.country());
  screen.open();
  EXPECT_EQ(rig.user.messages().size(), 1u);
  EXPECT_FALSE(screen.snapshot().enabled(MainScreen::kInitialConfiguration));
  EXPECT_FALSE(screen.snapshot().paintPictures);
  EXPECT_FALSE(fs::exists(rig.work() / "Cfg"));
}

TEST(MainScreen, languagesAreEnglishThenTheInstalledPacks) {
  ScreenRig rig;
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.folder.write("Software/Resources/SpanishLanguage.strings", "");
  rig.folder.write("Software/Resources/Dutch.strings", "");
  rig.folder.write("Software/Resources/French Language.STRINGS", "");
  rig.folder.write("Software/Resources/Italian Language.txt", "");
  fs::create_directories(rig.work() / "Software" / "Resources" / "Folder Language.strings");
  rig.opened();
  const auto snapshot = rig.screen.snapshot();
  EXPECT_EQ(snapshot.languages,
            (std::vector<std::string>{"English", "Dutch", "French", "German", "Spanish"}));
  EXPECT_EQ(snapshot.languageIndex, 0);
}

TEST(MainScreen, theSavedLanguageIsSelected) {
  ScreenRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German");
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.opened();
  EXPECT_EQ(rig.screen.snapshot().languageIndex, 1);
}

TEST(MainScreen, aSavedLanguageWithoutPackSelectsEnglish) {
  ScreenRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "Klingon");
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.opened();
  rig.user.clear();
  EXPECT_EQ(rig.screen.snapshot().languageIndex, 0);
  rig.screen.selectLanguage(0);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(MainScreen, theRestartMessageComesOncePerChange) {
  ScreenRig rig;
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.folder.write("Software/Resources/French Language.strings", "");
  rig.opened();
  const std::string restart =
      "Please Exit and start Brimstel again to see the new Language changes !!!";
  rig.screen.selectLanguage(2); // German
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{restart});
  rig.screen.selectLanguage(2); // no change
  EXPECT_EQ(rig.user.messages().size(), 1u);
  rig.screen.selectLanguage(1); // French
  EXPECT_EQ(rig.user.messages().size(), 2u);
  rig.screen.selectLanguage(0); // back to the start language
  EXPECT_EQ(rig.user.messages().size(), 2u);
  rig.screen.selectLanguage(7);
  EXPECT_EQ(rig.user.messages().size(), 2u);
  EXPECT_EQ(rig.screen.snapshot().languageIndex, 0);
}

TEST(MainScreen, exitSavesTheCountryAndTheLanguage) {
  ScreenRig rig;
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.opened();
  rig.screen.selectCountry(2);
  rig.screen.selectLanguage(1);
  EXPECT_TRUE(rig.screen.exit());
  EXPECT_EQ(rig.file("Cfg/configSave.cfg"), std::string("\x02\0\0\0", 4));
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "German");
  EXPECT_TRUE(rig.screen.snapshot().quit);
}

TEST(MainScreen, theCloseBoxSavesNeither) {
  ScreenRig rig;
  rig.folder.write("Cfg/configSave.cfg", std::string("\x01\0\0\0", 4));
  rig.folder.write("Software/Resources/German Language.strings", "");
  rig.opened();
  rig.screen.selectCountry(2);
  rig.screen.selectLanguage(1);
  rig.screen.close();
  EXPECT_TRUE(rig.screen.snapshot().quit);
  EXPECT_EQ(rig.file("Cfg/configSave.cfg"), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "English");
}

TEST(MainScreen, exitWithEnglishOnlySavesEnglish) {
  ScreenRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German\nrest");
  rig.opened();
  rig.user.clear();
  rig.screen.exit();
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "English");
}

TEST(MainScreen, aFailedSaveIsReported) {
  ScreenRig rig;
  rig.opened();
  fs::remove(rig.work() / "Cfg" / "configSave.cfg");
  fs::create_directories(rig.work() / "Cfg" / "configSave.cfg" / "x");
  EXPECT_FALSE(rig.screen.exit());
  ASSERT_EQ(rig.user.messages().size(), 1u);
  EXPECT_EQ(rig.user.messages()[0].rfind("The file could not be saved: ", 0), 0u);
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "English");
}

TEST(MainScreen, theFactoryButtonIsNeverVisible) {
  ScreenRig rig;
  EXPECT_FALSE(rig.screen.snapshot().visible(MainScreen::kFactoryEepromDownload));
  rig.opened();
  for (int index = 0; index < 3; ++index) {
    rig.screen.selectCountry(index);
    EXPECT_FALSE(rig.screen.snapshot().visible(MainScreen::kFactoryEepromDownload));
  }
}

TEST(MainScreen, picturesComeFromCfg) {
  ScreenRig rig;
  rig.folder.write("Cfg/us.bmp", "BM");
  rig.folder.write("Cfg/DE_BIG.BMP", "BM");
  rig.opened();
  auto snapshot = rig.screen.snapshot();
  EXPECT_TRUE(snapshot.paintPictures);
  EXPECT_EQ(snapshot.countries[1].listImage, rig.work() / "Cfg" / "us.bmp");
  EXPECT_EQ(snapshot.countries[2].listImage, fs::path()); // the built-in image
  EXPECT_EQ(snapshot.countryPicture, fs::path());         // "None": not drawn
  EXPECT_EQ(snapshot.receiverPicture, fs::path());        // the built-in picture
  rig.screen.selectCountry(2);
  rig.folder.write("Cfg/FenwoMan.bmp", "BM");
  snapshot = rig.screen.snapshot();
  EXPECT_EQ(snapshot.countryPicture, rig.work() / "Cfg" / "DE_BIG.BMP");
  EXPECT_EQ(snapshot.receiverPicture, rig.work() / "Cfg" / "FenwoMan.bmp");
}

TEST(MainScreen, pictureNamesDoNotLeaveCfg) {
  ScreenRig rig;
  rig.folder.write("Cfg/CountryFreqMask.cfg", entry("Germany", "../secret.bmp", "/etc/passwd"));
  rig.folder.write("secret.bmp", "BM");
  rig.opened();
  const auto snapshot = rig.screen.snapshot();
  EXPECT_EQ(snapshot.countries[0].listImage, fs::path());
  EXPECT_EQ(snapshot.countryPicture, fs::path());
}

TEST(MainScreen, picturePlacement) {
  const auto country = MainScreen::countryPicturePlacement(700, 560);
  EXPECT_EQ(country.x, 490);
  EXPECT_EQ(country.y, 80);
  EXPECT_EQ(country.width, 128);
  EXPECT_EQ(country.height, 100);
  const auto receiver = MainScreen::receiverPicturePlacement(700, 560);
  EXPECT_EQ(receiver.x, 254);
  EXPECT_EQ(receiver.y, 22);
  EXPECT_EQ(receiver.width, 198);
  EXPECT_EQ(receiver.height, 198);
}

TEST(MainScreen, openingReadsTheShippedVersions) {
  ScreenRig rig;
  rig.folder.write("Cfg/BrimstelLocatorVersion.cfg", "A=42.0\nB=7.1\n");
  rig.opened();
  EXPECT_EQ(rig.app.context().shippedVersions.version(VersionSlot::A), 42);
}

TEST(MainScreen, toolsWithoutThePortOpenAtOnce) {
  ScreenRig rig;
  rig.opened();
  rig.screen.selectCountry(2);
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::InitialConfiguration));
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::ConfigureReceiver));
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::ReceiverVersion));
  EXPECT_TRUE(rig.user.events().empty());
  rig.screen.selectCountry(0);
  EXPECT_FALSE(rig.screen.mayOpen(MainScreen::Tool::MarkerUtility));
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::ReceiverVersion));
}

TEST(MainScreen, upgradeOpensThePortFirst) {
  ScreenRig rig;
  rig.sim.addReceiver("/dev/simA");
  rig.opened();
  rig.screen.selectCountry(2);
  rig.user.queuePortChoice(PortChoice{"/dev/simA", "38400"});
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::UpgradeSoftware));
  EXPECT_TRUE(rig.app.context().portState.isOpen());
  // Open now: no dialog the second time.
  rig.user.clear();
  EXPECT_TRUE(rig.screen.mayOpen(MainScreen::Tool::UpgradeSoftware));
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(MainScreen, upgradeCancelledEndsSilently) {
  ScreenRig rig;
  rig.sim.addReceiver("/dev/simA");
  rig.opened();
  rig.screen.selectCountry(2);
  rig.user.queuePortChoice(std::nullopt);
  EXPECT_FALSE(rig.screen.mayOpen(MainScreen::Tool::UpgradeSoftware));
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(MainScreen, factoryDownloadWithAPortThatWillNotOpen) {
  ScreenRig rig;
  rig.devices = {"/dev/simA", "/dev/bad"};
  rig.app.context().portDiscovery = std::make_unique<FixedPortDiscovery>(rig.devices);
  rig.sim.addReceiver("/dev/simA");
  rig.sim.addFailingDevice("/dev/bad", 16);
  rig.opened();
  rig.user.queuePortChoice(PortChoice{"/dev/bad", "38400"});
  EXPECT_FALSE(rig.screen.mayOpen(MainScreen::Tool::FactoryEepromDownload));
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{
                "Failed to open port! Please connect and try again\n"
                "The port /dev/bad could not be opened: busy — in use by another program."});
}

} // namespace
} // namespace tarnwick
