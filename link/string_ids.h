// Resource ids of the message, status and caption texts. Language packs
// carry the same ids.
#pragma once

namespace tarnwick {

using StringId = int;

namespace sid {

// The texts the receiver tools show, by their resource id.
inline constexpr StringId kSeqIdHeader = 106;
inline constexpr StringId kDepthHeader = 107;
inline constexpr StringId kCurrentHeader = 108;
inline constexpr StringId kFeatureNotInstalled = 109;
inline constexpr StringId kOlderSoftwareNoDateTime = 110;
inline constexpr StringId kCableDataNotSupported = 111;
inline constexpr StringId kSerialIdHeader = 131;
inline constexpr StringId kFreqHeader = 133;
inline constexpr StringId kTypeHeader = 134;
inline constexpr StringId kDateTimeHeader = 135;
inline constexpr StringId kCommentsHeader = 137;
inline constexpr StringId kUserDataHeader = 146;
inline constexpr StringId kLatitudeHeader = 148;
inline constexpr StringId kLongitudeHeader = 149;
inline constexpr StringId kUtilityTelephone = 152;
inline constexpr StringId kUtilityPower = 153;
inline constexpr StringId kUtilityWater = 154;
inline constexpr StringId kUtilityWasteWater = 155;
inline constexpr StringId kUtilityGeneralPurpose = 156;
inline constexpr StringId kUtilityCommunication = 157;
inline constexpr StringId kUtilityGas = 158;
inline constexpr StringId kNeedKvWriter = 164;
inline constexpr StringId kSelectUtilityToWrite = 165;
inline constexpr StringId kSelectMarkersToWrite = 166;
inline constexpr StringId kSelectTemplateToWrite = 167;
inline constexpr StringId kMarkersLockedAfterWriting = 168;
inline constexpr StringId kSelectUtilityToRead = 169;
inline constexpr StringId kWriterLowBattery = 170;
inline constexpr StringId kCannotWriteMarkers = 171;
inline constexpr StringId kUserDataLocked = 172;
inline constexpr StringId kMarkerDataReadErrors = 173;
inline constexpr StringId kVeryLowSignalLevel = 174;
inline constexpr StringId kIdMarkerDetected = 175;
inline constexpr StringId kUserDataAlreadyPresent = 176;
inline constexpr StringId kEnterMarkersInFixture = 177;
inline constexpr StringId kUserDataMismatch = 178;
inline constexpr StringId kReadingMarkers = 179;
inline constexpr StringId kWritingMarkers = 180;
inline constexpr StringId kFixtureCountMismatch = 181;
inline constexpr StringId kSetAsDefaultFolder = 182;
inline constexpr StringId kReceiverNotResponding = 183;
inline constexpr StringId kMarkersReadWithErrors = 185;
inline constexpr StringId kMarkersLowSignal = 186;
inline constexpr StringId kMarkersLocked = 187;
inline constexpr StringId kNoOtherLanguage = 189;
inline constexpr StringId kSelectTemplateType = 190;
inline constexpr StringId kTraceTemplatesNotSupported = 193;
inline constexpr StringId kUpgradeReceiverSoftware = 194;
inline constexpr StringId kNoUpgradeRequired = 195;
inline constexpr StringId kSendingUserForms = 196;
inline constexpr StringId kWriteHistoryWillMove = 197;
inline constexpr StringId kIncompatibleMarkerTypes = 198;
inline constexpr StringId kTemplateTooLargeForMarker = 199;
inline constexpr StringId kStandardTemplateMemoryReached = 201;
inline constexpr StringId kReplacePowerWithCePower = 202;
inline constexpr StringId kReplaceCePowerWithPower = 203;
inline constexpr StringId kModelNotConfigurable = 204;
inline constexpr StringId kNoMarkerDetected = 61223;
inline constexpr StringId kMarkerReadyToProgram = 61224;
inline constexpr StringId kMoreThanOneMarker = 61225;
inline constexpr StringId kWritingToMarker = 61227;
inline constexpr StringId kMarkerOutOfRange = 61228;
inline constexpr StringId kMarkerDataLocked = 61229;
inline constexpr StringId kMarkerNotResponding = 61230;
inline constexpr StringId kFailedToOpenComport = 61272;
inline constexpr StringId kFailedToWriteComport = 61274;
inline constexpr StringId kClickDownloadSelected = 61281;
inline constexpr StringId kMaxTemplatesInLocator = 61282;
inline constexpr StringId kSelectPortAndRetry = 61283;
inline constexpr StringId kPortCouldNotOpen = 61284;
inline constexpr StringId kErrorCommunicating = 61285;
inline constexpr StringId kDownloadingPleaseWait = 61286;
inline constexpr StringId kDownloadInProgress = 61287;
inline constexpr StringId kNoFilesSelected = 61288;
inline constexpr StringId kDataNotWrittenRetry = 61289;
inline constexpr StringId kErrorSendingTemplate = 61290;
inline constexpr StringId kSentPrefix = 61291;
inline constexpr StringId kTemplatesSuffix = 61292;
inline constexpr StringId kInterruptionWarning = 61293;
inline constexpr StringId kEstablishingConnection = 61296;
inline constexpr StringId kUpgradeSafeModeCaption = 61297;
inline constexpr StringId kSafeModeUseUpgrade = 61298;
inline constexpr StringId kErrorCommunicatingLocator = 61299;
inline constexpr StringId kConnectAndPressDownload = 61300;
inline constexpr StringId kCannotFind = 61301;
inline constexpr StringId kEepromConfigSuccessful = 61302;
inline constexpr StringId kRestartUnitToContinue = 61303;
inline constexpr StringId kConnectPcToReceiver = 61304;
inline constexpr StringId kWaitForGlossary = 61305;
inline constexpr StringId kDownloadCompleted = 61306;
inline constexpr StringId kDownloadTemplates = 61307;
inline constexpr StringId kSendingEepromConfig = 61308;
inline constexpr StringId kProblemInDownload = 61321;
inline constexpr StringId kProblemSendingGlossaryVersion = 61322;
inline constexpr StringId kDownloadComplete = 61323;
inline constexpr StringId kLabelTermListProblem = 61324;
inline constexpr StringId kInitialConfigurationCaption = 61325;
inline constexpr StringId kClickDownloadToStart = 61326;
inline constexpr StringId kDownloadingConfigurationFiles = 61327;
inline constexpr StringId kDownloadingFrequencySelection = 61328;
inline constexpr StringId kDownloadingFrequencyMasks = 61329;
inline constexpr StringId kClickOnDownloadToStart = 61334;
inline constexpr StringId kLanguageDownloadingConfigurationFiles = 61335;
inline constexpr StringId kCheckingConnection = 61336;
inline constexpr StringId kMakeSureLocatorOn = 61337;
inline constexpr StringId kRevisionNotValidated = 61338;
inline constexpr StringId kDownloadLatestVersion = 61339;
inline constexpr StringId kValidatedSoftware = 61340;
inline constexpr StringId kDownloadingHelpFiles = 61341;
inline constexpr StringId kDownloadingLanguageFiles = 61342;
inline constexpr StringId kDownloadingFontFiles = 61343;
inline constexpr StringId kDownloadFailed = 61344;
inline constexpr StringId kRestartingLocator = 61345;
inline constexpr StringId kProceedsWaitConfiguration = 61347;
inline constexpr StringId kGlossaryNeedsManualRestart = 61348;
inline constexpr StringId kProceedsWaitNextStep = 61349;
inline constexpr StringId kGlossaryNotDownloaded = 61350;
inline constexpr StringId kUnitNeedsReset = 61351;
inline constexpr StringId kDownloadFileNotFound = 61352;
inline constexpr StringId kPleaseWaitSuffix = 61353;
inline constexpr StringId kTransferError = 61354;
inline constexpr StringId kTimeoutError = 61355;
inline constexpr StringId kBytesTransferredContinuing = 61356;
inline constexpr StringId kErrorWhileDownloading = 61357;
inline constexpr StringId kBytesTransferred = 61358;
inline constexpr StringId kDownloadCancelledByUser = 61359;
inline constexpr StringId kFailedToOpenPort = 61361;
inline constexpr StringId kTabFavoriteUserList = 61363;
inline constexpr StringId kTabCreateEditTemplates = 61364;
inline constexpr StringId kTabTransferSavedData = 61365;
inline constexpr StringId kTabHelp = 61366;
inline constexpr StringId kLoginAsSupervisor = 61372;
inline constexpr StringId kAddToExistingFile = 61376;
inline constexpr StringId kNoOrWrongResponse = 61377;
inline constexpr StringId kDeleteRecordsFromLocator = 61378;
inline constexpr StringId kCannotBeUndone = 61379;
inline constexpr StringId kRestartLocator = 61381;
inline constexpr StringId kRecordFileExported = 61382;
inline constexpr StringId kNoReadData = 61383;
inline constexpr StringId kNoProgrammedData = 61384;
inline constexpr StringId kUnableToOpenFile = 61386;
inline constexpr StringId kNewMarkerRecord = 61387;
inline constexpr StringId kSaveChangesTo = 61388;
inline constexpr StringId kEnterValidId = 61389;
inline constexpr StringId kMarkerIdPresent = 61390;
inline constexpr StringId kCommunicationProblem = 61391;
inline constexpr StringId kSentToLocator = 61392;
inline constexpr StringId kLabelMaxChars = 61393;
inline constexpr StringId kDescriptionMaxChars = 61394;
// Each of 61395 and 61396 is the whole message: for a name given with ".utl"
// and without it.
inline constexpr StringId kLimitTemplateName = 61395;
inline constexpr StringId kLimitTemplateNameEnd = 61396;
inline constexpr StringId kOverwriteExistingFile = 61397;
inline constexpr StringId kTemplateCreatedInEnglish = 61398;
inline constexpr StringId kSaveTemplateInEnglish = 61399;
inline constexpr StringId kSafeModeSelectModel = 61401;
inline constexpr StringId kPleaseSelectModel = 61402;
inline constexpr StringId kModelNotValidated = 61403;
inline constexpr StringId kSelectModelAndRetry = 61404;
inline constexpr StringId kModelDoesNotMatch = 61405;
inline constexpr StringId kDownloadingPrefix = 61407;
inline constexpr StringId kUnknownDownloadError = 61408;
inline constexpr StringId kExportUnitRunInitialConfiguration = 61409;
inline constexpr StringId kFrequencySettingsReinitialised = 61410;
inline constexpr StringId kDownloadingDotPleaseWait = 61417;
inline constexpr StringId kEnterSupervisorPassword = 61418;
inline constexpr StringId kInvalidPassword = 61419;
inline constexpr StringId kPasswordChangedTo = 61421;
inline constexpr StringId kSupervisorLoginRequired = 61422;
inline constexpr StringId kTabWriterStation = 61424;
inline constexpr StringId kSignalLevel = 61438;

// Texts of the receiver link that had no id of their own; 61309-61315 were
// unused in the table.
inline constexpr StringId kPathModeCompatible = 61309;
inline constexpr StringId kPathModeNotCompatible = 61310;
inline constexpr StringId kLibraryNotLoaded = 61311;      // followed by the paths tried
inline constexpr StringId kLibraryMissingExports = 61312; // followed by the missing names
inline constexpr StringId kReceiverToolsUnavailable = 61313;
inline constexpr StringId kPortPermissionDenied = 61314; // followed by the device
inline constexpr StringId kDialoutGroupHint = 61315;

// Texts of the application shell without an id of their own; 61316-61320 and
// 61330-61333 were unused in the table.
inline constexpr StringId kLanguageResourcesNotFound = 61316; // followed by the pack's path
inline constexpr StringId kErrorCreatingDialogObject = 61317;
inline constexpr StringId kErrorCreatingDialog = 61318;
inline constexpr StringId kConfigurationFilesMissing = 61319;
inline constexpr StringId kRestartForLanguage = 61320;
inline constexpr StringId kHelpNotAvailable = 61330;
inline constexpr StringId kFileNotSaved = 61331; // followed by the path; any tool's failed write

// Texts of the configuration editor without an id of their own; 61367-61371,
// 61373-61375, 61411-61414 and 61420 were unused in the table.
inline constexpr StringId kTabUnitsAndDate = 61367;
inline constexpr StringId kTabMarkerTypes = 61368;
inline constexpr StringId kTabLocateFrequencies = 61369;
inline constexpr StringId kTabToneFrequencies = 61370;
inline constexpr StringId kConfigurationNotValid = 61371;  // a page's hidden "not valid" text
inline constexpr StringId kFrequencyNotAvailable = 61373;  // followed by the country name
inline constexpr StringId kEnterFrequency = 61374;         // Name dialog, free slot
inline constexpr StringId kFrequencyOutOfRange = 61375;    // Name dialog, locked slot; refusal
inline constexpr StringId kConfigureReceiverStart = 61411; // the editor's first status text
inline constexpr StringId kEnterConfigurationName = 61412; // Save As under "untitled"
inline constexpr StringId kNewConfigurationCaption = 61413;
inline constexpr StringId kReceiverModelPrefix = 61414; // start of the model mismatch message
inline constexpr StringId kEnterNewPassword = 61420;

// Texts of templates and user lists that had no id of their own; 61425-61437
// were unused in the table.
inline constexpr StringId kOutOfTemplateMemory = 61425;
inline constexpr StringId kMaxLabelsInList = 61426; // followed by 88
inline constexpr StringId kNameListBeforeLinking = 61427;
inline constexpr StringId kMaxLinksForLabel = 61428;  // followed by 16
inline constexpr StringId kEnterUserListName = 61429; // the Name dialog's prompt
inline constexpr StringId kCannotSaveWithName = 61430;
inline constexpr StringId kUserListFileExists = 61431;      // New on an existing name
inline constexpr StringId kUserListExistsOverwrite = 61432; // Save As on an existing name, Yes/No
inline constexpr StringId kSaveUserListChanges = 61433;
inline constexpr StringId kSelectUserListToSend = 61434;
inline constexpr StringId kMaxUserLists = 61435;            // followed by 99
inline constexpr StringId kTemplateMemoryUsage = 61436;     // static text before the percentage
inline constexpr StringId kTemplateMemoryRemaining = 61437; // static text after it

// Texts of the command line without an id of their own; 61500-61509.
inline constexpr StringId kNotAnInstallation = 61500; // preceded by the folder
inline constexpr StringId kDemoTakesNoArguments = 61501;
inline constexpr StringId kPseudoTerminalsNote = 61502;
inline constexpr StringId kNamePortOption = 61503;

// Texts of the glossary, user list and description list downloads that had
// no id of their own; 61294-61295, 61332-61333, 61346, 61360, 61362 and 61415
// were unused in the table.
inline constexpr StringId kGroupPositionPrefix = 61294; // after 61321: the group's position
inline constexpr StringId kItemPositionPrefix = 61295;  // then the item's position
inline constexpr StringId kSelectUserListToDownload = 61332;
inline constexpr StringId kProblemDownloadingList = 61333; // followed by the list's name
inline constexpr StringId kTransferredPrefix = 61346;      // the list's name, then 61360
inline constexpr StringId kUserListSuffix = 61360;
inline constexpr StringId kProblemAfterList = 61362; // followed by the entry's header value
inline constexpr StringId kDownloadCanceled = 61415; // the dialog closed during a download

// Texts of the record tools without an id of their own; 61380 was unused in
// the table.
inline constexpr StringId kNoCableData = 61380;

// Texts of the program's own safeguards and status, which had no id of their
// own; 61240-61255 were unused in the table.
inline constexpr StringId kStopWhileSending = 61240;         // closing a dialog whose tool sends
inline constexpr StringId kModelCheckLosesChanges = 61241;   // %1: the receiver's model
inline constexpr StringId kModelFromReceiverCaption = 61242; // %1: the model
inline constexpr StringId kEntryLocked = 61243;              // %1: the entry's name
inline constexpr StringId kEntryUnlocked = 61244;            // %1: the entry's name
inline constexpr StringId kSupervisorLoggedOut = 61245;
inline constexpr StringId kReadingReceiverIdentity = 61246; // after the liveness check
inline constexpr StringId kOpenTitle = 61247;               // an open-file dialog's title
inline constexpr StringId kSaveAsTitle = 61248;             // a save-file dialog's title
inline constexpr StringId kUserListNameTitle = 61249;       // the Name dialog's caption
inline constexpr StringId kConfigurationOpenFilter = 61250;
inline constexpr StringId kConfigurationSaveFilter = 61251;
inline constexpr StringId kTemplateOpenFilter = 61252;
inline constexpr StringId kTemplateSaveFilter = 61253;
inline constexpr StringId kSupervisorLoggedIn = 61254; // the status line after a login
inline constexpr StringId kPasswordTitle = 61255;      // the Password dialog's caption

// The names the configuration lists show for their entries, where a name is
// a word rather than a frequency; 61256-61265 were unused in the table.
inline constexpr StringId kMarkerTelephone = 61256;
inline constexpr StringId kMarkerPower = 61257;
inline constexpr StringId kMarkerGas = 61258;
inline constexpr StringId kMarkerWater = 61259;
inline constexpr StringId kMarkerWasteWater = 61260;
inline constexpr StringId kMarkerCommunication = 61261;
inline constexpr StringId kMarkerGeneralPurpose = 61262;
inline constexpr StringId kMarkerIdf = 61263;
inline constexpr StringId kMarkerCePower = 61264;
inline constexpr StringId kUnsetUserSlot = 61265; // %1: the slot's number

// Texts of the template transfer without an id of their own; 61520-61539.
inline constexpr StringId kTemplateNameTooLong = 61520;    // followed by the name
inline constexpr StringId kTemplateDataTooLong = 61521;    // followed by the file
inline constexpr StringId kTemplateFileUnreadable = 61522; // followed by the file
inline constexpr StringId kStagingNotCleared = 61523;      // followed by the folder and why
inline constexpr StringId kSavedTemplatesKept = 61524;     // followed by the folder

// Texts of the record dialog and the transfer page without an id of their
// own, in the range 61540-61559.
inline constexpr StringId kMarkerRecordsCaption = 61540;
inline constexpr StringId kCopyMarkerDataToFile = 61541;
inline constexpr StringId kFileOperationsGroup = 61542;
inline constexpr StringId kRecordOpen = 61543;
inline constexpr StringId kRecordSave = 61544;
inline constexpr StringId kRecordSaveAs = 61545;
inline constexpr StringId kRecordExport = 61546;
inline constexpr StringId kRecordExit = 61547;
inline constexpr StringId kEditComments = 61548; // the menu item and the dialog's caption
inline constexpr StringId kEnterTheComments = 61549;
inline constexpr StringId kRecordCopy = 61550;
inline constexpr StringId kRecordCut = 61551;
inline constexpr StringId kRecordPaste = 61552;
inline constexpr StringId kRecordDelete = 61553;
inline constexpr StringId kGetReadMarkerData = 61554;
inline constexpr StringId kGetProgrammedMarkerData = 61555;
inline constexpr StringId kGetCableDataRecords = 61556;
inline constexpr StringId kRecordsProgress = 61557;   // received, total, rate; then 61558
inline constexpr StringId kRecordsTimeLeft = 61558;   // seconds left
inline constexpr StringId kNoPositionsToShow = 61559; // the positions view without a fix

// Texts of the download dialogs' controls and their figures line without an
// id of their own; 61560-61579.
inline constexpr StringId kDownloadGlossaryButton = 61560;
inline constexpr StringId kCancelDownloadButton = 61561;
inline constexpr StringId kExitPlainButton = 61562;
inline constexpr StringId kDownloadFavUserListButton = 61563;
inline constexpr StringId kCancelDownloadListButton = 61564;
inline constexpr StringId kExitButton = 61565;
inline constexpr StringId kDownloadDescriptionListButton = 61566;
inline constexpr StringId kSendDescriptionLinksButton = 61567; // on the user list page
inline constexpr StringId kDownloadFigures = 61568; // items done, total, rate, seconds left

} // namespace sid
} // namespace tarnwick
