#include "config_rig.h"
#include "configuration_file.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::bytes;
using testing::ConfigRig;
using testing::fileBytes;
using States = std::vector<SettingState>;
using Status = ConfigurationReadResult::Status;
constexpr auto kOff = SettingState::Disabled;
constexpr auto kOn = SettingState::Enabled;
constexpr auto kMasked = SettingState::Masked;
constexpr auto kNone = SettingState::Unavailable;

const std::string kUnsetSlots = [] {
  std::string slots;
  for (int i = 0; i < 8; ++i) {
    slots += bytes({0, 0, 0, 0, 0, 0x0A});
  }
  return slots;
}();

// Model 9's defaults, every marker type permitted.
const std::string kModel9Defaults =
    bytes({'V', 3, 0, 0, 0, 9, 0, 0, 0}) + bytes({0, 1, 0, 0x0A}) + bytes({1, 0, 0x0A}) +
    bytes({1, 1, 1, 1, 1, 1, 1, 0x0A}) + bytes({1, 1, 1, 1, 1, 0x0A}) +
    bytes({1, 1, 1, 1, 1, 1, 1, 1, 0x0A}) + bytes({1, 1, 0x0A}) + bytes({1, 1, 0x0A}) +
    bytes({0, 0, 0, 0, 0x0A}) + bytes({1, 1, 1, 1, 1, 0x0A}) +
    bytes({1, 1, 1, 1, 1, 1, 1, 1, 0x0A}) + bytes({1, 1, 0x0A}) + bytes({1, 1, 0x0A}) +
    bytes({0, 0, 0, 0, 0x0A}) + bytes({1, 0, 0x0A}) + kUnsetSlots;

SettingLists model9(ConfigRig &rig) {
  rig.configuration.setModel(9);
  rig.configuration.rebuildDefaults();
  return rig.configuration.current();
}

const SettingList &current(const ConfigRig &rig, ListId id) {
  return listOf(rig.configuration.current(), id);
}

std::filesystem::path writeFile(ConfigRig &rig, const std::string &name,
                                const std::string &content) {
  return rig.work.write("Config/" + name, content);
}

TEST(ConfigurationFile, model9DefaultsByteForByte) {
  ConfigRig rig;
  const std::string written = formatConfiguration(9, model9(rig));
  EXPECT_EQ(written.size(), 127U);
  EXPECT_EQ(written, kModel9Defaults);
}

TEST(ConfigurationFile, writesAndReadsBackEveryState) {
  ConfigRig rig;
  SettingLists lists = model9(rig);
  listOf(lists, ListId::LocatePower).at(2).state = kMasked;
  listOf(lists, ListId::TonePower).at(7).state = kOff;
  listOf(lists, ListId::MarkerTypes).at(3).state = kMasked;
  listOf(lists, ListId::Language).at(0).state = kOff;
  rig.configuration.copyCurrentIn(lists);
  const auto path = rig.configFolder() / "a.cfg";
  std::filesystem::create_directories(rig.configFolder());
  ASSERT_FALSE(writeConfigurationFile(path, rig.configuration));

  ConfigRig other;
  other.configuration.setModel(0);
  other.configuration.rebuildDefaults();
  EXPECT_EQ(readConfigurationFile(path, other.configuration).status, Status::Read);
  EXPECT_EQ(other.configuration.model(), 9U);
  EXPECT_EQ(other.configuration.current(), rig.configuration.current());
}

TEST(ConfigurationFile, aUserFrequencyOf75IsStoredAsTextWithItsTerminator) {
  ConfigRig rig;
  SettingLists lists = model9(rig);
  listOf(lists, ListId::LocateUser).at(1).name = "75";
  listOf(lists, ListId::ToneUser).at(1).name = "75";
  const std::string written = formatConfiguration(9, lists);
  const std::size_t slots = written.size() - 48;
  EXPECT_EQ(written.substr(slots, 12), bytes({0, 0, 0, 0, 0, 0x0A, '7', '5', 0, 0, 0, 0x0A}));
  EXPECT_EQ(written.substr(slots + 30, 6), bytes({'7', '5', 0, 0, 0, 0x0A}));

  ConfigRig reader;
  ASSERT_TRUE(decodeConfiguration(written));
  applyStoredConfiguration(*decodeConfiguration(written), reader.configuration);
  EXPECT_EQ(current(reader, ListId::LocateUser).at(1).name, "75");
  EXPECT_EQ(current(reader, ListId::ToneUser).at(1).name, "75");
  EXPECT_EQ(current(reader, ListId::LocateUser).at(0).name, "U F1");
  EXPECT_EQ(current(reader, ListId::ToneUser).at(3).name, "U F4");
}

TEST(ConfigurationFile, aFileForAFiveEntryModelReadsWithSixEntryLinesOnceItsIndexSaysSo) {
  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig));
  content[5] = 13; // 9460-Tq/CE: six active entries, three passive
  const auto path = writeFile(rig, "hand.cfg", content);
  EXPECT_EQ(readConfigurationFile(path, rig.configuration).status, Status::Read);
  EXPECT_EQ(rig.configuration.model(), 13U);
  // "lact" takes five states and the line end (read as a state) ...
  EXPECT_EQ(current(rig, ListId::LocateActive).states(), (States{kOn, kOn, kOn, kOn, kOn, kOn}));
  EXPECT_EQ(current(rig, ListId::LocateActive).count(), 6);
  // ... and everything after it shifts by one byte.
  EXPECT_EQ(current(rig, ListId::LocatePower).states(), States(8, kOn));
  EXPECT_EQ(current(rig, ListId::LocatePassive).states(), (States{kOn, kOn, kOn}));
  EXPECT_EQ(current(rig, ListId::LocateAux).count(), 2);
}

TEST(ConfigurationFile, anOldLayoutFileIsConvertedOnce) {
  ConfigRig rig;
  const std::string current = formatConfiguration(9, model9(rig));
  const std::string old = current.substr(5);
  const auto path = writeFile(rig, "old.cfg", old);

  ConfigRig first;
  const auto result = readConfigurationFile(path, first.configuration);
  EXPECT_EQ(result.status, Status::Read);
  EXPECT_TRUE(result.converted);
  EXPECT_FALSE(result.conversionError);
  EXPECT_EQ(fileBytes(path), current);
  EXPECT_EQ(first.configuration.model(), 9U);

  ConfigRig second;
  const auto again = readConfigurationFile(path, second.configuration);
  EXPECT_FALSE(again.converted);
  EXPECT_EQ(fileBytes(path), current);
  EXPECT_EQ(second.configuration.current(), first.configuration.current());
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rig.configFolder()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(ConfigurationFile, markerTypesFollowTheCountryWhateverWasStored) {
  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig));
  const std::size_t markers = 9 + 4 + 3;
  content[markers + 1] = 2; // forbidden below
  content[markers + 2] = 3; // permitted
  content[markers + 4] = 0; // forbidden
  content[markers + 5] = 9; // permitted, out of range
  const auto path = writeFile(rig, "mask.cfg", content);
  rig.mask = {true, false, true, true, false, true, true};
  EXPECT_EQ(readConfigurationFile(path, rig.configuration).status, Status::Read);
  EXPECT_EQ(current(rig, ListId::MarkerTypes).states(),
            (States{kOn, kNone, kOn, kOn, kNone, kOn, kOn}));
}

TEST(ConfigurationFile, outOfRangeStatesReadAsEnabled) {
  EXPECT_EQ(storedState(0), kOff);
  EXPECT_EQ(storedState(1), kOn);
  EXPECT_EQ(storedState(2), kMasked);
  EXPECT_EQ(storedState(3), kOn);
  EXPECT_EQ(storedState(0xFF), kOn);
  EXPECT_EQ(storedMarkerState(2, false), kNone);
  EXPECT_EQ(storedMarkerState(3, true), kOn);
  EXPECT_EQ(storedMarkerState(2, true), kMasked);

  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig));
  content[9 + 4 + 3 + 8] = 3; // "lact" entry 0
  content[9 + 4 + 3 + 8 + 1] = 2;
  const auto path = writeFile(rig, "odd.cfg", content);
  readConfigurationFile(path, rig.configuration);
  EXPECT_EQ(current(rig, ListId::LocateActive).states(), (States{kOn, kMasked, kOn, kOn, kOn}));
}

TEST(ConfigurationFile, aShortFileReadsItsMissingStatesAsEnabledAndSlotsAsUnset) {
  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig)).substr(0, 9 + 4 + 3 + 8 + 2);
  content[9 + 4 + 3 + 8] = 0;
  const auto path = writeFile(rig, "short.cfg", content);
  EXPECT_EQ(readConfigurationFile(path, rig.configuration).status, Status::Read);
  EXPECT_EQ(current(rig, ListId::LocateActive).states(), (States{kOff, kOn, kOn, kOn, kOn}));
  EXPECT_EQ(current(rig, ListId::LocateUser).states(), States(4, kOn));
  EXPECT_EQ(current(rig, ListId::LocateUser).at(2).name, "U F3");
}

TEST(ConfigurationFile, slotTextsOtherThanFrequenciesReadAsUnset) {
  EXPECT_EQ(storedSlotName("75", 1), "75");
  EXPECT_EQ(storedSlotName("999", 0), "999");
  EXPECT_EQ(storedSlotName("", 2), "U F3");
  EXPECT_EQ(storedSlotName("49", 0), "U F1");
  EXPECT_EQ(storedSlotName("1000", 0), "U F1");
  EXPECT_EQ(storedSlotName("7\r", 3), "U F4");
  EXPECT_EQ(storedSlotName("U F", 3), "U F4");

  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig));
  content.replace(content.size() - 48, 6, bytes({'1', '2', '3', '4', 0, 0x0A}));
  const auto stored = decodeConfiguration(content);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->locateSlots[0], "1234");
  applyStoredConfiguration(*stored, rig.configuration);
  EXPECT_EQ(current(rig, ListId::LocateUser).at(0).name, "U F1");
}

TEST(ConfigurationFile, theVersionIsNotChecked) {
  ConfigRig rig;
  std::string content = formatConfiguration(9, model9(rig));
  content[1] = 7;
  const auto stored = decodeConfiguration(content);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->version, 7U);
  EXPECT_EQ(stored->model, 9U);
}

TEST(ConfigurationFile, anUnopenableFileChangesNothing) {
  ConfigRig rig;
  SettingLists lists = model9(rig);
  listOf(lists, ListId::Units).at(0).state = kMasked;
  rig.configuration.copyCurrentIn(lists);
  const SettingLists before = rig.configuration.current();

  EXPECT_EQ(readConfigurationFile(rig.configFolder() / "missing.cfg", rig.configuration).status,
            Status::NotOpened);
  std::filesystem::create_directories(rig.configFolder() / "folder.cfg");
  EXPECT_EQ(readConfigurationFile(rig.configFolder() / "folder.cfg", rig.configuration).status,
            Status::NotOpened);
  EXPECT_EQ(rig.configuration.current(), before);
  EXPECT_EQ(rig.configuration.model(), 9U);
}

TEST(ConfigurationFile, aFileTooShortForTheHeaderChangesNothing) {
  ConfigRig rig;
  model9(rig);
  const SettingLists before = rig.configuration.current();
  for (const std::string &content :
       {std::string(), std::string("V\x03\x00\x00", 4), std::string("\x0D\x00\x00", 3)}) {
    const auto path = writeFile(rig, "tiny.cfg", content);
    EXPECT_EQ(readConfigurationFile(path, rig.configuration).status, Status::NotAConfiguration);
    EXPECT_EQ(fileBytes(path), content); // not converted
  }
  EXPECT_EQ(rig.configuration.current(), before);
  EXPECT_EQ(rig.configuration.model(), 9U);
}

TEST(ConfigurationFile, linesAlwaysHaveTheStoredModelsLength) {
  ConfigRig rig;
  rig.configuration.setModel(13);
  rig.configuration.rebuildDefaults();
  // 34 keeps the six-entry lists of 13, but its lines have five entries.
  rig.configuration.setModel(34);
  const std::string written =
      formatConfiguration(rig.configuration.model(), rig.configuration.current());
  EXPECT_EQ(written.size(), 127U);
  ConfigRig reader;
  applyStoredConfiguration(*decodeConfiguration(written), reader.configuration);
  EXPECT_EQ(current(reader, ListId::Language).states(), (States{kOn, kOff}));
  EXPECT_EQ(current(reader, ListId::Date).states(), (States{kOn, kOff}));
}

} // namespace
} // namespace tarnwick
