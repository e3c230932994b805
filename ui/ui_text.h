// Every visible text of the program's dialogs by resource id, as a translated
// resource library carries them: a dialog's caption (item 0), each control's
// text by the control's id, and the dialog's other texts (labels, column
// titles, list entries, tool tips, status texts) by ids from 9000 up. The
// English texts are built in here; a language pack replaces any of them with
// "dialog.item" lines, and what it leaves out stays English. Messages and
// status texts of the tools are strings of the StringTable instead.
#pragma once

#include "string_table.h"

#include <QString>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::ui {

// Windows without a resource number of their own get one from 900 up.
namespace dialog {
inline constexpr int kShared = 900;            // texts several dialogs show alike
inline constexpr int kConfigureReceiver = 901; // with its four pages
inline constexpr int kMarkerUtility = 902;     // the frame around its pages
inline constexpr int kMessageBox = 903;        // the buttons of message boxes
inline constexpr int kFileDialog = 904;        // the labels of the file dialogs
inline constexpr int kCommunicationOptions = 143;
inline constexpr int kTemplateEditor = 216;
inline constexpr int kUserList = 233;
inline constexpr int kNameDialog = 235;
inline constexpr int kMainScreen = 240;
inline constexpr int kBrowse = 241;
inline constexpr int kHelpViewer = 264;
inline constexpr int kPasswordDialog = 268;
inline constexpr int kReceiverVersion = 332;
} // namespace dialog

// The items from 9000 up, dialog by dialog.
namespace item {
inline constexpr int kCaption = 0;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// dialog::kShared
inline constexpr int kNotInThisVersion = 9001; // tool tip of a button without its tool
inline constexpr int kCharactersLeft = 9002;   // %1: how many more may be typed

// dialog::kMainScreen
inline constexpr int kSelectCountryText = 9001;
inline constexpr int kInitialConfigurationText = 9002;
inline constexpr int kConfigureReceiverText = 9003;
inline constexpr int kMarkerUtilityText = 9004;
inline constexpr int kLanguageConfigurationText = 9005;
inline constexpr int kUpgradeHintText = 9006;
inline constexpr int kLanguageLabel = 9007;
inline constexpr int kEnglishEntry = 9009; // the language list's first entry
inline constexpr int kPortButton = 9010;   // a control: opens Communication Options
inline constexpr int kStatusPort = 9011;   // %1 port, %2 rate
inline constexpr int kStatusNoPort = 9012;
inline constexpr int kStatusReceiver = 9013; // %1 model, %2 software version
inline constexpr int kStatusNoReceiver = 9014;
inline constexpr int kStatusTalking = 9015; // %1 what the tool waits for
inline constexpr int kStatusTalkingPlain = 9016;
inline constexpr int kStatusIdle = 9017;

// dialog::kCommunicationOptions
inline constexpr int kPortLabel = 9001;
inline constexpr int kRateLabel = 9002;
inline constexpr int kBpsLabel = 9003;
inline constexpr int kSimulatedPort = 9004; // %1 the device
inline constexpr int kRefusedHeading = 9005;
inline constexpr int kRefusedPort = 9006; // %1 device, %2 reason
inline constexpr int kReasonBusy = 9007;
inline constexpr int kReasonPermission = 9008; // %1 the dialout hint (string 61315)
inline constexpr int kReasonGone = 9009;
inline constexpr int kReasonInputOutput = 9010;
inline constexpr int kNoPortsListed = 9011;

// dialog::kReceiverVersion
inline constexpr int kShippedGroup = 9001;
inline constexpr int kReceiverGroup = 9002;
inline constexpr int kCompatibilityGroup = 9003;
inline constexpr int kModelLabel = 9004;
inline constexpr int kMainSoftwareLabel = 9005;
inline constexpr int kFirstSlotLabel = 9011; // 9011 ... 9016: the shipped rows in order

// dialog::kConfigureReceiver
inline constexpr int kSupervisorLogoutButton = 1207; // a control of its own
inline constexpr int kModelBoxLabel = 9001;
inline constexpr int kUnitsGroup = 9002;
inline constexpr int kFirstUnit = 9003; // 9003 ... 9005: cm, in, ft
inline constexpr int kDateGroup = 9006;
inline constexpr int kFirstDateFormat = 9007;      // 9007, 9008
inline constexpr int kFirstFrequencyColumn = 9010; // 9010 ... 9014
inline constexpr int kLegendHeading = 9020;
inline constexpr int kLegendEntry = 9025; // "= %1": a picture's meaning
inline constexpr int kStateEnabled = 9021;
inline constexpr int kStateDisabled = 9022;
inline constexpr int kStateMasked = 9023;
inline constexpr int kStateUnavailable = 9024;
inline constexpr int kSupervisorBanner = 9030;

// dialog::kMarkerUtility
inline constexpr int kGlossaryLanguageLabel = 9001;

// dialog::kUserList
inline constexpr int kListLabel = 9001;
inline constexpr int kAllLabelsCaption = 9002;
inline constexpr int kListLabelsCaption = 9003;
inline constexpr int kAllDescriptionsCaption = 9004;
inline constexpr int kLinkLabelCaption = 9005;
inline constexpr int kNewListEntry = 9006; // "*New"
inline constexpr int kAllListEntry = 9007; // "All"

// dialog::kTemplateEditor
inline constexpr int kTemplateNameLabel = 9001;
inline constexpr int kUserListLabel = 9002;
inline constexpr int kLabelsHeading = 9003;
inline constexpr int kDescriptionsHeading = 9004;
inline constexpr int kShowAllEntry = 9005; // "*ShowAll"
inline constexpr int kAllUserListsEntry = 9006;

// dialog::kHelpViewer
inline constexpr int kHelpPrompt = 9001;

// dialog::kBrowse
inline constexpr int kNavigateText = 9001;
inline constexpr int kFilesText = 9002;
inline constexpr int kDrivesItem = 9003;

// dialog::kMessageBox
inline constexpr int kOkButton = 9001;
inline constexpr int kCancelButton = 9002;
inline constexpr int kYesButton = 9003;
inline constexpr int kNoButton = 9004;

// dialog::kFileDialog
inline constexpr int kLookIn = 9001;
inline constexpr int kFileName = 9002;
inline constexpr int kFileType = 9003;
inline constexpr int kOpenButton = 9004;
inline constexpr int kSaveButton = 9005;
inline constexpr int kCancelFileButton = 9006;
} // namespace item

struct UiText {
  int dialog;
  int item;
  std::string_view english;
};

// Every dialog text, dialog by dialog.
std::span<const UiText> uiTexts();
// The built-in English text of a dialog text; empty when there is none.
std::string_view englishText(int dialog, int item);

// The texts of one dialog: the pack's where it has them, else English.
// strings may be null (English throughout).
class DialogTexts {
public:
  DialogTexts(const StringTable *strings, int dialog) : strings_(strings), dialog_(dialog) {}

  QString operator()(int item) const;
  // The text with its placeholders filled.
  QString format(int item, std::initializer_list<QString> args) const;
  // A string of the table (English when strings is null).
  QString string(StringId id) const;
  const StringTable *strings() const { return strings_; }

private:
  const StringTable *strings_;
  int dialog_;
};

QString uiText(const StringTable *strings, int dialog, int item);

// A text a pack lacks: a string (dialog 0) or a dialog text.
struct MissingText {
  int dialog = 0;
  int item = 0;
  std::string english;
};
// Every string of the built-in table and every dialog text the pack does not
// carry, in id order.
std::vector<MissingText> missingTexts(std::string_view pack);
// "dialog.item" or the string id, as a pack writes it.
std::string packKey(int dialog, int item);
// Every text in English as a pack: what a translator starts from.
std::string englishLanguagePack();

} // namespace tarnwick::ui
