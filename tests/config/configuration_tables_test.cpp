#include "config_rig.h"
#include "configuration_tables.h"
#include "receiver_configuration.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using Names = std::vector<std::string>;
using States = std::vector<SettingState>;
constexpr auto kOff = SettingState::Disabled;
constexpr auto kOn = SettingState::Enabled;
constexpr auto kNone = SettingState::Unavailable;

const SettingList &list(const SettingLists &lists, ListId id) {
  return listOf(lists, id);
}

TEST(ConfigurationTables, modelBoxHas35NamesInIndexOrder) {
  EXPECT_EQ(modelName(0), "6130-Tq");
  EXPECT_EQ(modelName(2), "8360M-E");
  EXPECT_EQ(modelName(7), "8385M-U");
  EXPECT_EQ(modelName(9), "8385M-Tq/U");
  EXPECT_EQ(modelName(22), "6130CE-Tq");
  EXPECT_EQ(modelName(34), "8385M-Tq/IN");
  EXPECT_EQ(modelName(35), "");
  EXPECT_EQ(modelName(36), "");
  for (ModelIndex index = 0; index < kModelCount; ++index) {
    EXPECT_FALSE(modelName(index).empty()) << index;
  }
}

TEST(ConfigurationTables, frequencyFamilyByIndex) {
  const std::vector<std::pair<ModelIndex, int>> expected = {
      {0, 0},  {10, 0}, {11, 1}, {12, 2}, {21, 2}, {22, 0},  {24, 0},
      {25, 5}, {33, 5}, {34, 6}, {35, 6}, {36, 0}, {1000, 0}};
  for (const auto &[index, family] : expected) {
    EXPECT_EQ(frequencyFamily(index), family) << index;
  }
}

TEST(ConfigurationTables, model9DefaultsHaveFiveActiveTwoPassiveInchesAndMonthFirst) {
  const SettingLists lists = defaultLists(9);
  EXPECT_EQ(list(lists, ListId::LocateActive).names(),
            (Names{"577 Hz", "8 kHz", "33 kHz", "133 kHz", "200 kHz"}));
  EXPECT_EQ(list(lists, ListId::ToneActive).count(), 5);
  EXPECT_EQ(list(lists, ListId::ToneActive).states(), States(5, kOn));
  EXPECT_EQ(list(lists, ListId::LocatePassive).names(), (Names{"CATV", "LF"}));
  EXPECT_EQ(list(lists, ListId::Units).names(), (Names{"cm", "in", "ft"}));
  EXPECT_EQ(list(lists, ListId::Units).states(), (States{kOff, kOn, kOff}));
  EXPECT_EQ(list(lists, ListId::Date).names(), (Names{"mm/dd/yy", "dd/mm/yy"}));
  EXPECT_EQ(list(lists, ListId::Date).states(), (States{kOn, kOff}));
  EXPECT_EQ(list(lists, ListId::MarkerTypes).names(),
            (Names{"Telephone", "Power", "Gas", "Water", "Waster Water", "Communication",
                   "General Purpose"}));
  EXPECT_EQ(list(lists, ListId::LocateUser).names(), (Names{"U F1", "U F2", "U F3", "U F4"}));
  EXPECT_EQ(list(lists, ListId::ToneUser).states(), States(4, kOff));
  EXPECT_EQ(list(lists, ListId::LocatePower).names(),
            (Names{"50", "60", "100", "120", "50L", "60L", "50H", "60H"}));
  EXPECT_EQ(list(lists, ListId::TonePassive).states(), (States{kOn, kOn}));
  EXPECT_EQ(list(lists, ListId::LocateAux).names(), (Names{"512 Hz", "560 Hz"}));
  EXPECT_EQ(list(lists, ListId::Language).names(), (Names{"English", "Other"}));
  EXPECT_EQ(list(lists, ListId::Language).states(), (States{kOn, kOff}));
}

TEST(ConfigurationTables, model13HasSixEntriesEndingWith133kHzAndCePower) {
  const SettingLists lists = defaultLists(13);
  const Names active{"577 Hz", "1 kHz", "8 kHz", "33 kHz", "82 kHz", "133 kHz"};
  EXPECT_EQ(list(lists, ListId::LocateActive).names(), active);
  EXPECT_EQ(list(lists, ListId::ToneActive).names(), active);
  EXPECT_EQ(list(lists, ListId::LocateActive).states(), States(6, kOn));
  EXPECT_EQ(list(lists, ListId::ToneActive).states(), (States{kOn, kOn, kOn, kOn, kOn, kOff}));
  EXPECT_EQ(list(lists, ListId::LocatePassive).names(), (Names{"CATV", "LF", "LF 2"}));
  EXPECT_EQ(list(lists, ListId::LocatePassive).states(), States(3, kOn));
  EXPECT_EQ(list(lists, ListId::TonePassive).names(), (Names{"CATV", "LF"}));
  EXPECT_EQ(list(lists, ListId::MarkerTypes).at(1).name, "CE Power");
  EXPECT_TRUE(isCePowerModel(13));
}

TEST(ConfigurationTables, model16EndsWith200kHzAllEnabled) {
  const SettingLists lists = defaultLists(16);
  const Names active{"577 Hz", "1 kHz", "8 kHz", "33 kHz", "82 kHz", "200 kHz"};
  EXPECT_EQ(list(lists, ListId::LocateActive).names(), active);
  EXPECT_EQ(list(lists, ListId::ToneActive).names(), active);
  EXPECT_EQ(list(lists, ListId::LocateActive).states(), States(6, kOn));
  EXPECT_EQ(list(lists, ListId::ToneActive).states(), States(6, kOn));
  EXPECT_EQ(list(lists, ListId::MarkerTypes).at(1).name, "Power");
}

TEST(ConfigurationTables, familyFiveHasSixActiveButTwoPassive) {
  const SettingLists lists = defaultLists(27); // 3285-Tq/U: the 200 kHz table
  EXPECT_EQ(list(lists, ListId::LocateActive).at(5).name, "200 kHz");
  EXPECT_EQ(list(lists, ListId::LocatePassive).count(), 2);
  EXPECT_EQ(list(defaultLists(28), ListId::LocateActive).at(5).name, "133 kHz");
}

TEST(ConfigurationTables, furtherModelCallsCommunicationIdf) {
  const SettingLists lists = defaultLists(36);
  const SettingList &markers = list(lists, ListId::MarkerTypes);
  EXPECT_EQ(markers.at(5).name, "IDF");
  EXPECT_EQ(markers.at(1).name, "Power");
}

TEST(ConfigurationTables, entryCountsAreTheDefaultListLengthsForEveryIndex) {
  for (ModelIndex index = 0; index < 40; ++index) {
    const SettingLists lists = defaultLists(index);
    for (ListId id : allLists()) {
      EXPECT_EQ(entryCount(id, index), list(lists, id).count()) << index;
      EXPECT_LE(list(lists, id).count(), SettingList::kMaxEntries);
    }
  }
}

TEST(ConfigurationTables, pageValidityByModel) {
  EXPECT_EQ(pageValidity(0), (PageValidity{true, false}));
  EXPECT_EQ(pageValidity(31), (PageValidity{true, false}));
  EXPECT_EQ(pageValidity(2), (PageValidity{false, true}));
  EXPECT_EQ(pageValidity(19), (PageValidity{false, true}));
  EXPECT_EQ(pageValidity(9), (PageValidity{true, true}));
  EXPECT_EQ(pageValidity(36), (PageValidity{true, true}));
  EXPECT_FALSE(pageValidity(34));
  EXPECT_FALSE(pageValidity(35));
}

TEST(ConfigurationTables, acceptedModelCodes) {
  EXPECT_TRUE(acceptsModelCode(7, 2));
  EXPECT_TRUE(acceptsModelCode(7, 42));
  EXPECT_FALSE(acceptsModelCode(2, 2));
  EXPECT_TRUE(acceptsModelCode(9, 51));
  EXPECT_TRUE(acceptsModelCode(36, 51));
  EXPECT_TRUE(acceptsModelCode(11, 12));
  for (int code = 0; code < 256; ++code) {
    EXPECT_FALSE(acceptsModelCode(34, code)) << code;
  }
}

TEST(ConfigurationTables, modelForCodeAndTheNameAMismatchGivesIt) {
  EXPECT_EQ(modelForCode(2), 7U);
  EXPECT_EQ(modelForCode(44), 9U);
  EXPECT_EQ(modelForCode(51), 36U);
  EXPECT_EQ(modelForCode(69), 33U);
  EXPECT_FALSE(modelForCode(20));
  EXPECT_FALSE(modelForCode(11));
  EXPECT_EQ(modelNameForCode(2), "8385M-U");
  EXPECT_EQ(modelNameForCode(7), "8360M-E");
  EXPECT_EQ(modelNameForCode(20), "8330M");
  EXPECT_EQ(modelNameForCode(21), "8330M-PL");
  EXPECT_EQ(modelNameForCode(11), "");
}

TEST(ReceiverConfigurationTest, firstDefaultReadBuildsBothSetsWithTheCountryMask) {
  testing::ConfigRig rig;
  rig.mask = {true, false, true, true, false, true, true};
  ReceiverConfiguration &configuration = rig.configuration;
  EXPECT_TRUE(configuration.current()[0].empty());
  const SettingList &markers = configuration.defaultList(ListId::MarkerTypes);
  EXPECT_EQ(markers.states(), (States{kOn, kNone, kOn, kOn, kNone, kOn, kOn}));
  EXPECT_EQ(listOf(configuration.current(), ListId::MarkerTypes).states(), markers.states());
  EXPECT_EQ(rig.maskRequests, std::vector<bool>{false});
}

TEST(ReceiverConfigurationTest, ceModelsAskForTheCeMask) {
  testing::ConfigRig rig;
  rig.ceMask = {};
  rig.configuration.setModel(13);
  rig.configuration.rebuildDefaults();
  EXPECT_EQ(rig.maskRequests, std::vector<bool>{true});
  EXPECT_EQ(listOf(rig.configuration.current(), ListId::MarkerTypes).states(), States(7, kNone));
}

TEST(ReceiverConfigurationTest, setModelChangesTheFamilyButNotTheLists) {
  testing::ConfigRig rig;
  rig.configuration.rebuildDefaults();
  rig.configuration.setModel(13);
  EXPECT_EQ(rig.configuration.model(), 13U);
  EXPECT_EQ(rig.configuration.family(), 2);
  EXPECT_EQ(listOf(rig.configuration.current(), ListId::LocateActive).count(), 5);
}

TEST(ReceiverConfigurationTest, copyingInKeepsEachListsLengthAndEmptyNames) {
  testing::ConfigRig rig;
  rig.configuration.rebuildDefaults();
  SettingLists lists;
  listOf(lists, ListId::LocateActive).entries = {{"", kOff}, {"x", kOff}, {"", kOff}, {"", kOff},
                                                 {"", kOff}, {"", kOff},  {"", kOff}};
  listOf(lists, ListId::Units).entries = {{"", kOn}};
  rig.configuration.copyCurrentIn(lists);
  const auto &active = listOf(rig.configuration.current(), ListId::LocateActive);
  EXPECT_EQ(active.count(), 5);
  EXPECT_EQ(active.states(), States(5, kOff));
  EXPECT_EQ(active.names(), (Names{"577 Hz", "x", "33 kHz", "133 kHz", "200 kHz"}));
  EXPECT_EQ(listOf(rig.configuration.current(), ListId::Units).states(), (States{kOn, kOn, kOff}));
}

TEST(ReceiverConfigurationTest, entryNamesWithinBounds) {
  testing::ConfigRig rig;
  EXPECT_FALSE(rig.configuration.entryName(ListId::Units, 0)); // nothing built yet
  rig.configuration.rebuildDefaults();
  EXPECT_EQ(rig.configuration.entryName(ListId::LocateUser, 3), "U F4");
  EXPECT_FALSE(rig.configuration.entryName(ListId::LocateUser, 4));
  EXPECT_FALSE(rig.configuration.entryName(ListId::LocateUser, -1));
  EXPECT_TRUE(rig.configuration.setEntryName(ListId::LocateUser, 1, "75"));
  EXPECT_FALSE(rig.configuration.setEntryName(ListId::Date, 2, "x"));
  EXPECT_EQ(rig.configuration.entryName(ListId::LocateUser, 1), "75");
}

} // namespace
} // namespace tarnwick
