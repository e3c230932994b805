#include "config_rig.h"
#include "configuration_editor.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarnwick {
namespace {

using testing::ConfigRig;
using testing::fileBytes;
using Editor = ConfigurationEditor;
using Page = ConfigurationEditor::Page;
using States = std::vector<SettingState>;
constexpr auto kOff = SettingState::Disabled;
constexpr auto kOn = SettingState::Enabled;
constexpr auto kMasked = SettingState::Masked;
constexpr auto kNone = SettingState::Unavailable;

const std::string kLoginFirst = "Please login as Supervisor";
const std::string kEnterFrequency = "Enter the frequency in the range 50 - 999";
const std::string kOutOfRange = "Please enter a frequency in the range 50 to 999Hz";

class EditorTest : public ::testing::Test {
protected:
  SettingState state(ListId list, int entry) const {
    return listOf(editor->snapshot().lists, list).at(entry).state;
  }
  std::string name(ListId list, int entry) const {
    return listOf(editor->snapshot().lists, list).at(entry).name;
  }
  void loginWithDefault() {
    rig.user.script.queuePrompt(std::string(kDefaultSupervisorPassword));
    ASSERT_TRUE(editor->supervisorLogin());
  }
  std::filesystem::path saveAs(const std::string &name) {
    rig.user.script.queueSaveFile(name);
    EXPECT_TRUE(editor->saveAs());
    return rig.configFolder() / name;
  }

  ConfigRig rig;
  std::unique_ptr<ConfigurationEditor> editor = rig.editor();
};

TEST_F(EditorTest, startShowsModel9WithEveryPageValidAndSendConfigOff) {
  const auto view = editor->snapshot();
  EXPECT_EQ(view.modelSelection, 9);
  EXPECT_EQ(modelName(static_cast<ModelIndex>(view.modelSelection)), "8385M-Tq/U");
  EXPECT_EQ(view.caption, "New Configuration");
  EXPECT_EQ(view.fileName, "untitled.cfg");
  EXPECT_EQ(view.status, "Make Selection. Save Configuration. Connect PC to Receiver. Turn "
                         "Receiver on. Press Send Config.");
  for (Page page :
       {Page::UnitsDate, Page::MarkerTypes, Page::LocateFrequencies, Page::ToneFrequencies}) {
    EXPECT_TRUE(view.pageValid(page));
  }
  EXPECT_EQ(view.lists, defaultLists(9));
  EXPECT_EQ(view.unitsSelection, 1);
  EXPECT_EQ(view.dateSelection, 0);
  EXPECT_EQ(view.languageSelection, 0);
  EXPECT_FALSE(view.enabled(Editor::kSendConfigButton));
  EXPECT_FALSE(view.progressVisible);
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));
  EXPECT_TRUE(editor->snapshot().enabled(Editor::kSaveButton));
}

TEST_F(EditorTest, pageValidityFollowsTheModel) {
  editor->selectModel(0); // 6130-Tq
  auto view = editor->snapshot();
  EXPECT_TRUE(view.markerTypesValid);
  EXPECT_FALSE(view.frequenciesValid);
  editor->selectModel(2); // 8360M-E
  view = editor->snapshot();
  EXPECT_FALSE(view.markerTypesValid);
  EXPECT_TRUE(view.frequenciesValid);
}

TEST_F(EditorTest, listsOfPagesThatDoNotApplyIgnoreClicks) {
  editor->selectModel(0);
  editor->clickEntry(ListId::LocateActive, 0);
  EXPECT_EQ(state(ListId::LocateActive, 0), kOn);
  editor->selectModel(2);
  editor->clickEntry(ListId::MarkerTypes, 0);
  EXPECT_EQ(state(ListId::MarkerTypes, 0), kOn);
}

TEST_F(EditorTest, withoutLoginEnabledTurnsOffAndOnAgain) {
  editor->clickEntry(ListId::MarkerTypes, 2);
  EXPECT_EQ(state(ListId::MarkerTypes, 2), kOff);
  editor->clickEntry(ListId::MarkerTypes, 2);
  EXPECT_EQ(state(ListId::MarkerTypes, 2), kOn);
  editor->clickEntry(ListId::TonePower, 7);
  EXPECT_EQ(state(ListId::TonePower, 7), kOff);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, withLoginTheCycleGoesThroughMasked) {
  loginWithDefault();
  for (ListId list : {ListId::MarkerTypes, ListId::LocateActive, ListId::LocatePower,
                      ListId::LocatePassive, ListId::LocateAux, ListId::ToneActive,
                      ListId::TonePower, ListId::TonePassive, ListId::ToneAux}) {
    const States cycle{kMasked, kOff, kOn};
    for (SettingState expected : cycle) {
      editor->clickEntry(list, 1);
      EXPECT_EQ(state(list, 1), expected) << listWord(list);
    }
  }
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, aMaskedEntryNeedsTheSupervisor) {
  loginWithDefault();
  editor->clickEntry(ListId::LocatePassive, 0);
  ASSERT_EQ(state(ListId::LocatePassive, 0), kMasked);
  rig.user.script.queuePrompt(std::nullopt); // a cancelled login logs out
  EXPECT_FALSE(editor->supervisorLogin());
  editor->clickEntry(ListId::LocatePassive, 0);
  EXPECT_EQ(state(ListId::LocatePassive, 0), kMasked);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kLoginFirst});
}

TEST_F(EditorTest, anUnavailableMarkerTypeNamesTheCountry) {
  rig.mask = {true, true, true, true, false, true, true};
  editor->newConfiguration();
  ASSERT_EQ(state(ListId::MarkerTypes, 4), kNone);
  loginWithDefault();
  editor->clickEntry(ListId::MarkerTypes, 4);
  EXPECT_EQ(state(ListId::MarkerTypes, 4), kNone);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"This frequency is not available for Germany"});
}

TEST_F(EditorTest, aUserFrequencyIsSharedByTheLocateAndToneSlot) {
  rig.user.script.queuePrompt("75");
  editor->clickEntry(ListId::LocateUser, 1);
  ASSERT_EQ(rig.user.prompts.size(), 1U);
  EXPECT_EQ(rig.user.prompts[0].label, kEnterFrequency);
  EXPECT_EQ(rig.user.prompts[0].maxLength, 3);
  EXPECT_EQ(rig.user.prompts[0].initial, "");
  EXPECT_FALSE(rig.user.prompts[0].secret);
  EXPECT_EQ(name(ListId::LocateUser, 1), "75");
  EXPECT_EQ(name(ListId::ToneUser, 1), "75");
  EXPECT_EQ(state(ListId::LocateUser, 1), kOn);
  EXPECT_EQ(state(ListId::ToneUser, 1), kOff);

  rig.user.script.queuePrompt("300");
  editor->clickEntry(ListId::ToneUser, 1);
  EXPECT_EQ(rig.user.prompts[1].initial, "75");
  EXPECT_EQ(name(ListId::LocateUser, 1), "300");
  EXPECT_EQ(state(ListId::ToneUser, 1), kOn);

  editor->clickEntry(ListId::LocateUser, 1); // Enabled: off, the frequency stays
  EXPECT_EQ(state(ListId::LocateUser, 1), kOff);
  EXPECT_EQ(name(ListId::LocateUser, 1), "300");
  EXPECT_EQ(rig.user.prompts.size(), 2U);
}

TEST_F(EditorTest, aFrequencyOutsideTheRangeIsRefused) {
  rig.user.script.queuePrompt("75");
  editor->clickEntry(ListId::LocateUser, 0);
  editor->clickEntry(ListId::LocateUser, 0); // off again
  for (const char *typed : {"49", "abc", "", "-60"}) {
    rig.user.script.queuePrompt(std::string(typed));
    editor->clickEntry(ListId::LocateUser, 0);
    EXPECT_EQ(state(ListId::LocateUser, 0), kOff) << typed;
    EXPECT_EQ(name(ListId::LocateUser, 0), "75") << typed;
  }
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>(4, kOutOfRange));
}

TEST_F(EditorTest, aFourthDigitNeverCounts) {
  rig.user.script.queuePrompt("1000");
  editor->clickEntry(ListId::LocateUser, 2);
  EXPECT_EQ(name(ListId::LocateUser, 2), "100");
  EXPECT_EQ(state(ListId::LocateUser, 2), kOn);
}

TEST_F(EditorTest, leadingBlanksAndZerosAreTheNumber) {
  rig.user.script.queuePrompt("075");
  editor->clickEntry(ListId::ToneUser, 3);
  EXPECT_EQ(name(ListId::ToneUser, 3), "75");
}

TEST_F(EditorTest, cancellingTheNameDialogTurnsTheSlotOff) {
  rig.user.script.queuePrompt(std::nullopt);
  editor->clickEntry(ListId::LocateUser, 3);
  EXPECT_EQ(state(ListId::LocateUser, 3), kOff);
  EXPECT_EQ(name(ListId::LocateUser, 3), "U F4");
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, aMaskedUserSlotTakesAFrequencyFromTheSupervisorOnly) {
  loginWithDefault();
  rig.user.script.queuePrompt("90");
  editor->clickEntry(ListId::LocateUser, 0);
  ASSERT_EQ(state(ListId::LocateUser, 0), kOn);
  // Lock it through the frequency list's neighbour: a user slot is locked in
  // a file or by the supervisor's earlier work; here set it as a file would.
  SettingLists lists = editor->snapshot().lists;
  listOf(lists, ListId::LocateUser).at(0).state = kMasked;
  rig.configuration.copyCurrentIn(lists);
  std::filesystem::create_directories(rig.configFolder());
  ASSERT_FALSE(writeConfigurationFile(rig.configFolder() / "m.cfg", rig.configuration));
  ASSERT_TRUE(editor->openFile(rig.configFolder() / "m.cfg"));
  ASSERT_EQ(state(ListId::LocateUser, 0), kMasked);

  rig.configuration.setSupervisorSession(false);
  editor->clickEntry(ListId::LocateUser, 0);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kLoginFirst});
  EXPECT_EQ(state(ListId::LocateUser, 0), kMasked);

  loginWithDefault();
  rig.user.script.queuePrompt("95");
  editor->clickEntry(ListId::LocateUser, 0);
  EXPECT_EQ(rig.user.prompts.back().label, kOutOfRange);
  EXPECT_EQ(rig.user.prompts.back().initial, "90");
  EXPECT_EQ(name(ListId::ToneUser, 0), "95");
  EXPECT_EQ(state(ListId::LocateUser, 0), kOn);
}

TEST_F(EditorTest, sendConfigFollowsTheModifiedFlagsOnTheTimer) {
  saveAs("a.cfg");
  auto view = editor->snapshot();
  EXPECT_TRUE(view.enabled(Editor::kSendConfigButton));
  EXPECT_FALSE(view.modified);

  editor->clickEntry(ListId::LocateAux, 0);
  EXPECT_TRUE(editor->snapshot().pageModified[static_cast<std::size_t>(Page::LocateFrequencies)]);
  EXPECT_TRUE(editor->snapshot().enabled(Editor::kSendConfigButton)); // until the timer runs
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));

  ASSERT_TRUE(editor->save());
  editor->onTimer();
  EXPECT_TRUE(editor->snapshot().enabled(Editor::kSendConfigButton));

  editor->selectUnits(0);
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));
}

TEST_F(EditorTest, aClickThatChangesNothingStillCountsAsAChange) {
  saveAs("a.cfg");
  rig.mask = {false, true, true, true, true, true, true};
  editor->clickEntry(ListId::MarkerTypes, 0); // Enabled: the mask was read at start
  editor->clickEntry(ListId::MarkerTypes, 0);
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));
}

TEST_F(EditorTest, saveAsProposesConfig1InTheConfigFolder) {
  rig.user.script.queueSaveFile(std::nullopt);
  EXPECT_FALSE(editor->save());
  ASSERT_EQ(rig.user.fileDialogs.size(), 1U);
  const FileSpec &spec = rig.user.fileDialogs[0];
  EXPECT_EQ(spec.defaultName, "config1.cfg");
  EXPECT_EQ(spec.filter, "User template Files(*.cfg)|*.cfg|");
  EXPECT_EQ(spec.folder, rig.configFolder().string());
  EXPECT_TRUE(std::filesystem::is_directory(rig.configFolder()));
  EXPECT_EQ(editor->snapshot().caption, "New Configuration");
}

TEST_F(EditorTest, untitledIsNoName) {
  for (const char *name : {"untitled", "UNTITLED.CFG", "Untitled.cfg"}) {
    rig.user.script.queueSaveFile(std::string(name));
    EXPECT_FALSE(editor->saveAs());
  }
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>(3, "Please enter a name to save this configuration data"));
  EXPECT_TRUE(std::filesystem::is_empty(rig.configFolder()));
}

TEST_F(EditorTest, aNameWithoutCfgGetsIt) {
  rig.user.script.queueSaveFile("site");
  ASSERT_TRUE(editor->saveAs());
  const auto path = rig.configFolder() / "site.cfg";
  EXPECT_EQ(fileBytes(path), formatConfiguration(9, defaultLists(9)));
  const auto view = editor->snapshot();
  EXPECT_EQ(view.caption, "site.cfg");
  EXPECT_EQ(view.fileName, "site.cfg");
  EXPECT_EQ(view.filePath, path);
  EXPECT_FALSE(view.modified);
}

TEST_F(EditorTest, anExistingFileIsOverwrittenOnlyWhenTheUserSaysYes) {
  const auto path = rig.work.write("Config/old.cfg", "keep me");
  rig.user.script.queueSaveFile("old.cfg");
  rig.user.script.queueAnswer(Answer::No);
  EXPECT_FALSE(editor->saveAs());
  EXPECT_EQ(fileBytes(path), "keep me");
  const auto events = rig.user.script.events();
  ASSERT_EQ(events.back().kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(events.back().text, "Overwrite the existing file?");
  EXPECT_EQ(events.back().buttons, Buttons::YesNo);

  rig.user.script.queueSaveFile("old.cfg");
  rig.user.script.queueAnswer(Answer::Yes);
  EXPECT_TRUE(editor->saveAs());
  EXPECT_EQ(fileBytes(path), formatConfiguration(9, defaultLists(9)));
}

TEST_F(EditorTest, saveWritesInPlaceOnlyWhileTheFileExists) {
  const auto path = saveAs("here.cfg");
  editor->clickEntry(ListId::LocatePower, 0);
  EXPECT_TRUE(editor->save());
  EXPECT_EQ(static_cast<std::uint8_t>(fileBytes(path)[9 + 4 + 3 + 8 + 6]), 0); // lpow entry 0
  EXPECT_EQ(rig.user.fileDialogs.size(), 1U);

  std::filesystem::remove(path);
  editor->clickEntry(ListId::LocatePower, 0);
  EXPECT_FALSE(editor->save());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_EQ(rig.user.fileDialogs.size(), 1U);
}

TEST_F(EditorTest, saveInPlaceWritesTheFileThatWasOpenedNotANamesakeInConfig) {
  const std::string bystander = "another configuration";
  const auto namesake = rig.work.write("Config/site.cfg", bystander);
  const auto elsewhere = rig.folder() / "elsewhere" / "site.cfg";
  std::filesystem::create_directories(elsewhere.parent_path());
  {
    std::ofstream out(elsewhere, std::ios::binary);
    out << formatConfiguration(9, defaultLists(9));
  }
  rig.user.script.queueOpenFile(elsewhere.string());
  ASSERT_TRUE(editor->openConfiguration());
  editor->clickEntry(ListId::ToneAux, 1);
  EXPECT_TRUE(editor->save());
  EXPECT_EQ(fileBytes(namesake), bystander);
  SettingLists expected = defaultLists(9);
  listOf(expected, ListId::ToneAux).at(1).state = kOff;
  EXPECT_EQ(fileBytes(elsewhere), formatConfiguration(9, expected));
}

TEST_F(EditorTest, aFailedWriteIsReportedAndKeepsTheOldState) {
  const auto path = rig.folder() / "missing-folder" / "x.cfg";
  rig.user.script.queueSaveFile(path.string());
  EXPECT_FALSE(editor->saveAs());
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"The file could not be saved: " + path.string() +
                                     " (no such file or folder)"});
  EXPECT_EQ(editor->snapshot().caption, "New Configuration");
  EXPECT_TRUE(editor->snapshot().modified);
}

TEST_F(EditorTest, radioButtonsAreSavedAsStates) {
  editor->selectUnits(2);
  editor->selectDateFormat(1);
  editor->selectLanguage(1);
  const auto path = saveAs("radio.cfg");
  const std::string saved = fileBytes(path);
  EXPECT_EQ(saved.substr(9, 7), testing::bytes({0, 0, 1, 0x0A, 0, 1, 0x0A}));
  EXPECT_EQ(listOf(rig.configuration.current(), ListId::Language).states(), (States{kOff, kOn}));
}

TEST_F(EditorTest, openShowsTheFileAndEnablesSendConfig) {
  ConfigRig other;
  other.configuration.setModel(13);
  other.configuration.rebuildDefaults();
  SettingLists lists = other.configuration.current();
  listOf(lists, ListId::ToneActive).at(2).state = kMasked;
  other.configuration.copyCurrentIn(lists);
  const auto path = rig.configFolder() / "ce.cfg";
  std::filesystem::create_directories(rig.configFolder());
  ASSERT_FALSE(writeConfigurationFile(path, other.configuration));

  rig.user.script.queueOpenFile("ce.cfg");
  ASSERT_TRUE(editor->openConfiguration());
  EXPECT_EQ(rig.user.fileDialogs.back().filter, "Configuration Files(*.cfg)|*.cfg|");
  EXPECT_EQ(rig.user.fileDialogs.back().folder, rig.configFolder().string());
  const auto view = editor->snapshot();
  EXPECT_EQ(view.modelSelection, 13);
  EXPECT_EQ(view.caption, "ce.cfg");
  EXPECT_EQ(view.lists, other.configuration.current());
  EXPECT_FALSE(view.modified);
  EXPECT_TRUE(view.enabled(Editor::kSendConfigButton));
  editor->onTimer();
  EXPECT_TRUE(editor->snapshot().enabled(Editor::kSendConfigButton));
}

TEST_F(EditorTest, aFileThatCannotBeOpenedChangesNothing) {
  editor->clickEntry(ListId::MarkerTypes, 0);
  const auto before = editor->snapshot();
  rig.user.script.queueOpenFile("nothing-here.cfg");
  EXPECT_FALSE(editor->openConfiguration());
  const auto after = editor->snapshot();
  EXPECT_EQ(after.caption, before.caption);
  EXPECT_EQ(after.lists, before.lists);
  EXPECT_EQ(after.model, before.model);
  EXPECT_TRUE(after.modified);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, changingTheModelAfterOpeningResetsEveryList) {
  editor->clickEntry(ListId::LocatePower, 3);
  saveAs("x.cfg");
  rig.user.script.queueOpenFile("x.cfg");
  ASSERT_TRUE(editor->openConfiguration());
  ASSERT_EQ(state(ListId::LocatePower, 3), kOff);
  editor->selectModel(16);
  EXPECT_EQ(editor->snapshot().lists, defaultLists(16));
  EXPECT_EQ(rig.configuration.current(), defaultLists(16));
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));
}

TEST_F(EditorTest, the8385MTqInModelChangesNothingButTheModel) {
  editor->selectModel(13);
  editor->clickEntry(ListId::LocateActive, 5);
  const auto before = editor->snapshot();
  editor->selectModel(34);
  const auto after = editor->snapshot();
  EXPECT_EQ(after.modelSelection, 34);
  EXPECT_EQ(rig.configuration.family(), 6);
  EXPECT_EQ(after.lists, before.lists);
  EXPECT_TRUE(after.markerTypesValid && after.frequenciesValid);
}

TEST_F(EditorTest, newStartsOverFromModel9) {
  editor->selectModel(13);
  saveAs("n.cfg");
  editor->newConfiguration();
  const auto view = editor->snapshot();
  EXPECT_EQ(view.modelSelection, 9);
  EXPECT_EQ(view.caption, "New Configuration");
  EXPECT_EQ(view.fileName, "untitled.cfg");
  EXPECT_EQ(view.lists, defaultLists(9));
  EXPECT_FALSE(view.enabled(Editor::kSendConfigButton));
  editor->onTimer();
  EXPECT_FALSE(editor->snapshot().enabled(Editor::kSendConfigButton));
}

TEST_F(EditorTest, leavingTheEditorEndsTheSupervisorSession) {
  loginWithDefault();
  EXPECT_TRUE(editor->snapshot().supervisor);
  editor->exit();
  EXPECT_FALSE(rig.configuration.supervisorSession());
  editor = rig.editor();
  EXPECT_FALSE(editor->snapshot().supervisor);
  editor->clickEntry(ListId::MarkerTypes, 0);
  EXPECT_EQ(state(ListId::MarkerTypes, 0), kOff); // not Masked: no supervisor
  loginWithDefault();
  editor.reset(); // destroyed without Exit
  EXPECT_FALSE(rig.configuration.supervisorSession());
}

TEST_F(EditorTest, changePasswordFromTheEditor) {
  EXPECT_FALSE(editor->changePassword());
  loginWithDefault();
  rig.user.script.queuePrompt("ABC");
  EXPECT_TRUE(editor->changePassword());
  rig.user.script.queuePrompt("ABC");
  EXPECT_TRUE(editor->supervisorLogin());
}

TEST_F(EditorTest, checkReceiverModelSelectsTheReceiversModel) {
  rig.openReceiver(2);
  CancelToken cancel;
  EXPECT_TRUE(editor->checkReceiverModel(cancel));
  const auto view = editor->snapshot();
  EXPECT_EQ(view.modelSelection, 7);
  EXPECT_FALSE(view.markerTypesValid);
  EXPECT_EQ(view.lists, defaultLists(7));
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, checkReceiverModelFor51SelectsTheModelWithIdf) {
  rig.openReceiver(51);
  CancelToken cancel;
  EXPECT_TRUE(editor->checkReceiverModel(cancel));
  const auto view = editor->snapshot();
  EXPECT_EQ(view.model, kFurtherModel);
  EXPECT_EQ(view.modelSelection, -1);
  EXPECT_EQ(listOf(view.lists, ListId::MarkerTypes).at(5).name, "IDF");
}

TEST_F(EditorTest, checkReceiverModelNamesThe8330MModels) {
  rig.openReceiver(21);
  CancelToken cancel;
  EXPECT_FALSE(editor->checkReceiverModel(cancel));
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"8330M-PL - This model cannot be configured using Brimstel. "
                                     "Please use Toolbox option in the receiver."});
  EXPECT_EQ(editor->snapshot().modelSelection, 9);
}

TEST_F(EditorTest, checkReceiverModelIsSilentWithoutAStatusReplyOrAKnownCode) {
  sim::Faults faults;
  faults.statusHeader = 0x01;
  rig.openReceiver(2, faults);
  CancelToken cancel;
  EXPECT_FALSE(editor->checkReceiverModel(cancel));
  EXPECT_EQ(editor->snapshot().modelSelection, 9);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(EditorTest, checkReceiverModelWithASilentReceiverClosesThePort) {
  rig.sim.addSilentDevice(ConfigRig::kDevice);
  rig.sim.openPort(ConfigRig::kDevice);
  rig.context.portState.markOpen(ConfigRig::kDevice, 38400);
  CancelToken cancel;
  EXPECT_FALSE(editor->checkReceiverModel(cancel));
  EXPECT_EQ(
      rig.user.messages(),
      std::vector<std::string>{"Error Communicating to receiver. Verify serial cable "
                               "connection between PC and receiver. Verify Receiver is on.."});
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(editor->snapshot().busy);
}

TEST_F(EditorTest, checkReceiverModelWhenThePortCannotBeOpened) {
  rig.sim.addFailingDevice(ConfigRig::kDevice, 16);
  rig.user.script.queuePortChoice(PortChoice{ConfigRig::kDevice, "38400"});
  CancelToken cancel;
  EXPECT_FALSE(editor->checkReceiverModel(cancel));
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Failed to open port! Please connect and try again\n"
                                     "The port " +
                                     std::string(ConfigRig::kDevice) +
                                     " could not be opened: busy — in use by another program."});
}

TEST_F(EditorTest, sendConfigIsRefusedUntilSaved) {
  sim::Receiver &receiver = rig.openReceiver(44);
  CancelToken cancel;
  EXPECT_EQ(editor->sendConfiguration(cancel), SendConfiguration::Result::Busy);
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

TEST_F(EditorTest, sendConfigSendsWhatWasSaved) {
  sim::Receiver &receiver = rig.openReceiver(44);
  editor->clickEntry(ListId::LocateActive, 1);
  saveAs("s.cfg");
  CancelToken cancel;
  EXPECT_EQ(editor->sendConfiguration(cancel), SendConfiguration::Result::Completed);
  EXPECT_EQ(receiver.lastArguments("lact"),
            (std::vector<std::string>{"1", "0", "1", "1", "1", "0", "0"}));
  const auto view = editor->snapshot();
  EXPECT_EQ(view.status, "Download completed successfully!");
  EXPECT_FALSE(view.progressVisible);
  EXPECT_FALSE(view.busy);
}

TEST_F(EditorTest, whileSendingTheEditorRefusesInput) {
  sim::Receiver &receiver = rig.openReceiver(44);
  saveAs("s.cfg");
  std::optional<Editor::Snapshot> during;
  rig.port.beforeWrite = [&](int) {
    if (!during && receiver.receivedText().ends_with("units 0 1 0\r")) {
      during = editor->snapshot();
      editor->clickEntry(ListId::MarkerTypes, 0);
      editor->selectModel(0);
    }
  };
  ASSERT_TRUE(editor->startSend());
  EXPECT_EQ(editor->runSend(CancelToken{}), SendConfiguration::Result::Completed);
  ASSERT_TRUE(during);
  EXPECT_TRUE(during->busy);
  EXPECT_FALSE(during->enabled(Editor::kSendConfigButton));
  EXPECT_FALSE(during->enabled(Editor::kOpenButton));
  EXPECT_TRUE(during->progressVisible);
  EXPECT_EQ(during->status, "Downloading. Please wait...");
  EXPECT_EQ(state(ListId::MarkerTypes, 0), kOn);
  EXPECT_EQ(editor->snapshot().modelSelection, 9);
  EXPECT_EQ(editor->runSend(CancelToken{}), SendConfiguration::Result::Busy); // not prepared
}

} // namespace
} // namespace tarnwick
