#include "string_table.h"

#include <charconv>
#include <utility>

namespace tarnwick {

namespace {

struct BuiltIn {
  StringId id;
  const char *text;
};

constexpr BuiltIn kEnglish[] = {
    {sid::kNotAnInstallation,
     " is not an installation folder: it has no Cfg/BrimstelLocatorVersion.cfg. Name the "
     "installation with --workdir DIR."},
    {sid::kNamePortOption, "Name the receiver's serial device with --port DEVICE "
                           "(tarnwick-cli ports lists them)."},
    {sid::kDemoTakesNoArguments, "--demo runs alone: tarnwick-cli --demo"},
    {sid::kPseudoTerminalsNote, "Pseudo-terminals (such as a simulated receiver) are listed only "
                                "when named with --port DEVICE or in TARNWICK_PORTS."},
    {sid::kTemplateNameTooLong,
     "The template name is longer than 15 characters and cannot be sent to the receiver: "},
    {sid::kTemplateDataTooLong,
     "The template holds more data than the receiver takes and cannot be sent: "},
    {sid::kTemplateFileUnreadable, "The template file could not be read: "},
    {sid::kStagingNotCleared, "The template staging folder could not be emptied: "},
    {sid::kSavedTemplatesKept, "Not every saved user template was sent back to the receiver. "
                               "They are kept in "},
    {sid::kSeqIdHeader, "Seq ID"},
    {sid::kDepthHeader, "Depth(in)"},
    {sid::kCurrentHeader, "Current(mA)"},
    {sid::kFeatureNotInstalled, "This feature is currently not installed. Please select the "
                                "Software Upgrade option to install."},
    {sid::kOlderSoftwareNoDateTime,
     "You are running an older version of software in the receiver that does not support date/time "
     "stamp for the saved data. Click Yes to upgrade now."},
    {sid::kCableDataNotSupported, "Get Cable Data Records feature is not supported in this model."},
    {sid::kSerialIdHeader, "Serial ID"},
    {sid::kFreqHeader, "Freq"},
    {sid::kTypeHeader, "Type"},
    {sid::kDateTimeHeader, "Date & Time"},
    {sid::kCommentsHeader, "Comments"},
    {sid::kUserDataHeader, " "},
    {sid::kLatitudeHeader, "Latitude"},
    {sid::kLongitudeHeader, "Longitude"},
    {sid::kUtilityTelephone, "Telephone"},
    {sid::kUtilityPower, "Power"},
    {sid::kUtilityWater, "Water"},
    {sid::kUtilityWasteWater, "Waste Water"},
    {sid::kUtilityGeneralPurpose, "General Purpose"},
    {sid::kUtilityCommunication, "Communication"},
    {sid::kUtilityGas, "Gas"},
    {sid::kNeedKvWriter, "In order to perform this function, you need 6130 Kv Writer."},
    {sid::kSelectUtilityToWrite, "Please select a utility to write"},
    {sid::kSelectMarkersToWrite, "Please select markers to write"},
    {sid::kSelectTemplateToWrite, "Please select a template to write the marker"},
    {sid::kMarkersLockedAfterWriting,
     "Markers will be permanently locked after writing. Do you want to continue?"},
    {sid::kSelectUtilityToRead, "Please select a utility to read"},
    {sid::kWriterLowBattery,
     "Low Battery Voltage Detected. Please replace the batteries in the 6130Kv Writer."},
    {sid::kCannotWriteMarkers, "Cannot write to the marker(s)."},
    {sid::kUserDataLocked, "User Data is Locked."},
    {sid::kMarkerDataReadErrors, "Marker Data Read Errors."},
    {sid::kVeryLowSignalLevel, "Very Low Signal Level."},
    {sid::kIdMarkerDetected, "ID Marker Detected"},
    {sid::kUserDataAlreadyPresent, ". User Data already present. Do you want to overwrite?"},
    {sid::kEnterMarkersInFixture, "Please enter the number of markers in the fixture"},
    {sid::kUserDataMismatch, "User Data mismatch"},
    {sid::kReadingMarkers, "Reading Markers. Please wait ..."},
    {sid::kWritingMarkers, "Writing Markers. Please wait ..."},
    {sid::kFixtureCountMismatch,
     "Number of Markers in the fixture does not match total read markers."},
    {sid::kSetAsDefaultFolder, "Do you want to set this as the default folder?"},
    {sid::kReceiverNotResponding,
     "Receiver Not Responding. Please check if the unit is turned on."},
    {sid::kMarkersReadWithErrors, "Marker(s) read with Data Errors."},
    {sid::kMarkersLowSignal, "Marker(s) with low signal level detected."},
    {sid::kMarkersLocked, "Marker(s) locked."},
    {sid::kNoOtherLanguage, "No other language is supported."},
    {sid::kSelectTemplateType, "Please select the type of Templates to Create/Edit"},
    {sid::kTraceTemplatesNotSupported,
     "Trace Templates are not supported. Please Upgrade the Locator Software."},
    {sid::kUpgradeReceiverSoftware, "Please upgrade the receiver software. "},
    {sid::kNoUpgradeRequired, "No upgrade required. Software is up to date."},
    {sid::kSendingUserForms, "Sending User Forms, Please Wait...."},
    {sid::kWriteHistoryWillMove, "Write History Records from Locator will be stored on the PC and "
                                 "will be deleted from the Locator."},
    {sid::kIncompatibleMarkerTypes, "Incompatible Marker Types found - combination of Standard and "
                                    "Extended (\"X\") type markers."},
    {sid::kTemplateTooLargeForMarker, "Selected template size is too large for this marker. Select "
                                      "a different template to write OR use \"X\" type markers."},
    {sid::kStandardTemplateMemoryReached, "Reached Standard template memory size. If X-Type Marker "
                                          "Template, continue with editing the template."},
    {sid::kReplacePowerWithCePower,
     "Do you want to replace 169.8 kHz Power with 134 kHz CE Power frequency?"},
    {sid::kReplaceCePowerWithPower,
     "Do you want to replace 134 kHz CE Power with 169.8 kHz Power frequency?"},
    {sid::kModelNotConfigurable,
     "This model cannot be configured using Brimstel. Please use Toolbox option in the receiver."},
    {sid::kNoMarkerDetected, "No Marker Detected"},
    {sid::kMarkerReadyToProgram, "Marker Detected. Ready to Program"},
    {sid::kMoreThanOneMarker, "More Than One Marker Detected"},
    {sid::kWritingToMarker, "Writing to Marker"},
    {sid::kMarkerOutOfRange, "Marker Write Unsuccessful - Marker Out of Range"},
    {sid::kMarkerDataLocked, "Marker Write Unsuccessful - Data locked in Marker"},
    {sid::kMarkerNotResponding, "Marker Write Unsuccessful - Marker not Responding"},
    {sid::kFailedToOpenComport, "Failed to open the comport"},
    {sid::kFailedToWriteComport, "Failed to write to the comport"},
    {sid::kClickDownloadSelected, "Click \"Download selected files to Locator\" to send the files "
                                  "on the right side to the locator..."},
    {sid::kMaxTemplatesInLocator, "Maximum number of templates in the Locator is :"},
    {sid::kSelectPortAndRetry, "Please select a port and try again !"},
    {sid::kPortCouldNotOpen, "Port could not be open. Please try again !"},
    {sid::kErrorCommunicating, "Error Communicating to receiver. Verify serial cable connection "
                               "between PC and receiver. Verify Receiver is on.."},
    {sid::kDownloadingPleaseWait, "Downloading... Please wait !"},
    {sid::kDownloadInProgress, "Download already in progress... Please wait.."},
    {sid::kNoFilesSelected, "No files selected for download!"},
    {sid::kDataNotWrittenRetry, "Data was not written successfully. Retry number.. "},
    {sid::kErrorSendingTemplate,
     "Error in sending template. Please select template(s) and try again.."},
    {sid::kSentPrefix, "Sent "},
    {sid::kTemplatesSuffix, " template(s) "},
    {sid::kInterruptionWarning, "Interruption to the Download may leave the Unit non functioning. "
                                "Press OK to Continue to Download."},
    {sid::kEstablishingConnection, "Establishing connection with Receiver. Please wait..."},
    {sid::kUpgradeSafeModeCaption, "Upgrade Software : Safe Mode"},
    {sid::kSafeModeUseUpgrade,
     "Safe Mode detected. Please Use Upgrade Software Button in the Main Screen"},
    {sid::kErrorCommunicatingLocator, "Error Communicating with Locator.. "},
    {sid::kConnectAndPressDownload, "Connect PC to Receiver via Serial Cable. \nTurn Receiver On. "
                                    "And Press Download to try again. \n"},
    {sid::kCannotFind, "Cannot find "},
    {sid::kEepromConfigSuccessful, "EEPROM Config Download successful."},
    {sid::kRestartUnitToContinue, "Please restart unit to continue... "},
    {sid::kConnectPcToReceiver,
     "Connect PC to Receiver via Serial Cable. Turn Receiver On. Exit other Comport Applications."},
    {sid::kWaitForGlossary, "Please wait for Glossary download... "},
    {sid::kDownloadCompleted, "Download completed successfully!"},
    {sid::kDownloadTemplates, "Please download the Templates!"},
    {sid::kSendingEepromConfig, "Sending EEPROM Config data. Please wait..."},
    {sid::kProblemInDownload, "Problem in download"},
    {sid::kProblemSendingGlossaryVersion, "Problem sending glossary version"},
    {sid::kDownloadComplete, "Download complete!"},
    {sid::kLabelTermListProblem, "Labellist or term list download problem. Try again!"},
    {sid::kInitialConfigurationCaption, "Initial Configuration: "},
    {sid::kClickDownloadToStart, "Click Download Button to start downloading.."},
    {sid::kDownloadingConfigurationFiles,
     "Please wait while we download the configuration files.."},
    {sid::kDownloadingFrequencySelection, "Downloading Frequency Selection.."},
    {sid::kDownloadingFrequencyMasks, "Downloading Frequency Masks.."},
    {sid::kClickOnDownloadToStart, "Click on Download Button to start downloading..."},
    {sid::kLanguageDownloadingConfigurationFiles,
     "Please wait while we download the configuration files.."},
    {sid::kCheckingConnection, "Checking Connection with Locator.. Please Wait."},
    {sid::kMakeSureLocatorOn, "Make sure Locator is Powered On and Connected"},
    {sid::kRevisionNotValidated,
     "Model and Software Revision could not be validated, Try Again!!!"},
    {sid::kDownloadLatestVersion,
     "Please download the latest version of Brimstel from www.vandrel.example"},
    {sid::kValidatedSoftware, "Validated the Main and Model Software"},
    {sid::kDownloadingHelpFiles, "Downloading Help software files"},
    {sid::kDownloadingLanguageFiles, "Downloading Bitmaps, Strings and Language software files"},
    {sid::kDownloadingFontFiles, "Downloading Font and Strings files"},
    {sid::kDownloadFailed, "Download Failed !!! Please Try Again..."},
    {sid::kRestartingLocator, "Restarting the Locator.. Please wait.."},
    {sid::kProceedsWaitConfiguration, "Download Proceeds. Please wait for configuration.."},
    {sid::kGlossaryNeedsManualRestart,
     "Glossary needs to be downloaded,\nPlease Manually Restart the Unit to Proceed"},
    {sid::kProceedsWaitNextStep, "Download Proceeds.. Please wait for next step."},
    {sid::kGlossaryNotDownloaded,
     "Glossary Files are not downloaded, Please Download the Language Configuration Again."},
    {sid::kUnitNeedsReset, "Unit needs to be reset. Please contact your service Technician!"},
    {sid::kDownloadFileNotFound, "Download file not found. Select a file and try again!"},
    {sid::kPleaseWaitSuffix, " Please wait"},
    {sid::kTransferError, "An error occured during transfer. Please try again!"},
    {sid::kTimeoutError, "Timeout error! Could not complete download successfully"},
    {sid::kBytesTransferredContinuing, " bytes transferred. Continuing download. Please wait.."},
    {sid::kErrorWhileDownloading, "Error while downloading.  "},
    {sid::kBytesTransferred, " bytes transferred"},
    {sid::kDownloadCancelledByUser, "Download Cancelled by user. "},
    {sid::kFailedToOpenPort, "Failed to open port! Please connect and try again"},
    {sid::kTabFavoriteUserList, "Set up Favorite User List"},
    {sid::kTabCreateEditTemplates, "Create/Edit Templates"},
    {sid::kTabTransferSavedData, "Xfer Saved data"},
    {sid::kTabHelp, "Help"},
    {sid::kLoginAsSupervisor, "Please login as Supervisor"},
    {sid::kAddToExistingFile, "Do you want to Add to an existing file?"},
    {sid::kNoOrWrongResponse, "No receiver response or wrong receiver response"},
    {sid::kDeleteRecordsFromLocator, "Do you want to Delete the Records from Locator?"},
    {sid::kCannotBeUndone, "This operation can not be undone. Continue ?"},
    {sid::kNoCableData, "No Cable Data available on this receiver."},
    {sid::kMarkerRecordsCaption, "Marker records"},
    {sid::kCopyMarkerDataToFile, "&Copy Marker Data to File"},
    {sid::kFileOperationsGroup, "File Operations"},
    {sid::kRecordOpen, "&Open"},
    {sid::kRecordSave, "&Save"},
    {sid::kRecordSaveAs, "Save &As"},
    {sid::kRecordExport, "&Export"},
    {sid::kRecordExit, "E&xit"},
    {sid::kEditComments, "Edit Comments"},
    {sid::kEnterTheComments, "                 Enter the comments"},
    {sid::kRecordCopy, "&Copy"},
    {sid::kRecordCut, "Cu&t"},
    {sid::kRecordPaste, "&Paste"},
    {sid::kRecordDelete, "&Delete"},
    {sid::kGetReadMarkerData, "Get &Read Marker Data from Receiver"},
    {sid::kGetProgrammedMarkerData, "Get &Programmed Marker Data from Receiver"},
    {sid::kGetCableDataRecords, "Get &Cable Data Records from Receiver"},
    {sid::kRecordsProgress, "%1 of %2 records, %3 records/s"},
    {sid::kRecordsTimeLeft, ", %1 s left"},
    {sid::kNoPositionsToShow, "No record with a position"},
    {sid::kRestartLocator, "Please Restart the Locator for the changes to take effect.."},
    {sid::kRecordFileExported, "The Record file has been exported to "},
    {sid::kNoReadData, "No Read Data available on this receiver."},
    {sid::kNoProgrammedData, "No Programmed Data available on this receiver."},
    {sid::kUnableToOpenFile, "Unable to open the File. Please check the filename"},
    {sid::kNewMarkerRecord, "New Marker Record"},
    {sid::kSaveChangesTo, "Do you want to save the changes you made to "},
    {sid::kEnterValidId, "Enter 10 digits valid ID"},
    {sid::kMarkerIdPresent, "Marker ID already present"},
    {sid::kCommunicationProblem, "Communication problem"},
    {sid::kSentToLocator, "Successfully sent to the locator"},
    {sid::kLabelMaxChars, "Label can have Max. 8 Chars"},
    {sid::kDescriptionMaxChars, "Description can have Max. 14 Chars"},
    {sid::kLimitTemplateName, "Please limit template name to 15 characters or less!"},
    {sid::kLimitTemplateNameEnd, "Please limit template name to 15 characters or less!"},
    {sid::kOverwriteExistingFile, "Overwrite the existing file?"},
    {sid::kTemplateCreatedInEnglish,
     "This template was originally created in English. If you save it using the glossary language "
     "selected, some data may be lost."},
    {sid::kSaveTemplateInEnglish, "If you save this template in English, any other language "
                                  "characters may not be saved properly."},
    {sid::kSafeModeSelectModel,
     "Safe Mode detected. Please Select a Model from the Dropdown and Press Download"},
    {sid::kPleaseSelectModel, "Please Select a Model"},
    {sid::kModelNotValidated, "Model information can not be validated"},
    {sid::kSelectModelAndRetry, "Select a Model from the Dropdown. Press Download to try again.."},
    {sid::kModelDoesNotMatch, "does not match with the Selected Model\""},
    {sid::kDownloadingPrefix, "Downloading "},
    {sid::kUnknownDownloadError, "Unknown error during download. Please try again!"},
    {sid::kExportUnitRunInitialConfiguration,
     "Export Unit must Run Initial Configuration. \nFrequency Settings have been re-initialized to "
     "Defaults."},
    {sid::kFrequencySettingsReinitialised,
     "Frequency Settings have been re-initialized to Defaults."},
    {sid::kDownloadingDotPleaseWait, "Downloading. Please wait..."},
    {sid::kEnterSupervisorPassword, "Please Enter Supervisor Password..."},
    {sid::kInvalidPassword, "Invalid Password."},
    {sid::kPasswordChangedTo, "The Password is being changed to "},
    {sid::kSupervisorLoginRequired, "You should be logged in as Supervisor to change the "
                                    "password.\nPlease Login by clicking Supervisor Login button."},
    {sid::kTabWriterStation, "Kv Writer Station"},
    {sid::kSignalLevel, "SignalLevel"},
    {sid::kPathModeCompatible, "Path Mode Compatible with latest S/W"},
    {sid::kPathModeNotCompatible, "Path Mode Not Compatible !!!"},
    {sid::kLibraryNotLoaded, "The serial library Quillport could not be loaded. Looked for: "},
    {sid::kLibraryMissingExports, "The serial library Quillport lacks the entry points: "},
    {sid::kReceiverToolsUnavailable,
     "The receiver tools cannot run until the serial library is installed correctly."},
    {sid::kPortPermissionDenied, "Access to the serial port was refused: "},
    {sid::kDialoutGroupHint,
     "Your user is not in the dialout group. Add it with \"sudo usermod -aG dialout $USER\", "
     "then log out and log in again."},
    {sid::kLanguageResourcesNotFound,
     "Language Resources are not found. English will be used instead \n"},
    {sid::kErrorCreatingDialogObject, "Error Creating Dialog Object"},
    {sid::kErrorCreatingDialog, "Error creating Dialog"},
    {sid::kConfigurationFilesMissing,
     "Some configuration files are missing..\nInitial Configuration can not be performed.."},
    {sid::kRestartForLanguage,
     "Please Exit and start Brimstel again to see the new Language changes !!!"},
    {sid::kHelpNotAvailable, "Help not available"},
    {sid::kFileNotSaved, "The file could not be saved: "},
    {sid::kOutOfTemplateMemory, "Out of allowed Memory for the Template"},
    {sid::kMaxLabelsInList, "Maximum number of items in the label glossary.. "},
    {sid::kNameListBeforeLinking, "Please Name the User list(click on Save As button) before you "
                                  "link labels to descriptions."},
    {sid::kMaxLinksForLabel, "Maximum number of  links for a label is : "},
    {sid::kEnterUserListName, "Enter a User List name less than 5 chars"},
    {sid::kCannotSaveWithName, "Cannot Save with the name given. Please try again!"},
    {sid::kUserListFileExists, "This file already exists. Please try again!"},
    {sid::kUserListExistsOverwrite, "User List already exists. Overwrite?"},
    {sid::kSaveUserListChanges,
     "Please click on Save Button to Save changes you have made to this user list"},
    {sid::kSelectUserListToSend, "Please select a User List to Send"},
    {sid::kMaxUserLists, "Maximum number of user lists is : "},
    {sid::kTemplateMemoryUsage, "Memory usage for this template      :"},
    {sid::kTemplateMemoryRemaining, "% Remaining"},
    {sid::kTabUnitsAndDate, "Units And Date"},
    {sid::kTabMarkerTypes, "Marker types"},
    {sid::kTabLocateFrequencies, "Locate frequencies"},
    {sid::kTabToneFrequencies, "Tone frequencies"},
    {sid::kConfigurationNotValid, "This configuration is not valid for the model selected above."},
    {sid::kFrequencyNotAvailable, "This frequency is not available for "},
    {sid::kEnterFrequency, "Enter the frequency in the range 50 - 999"},
    {sid::kFrequencyOutOfRange, "Please enter a frequency in the range 50 to 999Hz"},
    {sid::kConfigureReceiverStart, "Make Selection. Save Configuration. Connect PC to Receiver. "
                                   "Turn Receiver on. Press Send Config."},
    {sid::kEnterConfigurationName, "Please enter a name to save this configuration data"},
    {sid::kNewConfigurationCaption, "New Configuration"},
    {sid::kReceiverModelPrefix, "Receiver Model"},
    {sid::kEnterNewPassword, "Please Enter New Password..."},
    {sid::kGroupPositionPrefix, "i :"},
    {sid::kItemPositionPrefix, ", j :"},
    {sid::kSelectUserListToDownload, "Select User List to download to Receiver"},
    {sid::kProblemDownloadingList, "Problem in downloading list: "},
    {sid::kTransferredPrefix, "Transferred  "},
    {sid::kUserListSuffix, "User list"},
    {sid::kProblemAfterList, "Problem in download after list :"},
    {sid::kDownloadCanceled, "Download canceled by user..."},
    {sid::kStopWhileSending,
     "Data is still being sent to the receiver. Stopping now leaves the unit with only part of "
     "it, and the unit may not work as it should until it is sent again. Stop now?"},
    {sid::kModelCheckLosesChanges,
     "The receiver is a %1. Selecting its model sets every setting to the defaults of that model, "
     "and the changes you have not saved are lost. Select it?"},
    {sid::kModelFromReceiverCaption, "%1 defaults from the receiver - not saved"},
    {sid::kEntryLocked, "%1 is now locked: the receiver's user cannot change it."},
    {sid::kEntryUnlocked, "%1 is no longer locked."},
    {sid::kSupervisorLoggedOut, "Supervisor logged out."},
    {sid::kReadingReceiverIdentity, "Reading the receiver's model and software.. Please Wait."},
    {sid::kOpenTitle, "Open"},
    {sid::kSaveAsTitle, "Save As"},
    {sid::kUserListNameTitle, "User List Name"},
    {sid::kConfigurationOpenFilter, "Configuration Files(*.cfg)|*.cfg|"},
    {sid::kConfigurationSaveFilter, "User template Files(*.cfg)|*.cfg|"},
    {sid::kTemplateOpenFilter, "User template Files(*.utl)|*.utl|"},
    {sid::kTemplateSaveFilter, "Template Files(*.utl)|*.utl|"},
    {sid::kPasswordTitle, "Password..."},
    {sid::kMarkerTelephone, "Telephone"},
    {sid::kMarkerPower, "Power"},
    {sid::kMarkerGas, "Gas"},
    {sid::kMarkerWater, "Water"},
    {sid::kMarkerWasteWater, "Waster Water"},
    {sid::kMarkerCommunication, "Communication"},
    {sid::kMarkerGeneralPurpose, "General Purpose"},
    {sid::kMarkerIdf, "IDF"},
    {sid::kMarkerCePower, "CE Power"},
    {sid::kUnsetUserSlot, "U F%1"},
    {sid::kSupervisorLoggedIn, "Supervisor logged in: a click on a switched-on entry locks it. "
                               "Supervisor Logout ends the session."},
    {sid::kDownloadGlossaryButton, "Download Glossary"},
    {sid::kCancelDownloadButton, "Cancel Download"},
    {sid::kExitPlainButton, "Exit"},
    {sid::kDownloadFavUserListButton, "&Download Fav User List"},
    {sid::kCancelDownloadListButton, "&Cancel Download List"},
    {sid::kExitButton, "E&xit"},
    {sid::kDownloadDescriptionListButton, "&Download Description List"},
    {sid::kSendDescriptionLinksButton, "Send Description Links"},
    {sid::kDownloadFigures, "%1 of %2 items, %3 items/s, %4 s left"},
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    if (next == 'n') {
      out += '\n';
    } else if (next == 't') {
      out += '\t';
    } else if (next == 'r') {
      out += '\r';
    } else if (next == '\\') {
      out += '\\';
    } else {
      out += '\\';
      out += next;
    }
  }
  return out;
}

std::string escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

bool parseNumber(std::string_view number, int &value) {
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  return error == std::errc() && end == number.data() + number.size() && value >= 0;
}

// "61283" or "240.1109".
bool parsePackId(std::string_view key, PackEntry &entry) {
  const auto dot = key.find('.');
  if (dot == std::string_view::npos) {
    entry.dialog = 0;
    return parseNumber(key, entry.id);
  }
  return parseNumber(key.substr(0, dot), entry.dialog) && entry.dialog > 0 &&
         parseNumber(key.substr(dot + 1), entry.id);
}

bool parsePackLine(std::string_view line, PackEntry &entry) {
  const auto tab = line.find('\t');
  if (tab == std::string_view::npos || tab == 0 || !parsePackId(line.substr(0, tab), entry)) {
    return false;
  }
  entry.text = unescape(line.substr(tab + 1));
  return true;
}

} // namespace

std::string formatText(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
      out += *(args.begin() + index);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

StringTable::StringTable() {
  for (const BuiltIn &entry : kEnglish) {
    texts_.emplace(entry.id, entry.text);
  }
}

std::size_t StringTable::builtInCount() {
  return std::size(kEnglish);
}

const std::string &StringTable::text(StringId id) const {
  static const std::string kNone;
  const auto found = texts_.find(id);
  return found != texts_.end() ? found->second : kNone;
}

bool StringTable::has(StringId id) const {
  return texts_.count(id) != 0;
}

void StringTable::set(StringId id, std::string text) {
  texts_[id] = std::move(text);
}

std::vector<StringId> StringTable::ids() const {
  std::vector<StringId> result;
  result.reserve(texts_.size());
  for (const auto &entry : texts_) {
    result.push_back(entry.first);
  }
  return result;
}

std::string StringTable::format(StringId id, std::initializer_list<std::string_view> args) const {
  return formatText(text(id), args);
}

const std::string *StringTable::dialogText(DialogTextId id) const {
  const auto found = dialogTexts_.find(id);
  return found == dialogTexts_.end() ? nullptr : &found->second;
}

std::size_t StringTable::applyLanguagePack(std::string_view pack) {
  std::size_t replaced = 0;
  for (PackEntry &entry : parseLanguagePack(pack)) {
    if (entry.dialog != 0) {
      dialogTexts_[{entry.dialog, entry.id}] = std::move(entry.text);
      ++replaced;
      continue;
    }
    const auto found = texts_.find(entry.id);
    if (found != texts_.end()) {
      found->second = std::move(entry.text);
      ++replaced;
    }
  }
  return replaced;
}

std::vector<PackEntry> parseLanguagePack(std::string_view pack) {
  if (pack.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    pack.remove_prefix(kByteOrderMark.size());
  }
  std::vector<PackEntry> entries;
  while (!pack.empty()) {
    const auto end = pack.find('\n');
    std::string_view line = pack.substr(0, end);
    pack.remove_prefix(end == std::string_view::npos ? pack.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    PackEntry entry;
    if (!line.empty() && line.front() != '#' && parsePackLine(line, entry)) {
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

std::string formatLanguagePack(const std::vector<PackEntry> &entries) {
  std::string out;
  for (const PackEntry &entry : entries) {
    if (entry.dialog != 0) {
      out += std::to_string(entry.dialog);
      out += '.';
    }
    out += std::to_string(entry.id);
    out += '\t';
    out += escape(entry.text);
    out += '\n';
  }
  return out;
}

} // namespace tarnwick
