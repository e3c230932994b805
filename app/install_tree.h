// The installation tree under the working folder. Every path of the program
// is the working folder followed by one of the relative paths below; they are
// written with "\" as the installation data names them and resolve with native
// separators, finding names whatever their case.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

namespace install {

// Folders.
inline constexpr std::string_view kCfg = "\\Cfg";
inline constexpr std::string_view kMultiMarker = "\\Cfg\\Multi_Marker"; // writer station icons
inline constexpr std::string_view kSoftware = "\\Software";
inline constexpr std::string_view kResources = "\\Software\\Resources"; // language packs
inline constexpr std::string_view kGlossaries = "\\Software\\Glossary";
inline constexpr std::string_view kEnglishGlossary = "\\Software\\Glossary\\English";
inline constexpr std::string_view kLanguagePackages = "\\Software\\Language";
inline constexpr std::string_view kTemplates = "\\Templates";
inline constexpr std::string_view kTraceTemplates = "\\Templates\\Trace";
inline constexpr std::string_view kMarkerRecord = "\\MarkerRecord";
inline constexpr std::string_view kMarkerRecordJob = "\\MarkerRecord\\Job"; // writer station log
inline constexpr std::string_view kLocDrive = "\\LocDrive"; // template download staging
inline constexpr std::string_view kFavGlossary = "\\FavGlossary";
inline constexpr std::string_view kHelp = "\\Help";
inline constexpr std::string_view kConfig = "\\Config"; // receiver configuration files

// Receiver software package folders, one per model family.
inline constexpr std::string_view kPackageFolders[] = {
    "\\Software",  "\\KvSoftware", "\\SoftwareJ", "\\SoftwareG2",
    "\\SoftwareI", "\\SoftwareL",  "\\SoftwareS"};
// Inside a package folder: its language and glossary packages.
inline constexpr std::string_view kPackageLanguage = "\\Language";
inline constexpr std::string_view kPackageGlossary = "\\Glossary";

// Files.
inline constexpr std::string_view kSerialLibrary = "\\Quillport.dll"; // Quillport.so elsewhere
inline constexpr std::string_view kUiLanguageFile = "\\Cfg\\UI_LangConfigSave.cfg";
inline constexpr std::string_view kDefaultFoldersFile = "\\Cfg\\DefaultTemplateFolders.cfg";
inline constexpr std::string_view kCountrySelectionFile = "\\Cfg\\configSave.cfg";
inline constexpr std::string_view kCountryFile = "\\Cfg\\CountryFreqMask.cfg";
inline constexpr std::string_view kCePowerCountryFile = "\\Cfg\\CountryFreqMask_CEPWR.cfg";
inline constexpr std::string_view kShippedVersionsFile = "\\Cfg\\BrimstelLocatorVersion.cfg";
inline constexpr std::string_view kInitLanguageFile = "\\Cfg\\InitLanguage.cfg";
inline constexpr std::string_view kLanguageSelectionFile = "\\Cfg\\LangConfigSave.cfg";
inline constexpr std::string_view kGlossarySelectionFile = "\\Cfg\\GlossConfigSave.cfg";
inline constexpr std::string_view kPasswordFile = "\\Cfg\\cfgpass.en";
inline constexpr std::string_view kDefaultLogFolderFile = "\\Cfg\\DefaultLogFolder.cfg";
inline constexpr std::string_view kDesktopProgrammerFile = "\\Cfg\\DesktopProgrammerConfig.txt";
inline constexpr std::string_view kReceiverPicture = "\\Cfg\\FenwoMan.bmp";
inline constexpr std::string_view kHelpHeadingsName = "Help Headings.cfg"; // in the help folder
inline constexpr std::string_view kLanguagePackSuffix = " Language.strings";
inline constexpr std::string_view kEnglish = "English";

} // namespace install

class InstallTree {
public:
  explicit InstallTree(std::filesystem::path workingFolder);

  const std::filesystem::path &workingFolder() const { return workingFolder_; }

  // The working folder followed by relative ("\Cfg\X"; either separator),
  // each existing name found whatever its case.
  std::filesystem::path path(std::string_view relative) const;
  // The same folder, created with its parents when missing; the error says
  // why it could not be.
  std::filesystem::path folder(std::string_view relative, std::error_code &error) const;

  // The same path as a text ending with a separator, as the settings keep
  // folders (working folder + "\Templates\").
  std::string folderText(std::string_view relative) const;

  // A file of the "\Cfg" folder by name.
  std::filesystem::path cfgFile(std::string_view name) const;
  // "\Software\Resources\<language> Language.strings".
  std::filesystem::path languagePack(std::string_view language) const;
  // "\Help" for English, else "\Help\<language>".
  std::filesystem::path helpFolder(std::string_view language) const;
  // "\Software\Glossary\<language>".
  std::filesystem::path glossaryFolder(std::string_view language) const;

  // A folder or file text as the settings store it ("D:\Forms\", "/home/x/Forms/"):
  // on this system "\" is taken as a separator too.
  static std::filesystem::path storedPath(std::string_view text);
  // Whether name is one plain file or folder name: not empty, no separator,
  // not "." or "..". Names read from settings files must be before they are
  // joined to a folder.
  static bool isPlainName(std::string_view name);

private:
  std::filesystem::path workingFolder_;
};

// The entries of folder (regular files, or folders when wantFolders) whose
// names end with suffix compared without case (empty: all), sorted by name
// without case. An unreadable folder gives none.
std::vector<std::filesystem::path> listFolder(const std::filesystem::path &folder,
                                              std::string_view suffix, bool wantFolders = false);
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix);
bool equalIgnoringCase(std::string_view a, std::string_view b);

} // namespace tarnwick
