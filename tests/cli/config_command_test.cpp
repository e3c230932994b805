#include "cli_rig.h"
#include "configuration_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

constexpr const char *kDevice = "/dev/ttyUSB0";
// Model 9 (8385M-Tq/U) answers to code 44, whose version is the fourth line.
constexpr std::uint8_t kModel9Code = 44;
const std::string kVersionFile = "A=23.0\r\nB=3.0\r\nC=31.0\r\nD=23.0\r\nE=51.0\r\nF=6.0\r\n";
const std::string kCountries = "[COUNTRY]\nGermany\nTEL 1 PWR 1 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n"
                               "de.bmp\nde_big.bmp\n"
                               "[COUNTRY]\nItaly\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 0 COM 1 GP 1\n"
                               "it.bmp\nit_big.bmp\n";
const std::string kCeCountries = "[COUNTRY]\nGermany\nTEL 0 PWR 1 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n"
                                 "de.bmp\nde_big.bmp\n"
                                 "[COUNTRY]\nItaly\nTEL 1 PWR 1 GAS 0 WAT 1 WAS 1 COM 1 GP 1\n"
                                 "it.bmp\nit_big.bmp\n";

std::string fileBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Italy selected on the main screen.
void writeCountries(CliRig &rig) {
  rig.work.write("Cfg/CountryFreqMask.cfg", kCountries);
  rig.work.write("Cfg/CountryFreqMask_CEPWR.cfg", kCeCountries);
  rig.work.write("Cfg/configSave.cfg", std::vector<std::uint8_t>{1, 0, 0, 0});
}

SettingLists withMarkers(ModelIndex model, std::initializer_list<SettingState> states) {
  SettingLists lists = defaultLists(model);
  int entry = 0;
  for (SettingState state : states) {
    listOf(lists, ListId::MarkerTypes).at(entry++).state = state;
  }
  return lists;
}

constexpr auto kOn = SettingState::Enabled;
constexpr auto kNone = SettingState::Unavailable;

sim::Receiver &addReceiver(CliRig &rig, std::uint8_t code, sim::Faults faults = {}) {
  sim::ReceiverSettings settings;
  settings.modelCode = code;
  return rig.serial.sim.addReceiver(kDevice, settings, std::move(faults));
}

TEST(ConfigCommand, newWritesTheModelsDefaultsWithTheSelectedCountrysMask) {
  CliRig rig;
  writeCountries(rig);
  const auto path = rig.work.path() / "italy.cfg";
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "9", "-o", path.string()}), 0);
  EXPECT_EQ(rig.out.str(), path.string() + "\n");
  EXPECT_EQ(rig.err.str(), "");
  EXPECT_EQ(fileBytes(path),
            formatConfiguration(9, withMarkers(9, {kOn, kNone, kOn, kOn, kNone, kOn, kOn})));
}

TEST(ConfigCommand, aCePowerModelTakesTheCeCountryFile) {
  CliRig rig;
  writeCountries(rig);
  const auto path = rig.work.path() / "ce.cfg";
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "13", "-o", path.string()}), 0);
  EXPECT_EQ(fileBytes(path),
            formatConfiguration(13, withMarkers(13, {kOn, kOn, kNone, kOn, kOn, kOn, kOn})));
}

TEST(ConfigCommand, newAddsCfgAndAsksBeforeOverwriting) {
  CliRig rig;
  const auto path = rig.work.path() / "site.cfg";
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "0", "-o", (rig.work.path() / "site").string()}),
            0);
  const std::string first = fileBytes(path);
  EXPECT_EQ(first, formatConfiguration(
                       0, withMarkers(0, {kNone, kNone, kNone, kNone, kNone, kNone, kNone})));
  EXPECT_EQ(rig.runIn({"--no", "config", "new", "--model", "9", "-o", path.string()}), 1);
  EXPECT_EQ(fileBytes(path), first);
  EXPECT_EQ(rig.runIn({"--yes", "config", "new", "--model", "9", "-o", path.string()}), 0);
  EXPECT_NE(fileBytes(path), first);
}

TEST(ConfigCommand, untitledIsNoName) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "9", "-o",
                       (rig.work.path() / "untitled.cfg").string()}),
            1);
  EXPECT_EQ(rig.err.str(), "Please enter a name to save this configuration data\n");
  EXPECT_FALSE(std::filesystem::exists(rig.work.path() / "untitled.cfg"));
}

TEST(ConfigCommand, newRefusesAModelTheBoxDoesNotList) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "35", "-o", "x.cfg"}), 2);
  EXPECT_EQ(rig.runIn({"config", "new", "--model", "8999X", "-o", "x.cfg"}), 2);
  EXPECT_FALSE(std::filesystem::exists(rig.work.path() / "x.cfg"));
}

// A model is named as the box lists it, whatever the case, or by position.
TEST(ConfigCommand, newTakesAModelByNameAndModelsListsThem) {
  CliRig rig;
  ASSERT_EQ(rig.runIn({"config", "models"}), 0);
  EXPECT_EQ(rig.out.str().substr(0, 10), "0\t6130-Tq\n");
  rig.out.str("");
  const std::string byName = (rig.work.path() / "byname.cfg").string();
  const std::string byIndex = (rig.work.path() / "byindex.cfg").string();
  ASSERT_EQ(rig.runIn({"config", "new", "--model", "6130-tq", "-o", byName}), 0);
  ASSERT_EQ(rig.runIn({"config", "new", "--model", "0", "-o", byIndex}), 0);
  EXPECT_EQ(rig.work.read("byname.cfg"), rig.work.read("byindex.cfg"));
}

// Shipped versions of 0 would pass every check: the folder is named instead.
TEST(ConfigCommand, aFolderThatIsNoInstallationIsNamedBeforeAnythingIsSent) {
  CliRig rig;
  std::filesystem::remove(rig.work.path() / "Cfg" / "BrimstelLocatorVersion.cfg");
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  rig.serial.sim.addReceiver(kDevice);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 2);
  EXPECT_EQ(rig.err.str(), rig.work.path().string() +
                               " is not an installation folder: it has no "
                               "Cfg/BrimstelLocatorVersion.cfg. Name the installation with "
                               "--workdir DIR.\n");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

TEST(ConfigCommand, showPrintsTheModelAndEveryEntry) {
  CliRig rig;
  SettingLists lists = defaultLists(0);
  listOf(lists, ListId::LocateUser).at(1).name = "75";
  listOf(lists, ListId::LocateUser).at(1).state = SettingState::Masked;
  const auto path = rig.work.write("zero.cfg", formatConfiguration(0, lists));
  EXPECT_EQ(rig.runIn({"config", "show", path.string()}), 0);
  EXPECT_EQ(
      rig.out.str(),
      "Model: 0 6130-Tq\n"
      "Units And Date: Units\n  cm: Disabled\n  in: Enabled\n  ft: Disabled\n"
      "Units And Date: Date Format\n  mm/dd/yy: Enabled\n  dd/mm/yy: Disabled\n"
      "Marker types\n  Telephone: Unavailable\n  Power: Unavailable\n"
      "  Gas: Unavailable\n  Water: Unavailable\n  Waster Water: Unavailable\n"
      "  Communication: Unavailable\n  General Purpose: Unavailable\n"
      "Locate frequencies: Active\n  577 Hz: Enabled\n  8 kHz: Enabled\n  33 kHz: Enabled\n"
      "  133 kHz: Enabled\n  200 kHz: Enabled\n"
      "Locate frequencies: Power\n  50: Enabled\n  60: Enabled\n  100: Enabled\n  120: Enabled\n"
      "  50L: Enabled\n  60L: Enabled\n  50H: Enabled\n  60H: Enabled\n"
      "Locate frequencies: Passive\n  CATV: Enabled\n  LF: Enabled\n"
      "Locate frequencies: Aux\n  512 Hz: Enabled\n  560 Hz: Enabled\n"
      "Locate frequencies: User frequency\n  U F1: Disabled\n  75: Masked\n  U F3: Disabled\n"
      "  U F4: Disabled\n"
      "Tone frequencies: Active\n  577 Hz: Enabled\n  8 kHz: Enabled\n  33 kHz: Enabled\n"
      "  133 kHz: Enabled\n  200 kHz: Enabled\n"
      "Tone frequencies: Power\n  50: Enabled\n  60: Enabled\n  100: Enabled\n  120: Enabled\n"
      "  50L: Enabled\n  60L: Enabled\n  50H: Enabled\n  60H: Enabled\n"
      "Tone frequencies: Passive\n  CATV: Enabled\n  LF: Enabled\n"
      "Tone frequencies: Aux\n  512 Hz: Enabled\n  560 Hz: Enabled\n"
      "Tone frequencies: User frequency\n  U F1: Disabled\n  U F2: Disabled\n  U F3: Disabled\n"
      "  U F4: Disabled\n"
      "Language\n  English: Enabled\n  Other: Disabled\n");
}

TEST(ConfigCommand, showLeavesAnOldLayoutFileAsItIs) {
  CliRig rig;
  writeCountries(rig);
  const std::string old = formatConfiguration(7, defaultLists(7)).substr(5);
  const auto path = rig.work.write("old.cfg", old);
  EXPECT_EQ(rig.runIn({"--json", "config", "show", path.string()}), 0);
  EXPECT_EQ(fileBytes(path), old);
  const std::string out = rig.out.str();
  EXPECT_EQ(out.rfind("{\"model\":7,\"modelName\":\"8385M-U\",\"lists\":{\"units\":[{\"name\":"
                      "\"cm\",\"state\":\"Disabled\"},",
                      0),
            0U);
  EXPECT_NE(out.find("\"mkr\":[{\"name\":\"Telephone\",\"state\":\"Enabled\"},{\"name\":\"Power\","
                     "\"state\":\"Unavailable\"}"),
            std::string::npos);
  EXPECT_TRUE(out.ends_with("\"lang\":[{\"name\":\"English\",\"state\":\"Enabled\"},{\"name\":"
                            "\"Other\",\"state\":\"Disabled\"}]}}\n"));
}

TEST(ConfigCommand, aFileThatCannotBeReadFails) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"config", "show", (rig.work.path() / "none.cfg").string()}), 1);
  EXPECT_EQ(rig.err.str(), "Unable to open the File. Please check the filename\n");
  EXPECT_EQ(rig.out.str(), "");
}

TEST(ConfigCommand, sendPrintsTheStatusTexts) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  sim::Receiver &receiver = addReceiver(rig, kModel9Code);
  SettingLists lists = defaultLists(9);
  listOf(lists, ListId::LocateActive).at(1).state = SettingState::Disabled;
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, lists));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 0);
  EXPECT_EQ(rig.out.str(), "Downloading. Please wait...\nDownload completed successfully!\n");
  EXPECT_EQ(rig.err.str(), "");
  EXPECT_EQ(receiver.lastArguments("lact"),
            (std::vector<std::string>{"1", "0", "1", "1", "1", "0", "0"}));
  EXPECT_TRUE(receiver.receivedText().starts_with("ruAlive\rlocsw\rkb 12\runits 0 1 0\r"));
  EXPECT_TRUE(receiver.receivedText().ends_with("swreset\r"));
}

TEST(ConfigCommand, sendConvertsAnOldLayoutFileAsOpenDoes) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  addReceiver(rig, kModel9Code);
  const std::string current = formatConfiguration(9, defaultLists(9));
  const auto path = rig.work.write("old.cfg", current.substr(5));
  EXPECT_EQ(rig.runIn({"--json", "--port", kDevice, "config", "send", path.string()}), 0);
  EXPECT_EQ(rig.out.str(), "{\"result\":\"completed\",\"status\":[\"Downloading. Please wait...\","
                           "\"Download completed successfully!\"]}\n");
  EXPECT_EQ(fileBytes(path), current);
}

TEST(ConfigCommand, aWithheldAckFailsTheSend) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  sim::Faults faults;
  faults.noAckFor = "tpow";
  sim::Receiver &receiver = addReceiver(rig, kModel9Code, faults);
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 1);
  EXPECT_EQ(rig.out.str(), "Downloading. Please wait...\nProblem in download\n");
  EXPECT_EQ(receiver.receivedText().find("swreset"), std::string::npos);
}

TEST(ConfigCommand, aModelMismatchFailsWithItsMessage) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  sim::Receiver &receiver = addReceiver(rig, 2);
  const auto path = rig.work.write("send.cfg", formatConfiguration(2, defaultLists(2)));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 1);
  EXPECT_EQ(rig.err.str(), "Receiver Model (8385M-U) does not match with the Selected Model\"\n");
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_EQ(receiver.commandLines(), (std::vector<std::string>{"ruAlive", "locsw"}));
}

TEST(ConfigCommand, aCodeWithoutAVersionSaysNothingWasSent) {
  CliRig rig;
  addReceiver(rig, 11);
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 1);
  EXPECT_EQ(rig.err.str(), "The receiver reported a model code without a shipped software "
                           "version; nothing was sent.\n");
}

TEST(ConfigCommand, sendNeedsAPort) {
  CliRig rig;
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  EXPECT_EQ(rig.runIn({"config", "send", path.string()}), 2);
  EXPECT_EQ(rig.err.str(), "Please select a port and try again !\nName the receiver's serial "
                           "device with --port DEVICE (tarnwick-cli ports lists them).\n");
}

TEST(ConfigCommand, onlySendNeedsTheSerialLibraryAndSaysSoOnce) {
  CliRig rig;
  rig.serial.status = BindingStatus{};
  rig.serial.status.tried = {"/w/Quillport.so"};
  addReceiver(rig, kModel9Code);
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  EXPECT_EQ(rig.runIn({"config", "show", path.string()}), 0);
  EXPECT_EQ(rig.err.str(), "");
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 1);
  EXPECT_EQ(rig.err.str(), "The serial library Quillport could not be loaded. Looked for: "
                           "/w/Quillport.so. The receiver tools cannot run until the serial "
                           "library is installed correctly.\n");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

TEST(ConfigCommand, aPortThatDoesNotOpen) {
  CliRig rig;
  rig.serial.sim.addFailingDevice(kDevice, 16);
  const auto path = rig.work.write("send.cfg", formatConfiguration(9, defaultLists(9)));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "config", "send", path.string()}), 3);
  EXPECT_EQ(rig.err.str(), "Port could not be open. Please try again !\n"
                           "The port " +
                               std::string(kDevice) +
                               " could not be opened: busy — in use by another program.\n");
}

} // namespace
} // namespace tarnwick::cli
