#include "ui_text.h"

#include "configuration_editor.h"
#include "folder_tree.h"
#include "help_viewer.h"
#include "main_screen.h"
#include "port_settings.h"
#include "receiver_version_tool.h"
#include "template_editor.h"
#include "user_list_editor.h"
#include "user_list_store.h"

#include <algorithm>
#include <map>
#include <set>

namespace tarnwick::ui {

namespace {

using namespace item;
using Editor = ConfigurationEditor;

constexpr std::string_view mainScreenButton(int id) {
  for (const auto &button : MainScreen::kButtons) {
    if (button.id == id) {
      return button.text;
    }
  }
  return {};
}

constexpr UiText kTexts[] = {
    // Texts several dialogs show alike.
    {dialog::kShared, kNotInThisVersion, "This tool is not part of this version of the program."},
    {dialog::kShared, kCharactersLeft, "%1 characters left"},

    // The main screen.
    {dialog::kMainScreen, kCaption, MainScreen::kCaption},
    {dialog::kMainScreen, MainScreen::kInitialConfiguration,
     mainScreenButton(MainScreen::kInitialConfiguration)},
    {dialog::kMainScreen, MainScreen::kUpgradeSoftware,
     mainScreenButton(MainScreen::kUpgradeSoftware)},
    {dialog::kMainScreen, MainScreen::kLanguageConfiguration,
     mainScreenButton(MainScreen::kLanguageConfiguration)},
    {dialog::kMainScreen, MainScreen::kConfigureReceiver,
     mainScreenButton(MainScreen::kConfigureReceiver)},
    {dialog::kMainScreen, MainScreen::kMarkerUtility, mainScreenButton(MainScreen::kMarkerUtility)},
    {dialog::kMainScreen, MainScreen::kFactoryEepromDownload,
     mainScreenButton(MainScreen::kFactoryEepromDownload)},
    {dialog::kMainScreen, MainScreen::kReceiverVersion,
     mainScreenButton(MainScreen::kReceiverVersion)},
    {dialog::kMainScreen, MainScreen::kExit, mainScreenButton(MainScreen::kExit)},
    {dialog::kMainScreen, kSelectCountryText, MainScreen::kSelectCountryText},
    {dialog::kMainScreen, kInitialConfigurationText, MainScreen::kInitialConfigurationText},
    {dialog::kMainScreen, kConfigureReceiverText, MainScreen::kConfigureReceiverText},
    {dialog::kMainScreen, kMarkerUtilityText, MainScreen::kMarkerUtilityText},
    {dialog::kMainScreen, kLanguageConfigurationText, MainScreen::kLanguageConfigurationText},
    {dialog::kMainScreen, kUpgradeHintText, MainScreen::kUpgradeHintText},
    {dialog::kMainScreen, kLanguageLabel, "User interface language:"},
    {dialog::kMainScreen, kEnglishEntry, "English"},
    {dialog::kMainScreen, kPortButton, "&Port..."},
    {dialog::kMainScreen, kStatusPort, "Port %1 at %2 bps"},
    {dialog::kMainScreen, kStatusNoPort, "No port open"},
    {dialog::kMainScreen, kStatusReceiver, "Receiver %1, software %2"},
    {dialog::kMainScreen, kStatusNoReceiver, "No receiver identified yet"},
    {dialog::kMainScreen, kStatusTalking, "Talking to the receiver: %1"},
    {dialog::kMainScreen, kStatusTalkingPlain, "Talking to the receiver"},
    {dialog::kMainScreen, kStatusIdle, "No tool is talking to the receiver"},

    // Communication Options.
    {dialog::kCommunicationOptions, kCaption, kCommunicationOptionsCaption},
    {dialog::kCommunicationOptions, kOk, "OK"},
    {dialog::kCommunicationOptions, kCancel, "Cancel"},
    {dialog::kCommunicationOptions, kPortLabel, "Comport"},
    {dialog::kCommunicationOptions, kRateLabel, "Baud Rate"},
    {dialog::kCommunicationOptions, kBpsLabel, "bps"},
    {dialog::kCommunicationOptions, kSimulatedPort, "%1 (simulated receiver)"},
    {dialog::kCommunicationOptions, kRefusedHeading, "These ports cannot be opened:"},
    {dialog::kCommunicationOptions, kRefusedPort, "%1: %2"},
    {dialog::kCommunicationOptions, kReasonBusy, "busy — in use by another program"},
    {dialog::kCommunicationOptions, kReasonPermission, "permission denied — %1"},
    {dialog::kCommunicationOptions, kReasonGone, "no such device"},
    {dialog::kCommunicationOptions, kReasonInputOutput,
     "input/output error — no device answers behind it"},
    {dialog::kCommunicationOptions, kNoPortsListed, "No serial port could be opened."},

    // Receiver Software Version.
    {dialog::kReceiverVersion, kCaption, ReceiverVersionTool::kCaption},
    {dialog::kReceiverVersion, ReceiverVersionTool::kCheckButton, "Check Receiver Version"},
    {dialog::kReceiverVersion, kOk, "OK"},
    {dialog::kReceiverVersion, kShippedGroup, " Receiver Software Version in the Brimstel "},
    {dialog::kReceiverVersion, kReceiverGroup, " Software Version in the Receiver "},
    {dialog::kReceiverVersion, kCompatibilityGroup, " Hardware Compatibility "},
    {dialog::kReceiverVersion, kModelLabel, "Receiver Model:"},
    {dialog::kReceiverVersion, kMainSoftwareLabel, "Receiver Main Software:"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 0, "6130, 8360M, 8385M (E, U, Tq models):"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 1, "9460, 9485 (E, U, Tq models):"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 2, "6130Kv Model:"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 3, "3130, 3260, 3285 (E, U models):"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 4, "8330M Series:"},
    {dialog::kReceiverVersion, kFirstSlotLabel + 5, "RFID Glossary:"},

    // Configure Receiver and its pages.
    {dialog::kConfigureReceiver, Editor::kNewButton, "&New"},
    {dialog::kConfigureReceiver, Editor::kOpenButton, "&Open"},
    {dialog::kConfigureReceiver, Editor::kSaveButton, "&Save"},
    {dialog::kConfigureReceiver, Editor::kSaveAsButton, "Save &As"},
    {dialog::kConfigureReceiver, Editor::kSupervisorLoginButton, "Supervisor Login"},
    {dialog::kConfigureReceiver, kSupervisorLogoutButton, "Supervisor Logout"},
    {dialog::kConfigureReceiver, Editor::kChangePasswordButton, "Change Password"},
    {dialog::kConfigureReceiver, Editor::kCheckReceiverModelButton, "Check Receiver Model"},
    {dialog::kConfigureReceiver, Editor::kSendConfigButton, "Send config"},
    {dialog::kConfigureReceiver, Editor::kExitButton, "E&xit"},
    {dialog::kConfigureReceiver, kModelBoxLabel, "Receiver &Model:"},
    {dialog::kConfigureReceiver, kUnitsGroup, "Units"},
    {dialog::kConfigureReceiver, kFirstUnit + 0, "cm"},
    {dialog::kConfigureReceiver, kFirstUnit + 1, "in"},
    {dialog::kConfigureReceiver, kFirstUnit + 2, "ft"},
    {dialog::kConfigureReceiver, kDateGroup, "Date Format"},
    {dialog::kConfigureReceiver, kFirstDateFormat + 0, "MM/DD/YY"},
    {dialog::kConfigureReceiver, kFirstDateFormat + 1, "DD/MM/YY"},
    {dialog::kConfigureReceiver, kFirstFrequencyColumn + 0, Editor::kFrequencyColumns[0]},
    {dialog::kConfigureReceiver, kFirstFrequencyColumn + 1, Editor::kFrequencyColumns[1]},
    {dialog::kConfigureReceiver, kFirstFrequencyColumn + 2, Editor::kFrequencyColumns[2]},
    {dialog::kConfigureReceiver, kFirstFrequencyColumn + 3, Editor::kFrequencyColumns[3]},
    {dialog::kConfigureReceiver, kFirstFrequencyColumn + 4, Editor::kFrequencyColumns[4]},
    {dialog::kConfigureReceiver, kLegendHeading, "What the pictures mean:"},
    {dialog::kConfigureReceiver, kLegendEntry, "= %1"},
    {dialog::kConfigureReceiver, kStateEnabled, "Enabled"},
    {dialog::kConfigureReceiver, kStateDisabled, "Disabled"},
    {dialog::kConfigureReceiver, kStateMasked, "Locked by the supervisor"},
    {dialog::kConfigureReceiver, kStateUnavailable, "Not available in this country"},
    {dialog::kConfigureReceiver, kSupervisorBanner,
     "Supervisor logged in: clicking a switched-on entry locks it"},

    // The marker utility's frame and pages.
    {dialog::kMarkerUtility, kCaption, "GPS/Tq Marker Utility"},
    {dialog::kMarkerUtility, kOk, "E&xit"},
    {dialog::kMarkerUtility, kGlossaryLanguageLabel, "Glossary Language :"},
    {dialog::kUserList, kListLabel, "Favorite User List"},
    {dialog::kUserList, kAllLabelsCaption, "All Labels"},
    {dialog::kUserList, kListLabelsCaption, "Labels in your Favorite User List"},
    {dialog::kUserList, kAllDescriptionsCaption, "All Descriptions"},
    {dialog::kUserList, kLinkLabelCaption, "Choose descriptions to link to favorite label :"},
    {dialog::kUserList, kNewListEntry, UserListStore::kNew},
    {dialog::kUserList, kAllListEntry, UserListStore::kAll},
    {dialog::kUserList, UserListEditor::kAddLabelsButton, ">>"},
    {dialog::kUserList, UserListEditor::kRemoveLabelButton, "Remove"},
    {dialog::kUserList, UserListEditor::kRemoveAllLabelsButton, "Remove &All"},
    {dialog::kUserList, UserListEditor::kLinkButton, ">>"},
    {dialog::kUserList, UserListEditor::kUnlinkButton, "Remove"},
    {dialog::kUserList, UserListEditor::kUnlinkAllButton, "Remove &All"},
    {dialog::kUserList, UserListEditor::kNewButton, "&New"},
    {dialog::kUserList, UserListEditor::kSaveButton, "&Save"},
    {dialog::kUserList, UserListEditor::kSaveAsButton, "Save &As"},
    {dialog::kUserList, UserListEditor::kSendButton, "Send to Receiver"},
    {dialog::kTemplateEditor, TemplateEditor::kMarkerKindRadio, "Tq Marker Templates"},
    {dialog::kTemplateEditor, TemplateEditor::kTraceKindRadio, "Trace Templates"},
    {dialog::kTemplateEditor, kTemplateNameLabel, "Template Name"},
    {dialog::kTemplateEditor, TemplateEditor::kBrowseButton, "&Browse"},
    {dialog::kTemplateEditor, kUserListLabel, "Favorite User List"},
    {dialog::kTemplateEditor, kLabelsHeading, "LABELS"},
    {dialog::kTemplateEditor, kDescriptionsHeading, "DESCRIPTIONS"},
    {dialog::kTemplateEditor, kShowAllEntry, TemplateEditor::kShowAll},
    {dialog::kTemplateEditor, kAllUserListsEntry, UserListStore::kAll},
    {dialog::kTemplateEditor, TemplateEditor::kClearButton, "&Clear"},
    {dialog::kTemplateEditor, TemplateEditor::kSaveAsButton, "Save &As"},
    {dialog::kTemplateEditor, TemplateEditor::kDownloadButton, "&Download Template(s)"},
    {dialog::kHelpViewer, HelpViewer::kTitleId, HelpViewer::kTitle},
    {dialog::kHelpViewer, kHelpPrompt, HelpViewer::kPrompt},

    // The template folder browser.
    {dialog::kBrowse, kCaption, TemplateBrowser::kCaption},
    {dialog::kBrowse, kOk, "OK"},
    {dialog::kBrowse, kCancel, "Cancel"},
    {dialog::kBrowse, kNavigateText, TemplateBrowser::kNavigateText},
    {dialog::kBrowse, kFilesText, TemplateBrowser::kFilesText},
    {dialog::kBrowse, kDrivesItem, FolderTree::kDrivesText},

    // The Name and Password dialogs (their captions and prompts come with
    // the question).
    {dialog::kNameDialog, kOk, "OK"},
    {dialog::kNameDialog, kCancel, "Cancel"},
    {dialog::kPasswordDialog, kOk, "OK"},
    {dialog::kPasswordDialog, kCancel, "Cancel"},

    // Message boxes and file dialogs.
    {dialog::kMessageBox, kOkButton, "OK"},
    {dialog::kMessageBox, kCancelButton, "Cancel"},
    {dialog::kMessageBox, kYesButton, "&Yes"},
    {dialog::kMessageBox, kNoButton, "&No"},
    {dialog::kFileDialog, kLookIn, "Look in:"},
    {dialog::kFileDialog, kFileName, "File name:"},
    {dialog::kFileDialog, kFileType, "Files of type:"},
    {dialog::kFileDialog, kOpenButton, "&Open"},
    {dialog::kFileDialog, kSaveButton, "&Save"},
    {dialog::kFileDialog, kCancelFileButton, "Cancel"},
};

const std::map<DialogTextId, std::string_view> &englishTexts() {
  static const std::map<DialogTextId, std::string_view> texts = [] {
    std::map<DialogTextId, std::string_view> byId;
    for (const UiText &text : kTexts) {
      byId.emplace(DialogTextId{text.dialog, text.item}, text.english);
    }
    return byId;
  }();
  return texts;
}

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::span<const UiText> uiTexts() {
  return kTexts;
}

std::string_view englishText(int dialogId, int itemId) {
  const auto &texts = englishTexts();
  const auto found = texts.find({dialogId, itemId});
  return found == texts.end() ? std::string_view() : found->second;
}

QString uiText(const StringTable *strings, int dialogId, int itemId) {
  if (strings != nullptr) {
    if (const std::string *translated = strings->dialogText({dialogId, itemId})) {
      return QString::fromStdString(*translated);
    }
  }
  return fromView(englishText(dialogId, itemId));
}

QString DialogTexts::operator()(int itemId) const {
  return uiText(strings_, dialog_, itemId);
}

QString DialogTexts::format(int itemId, std::initializer_list<QString> args) const {
  QString text = (*this)(itemId);
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
    const qsizetype index = next.digitValue() - 1;
    if (text[i] == QLatin1Char('%') && index >= 0 && index < static_cast<qsizetype>(args.size())) {
      out += *(args.begin() + index);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

QString DialogTexts::string(StringId id) const {
  return QString::fromStdString(strings_ != nullptr ? strings_->text(id) : StringTable().text(id));
}

std::string packKey(int dialogId, int itemId) {
  return dialogId == 0 ? std::to_string(itemId)
                       : std::to_string(dialogId) + "." + std::to_string(itemId);
}

std::string englishLanguagePack() {
  std::vector<PackEntry> entries;
  for (const MissingText &text : missingTexts({})) {
    entries.push_back({text.item, text.english, text.dialog});
  }
  return "# tarnwick language pack: id<TAB>text, dialog texts as dialog.item\n" +
         formatLanguagePack(entries);
}

std::vector<MissingText> missingTexts(std::string_view pack) {
  std::set<DialogTextId> present;
  for (const PackEntry &entry : parseLanguagePack(pack)) {
    present.insert({entry.dialog, entry.id});
  }
  std::vector<MissingText> missing;
  const StringTable english;
  for (const StringId id : english.ids()) {
    if (present.count({0, id}) == 0) {
      missing.push_back({0, id, english.text(id)});
    }
  }
  for (const auto &[id, text] : englishTexts()) {
    if (present.count(id) == 0) {
      missing.push_back({id.dialog, id.item, std::string(text)});
    }
  }
  return missing;
}

} // namespace tarnwick::ui
