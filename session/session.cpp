#include "session.h"

#include "country_list.h"
#include "port_settings.h"
#include "write_report.h"

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

std::string nameFromFile(const std::string &file) {
  return file.empty() ? std::string(kUntitledTemplate) : file;
}

std::string fileFromName(const std::string &name) {
  return name == kUntitledTemplate ? std::string() : name;
}

// "/a/b/" and "/a/b" name the same folder.
fs::path withoutTrailingSeparator(fs::path folder) {
  while (!folder.has_filename() && folder.has_relative_path()) {
    folder = folder.parent_path();
  }
  return folder;
}

// The stored text when it still names folder, else folder's own text with a
// trailing separator, as the settings keep folders.
std::string folderText(const std::string &stored, const fs::path &folder) {
  const fs::path wanted = withoutTrailingSeparator(folder.lexically_normal());
  if (!stored.empty() &&
      withoutTrailingSeparator(InstallTree::storedPath(stored).lexically_normal()) == wanted) {
    return stored;
  }
  std::string text = folder.string();
  if (text.empty() || text.back() != fs::path::preferred_separator) {
    text += fs::path::preferred_separator;
  }
  return text;
}

void loadFolder(const std::string &stored, fs::path &folder) {
  if (!stored.empty()) {
    folder = withoutTrailingSeparator(InstallTree::storedPath(stored));
  }
}

} // namespace

void loadTemplateFolders(const DefaultFolders &folders, TemplatesState &state) {
  loadFolder(folders.templateFolder, state.markerFolder);
  loadFolder(folders.traceTemplateFolder, state.traceFolder);
  state.markerName = nameFromFile(folders.templateFile);
  state.traceName = nameFromFile(folders.traceTemplateFile);
}

void storeTemplateFolders(const TemplatesState &state, DefaultFolders &folders) {
  folders.templateFolder = folderText(folders.templateFolder, state.markerFolder);
  folders.traceTemplateFolder = folderText(folders.traceTemplateFolder, state.traceFolder);
  folders.templateFile = fileFromName(state.markerName);
  folders.traceTemplateFile = fileFromName(state.traceName);
}

Session::Session(fs::path workingFolder, UserPort &user)
    : binding_(std::make_unique<QuillportBinding>()),
      context_(workingFolder, *binding_, steadyClock_, user), tree_(workingFolder),
      templates_(workingFolder), templateEditor_(templates_, user, context_.strings) {}

Session::Session(fs::path workingFolder, PortApi &port, Clock &clock, UserPort &user)
    : context_(workingFolder, port, clock, user), tree_(workingFolder), templates_(workingFolder),
      templateEditor_(templates_, user, context_.strings) {}

Session::~Session() {
  // The front end normally calls finish() while it can still show messages;
  // this is the last chance for a run that ended otherwise.
  if (writesAtExit_ && !finished_) {
    finished_ = true;
    writeDefaultFolders(tree_, folders_);
  }
}

fs::path Session::currentFolder() {
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? fs::path(".") : folder;
}

void Session::start() {
  readLanguage(true);
  folders_ = readDefaultFolders(tree_);
  foldersRead_ = true;
  writesAtExit_ = true;
  glossaryFolder_ = tree_.path(install::kEnglishGlossary);
  loadLanguagePack();
  bindSerialLibrary();
  loadTemplates();
}

void Session::startReadOnly() {
  readLanguage(false);
  folders_ = readDefaultFolders(tree_);
  foldersRead_ = true;
  glossaryFolder_ = tree_.path(install::kEnglishGlossary);
  loadLanguagePack();
  readSavedCountry();
}

std::error_code Session::finish() {
  if (!writesAtExit_ || finished_) {
    return {};
  }
  finished_ = true;
  return reportWrite(tree_.path(install::kDefaultFoldersFile),
                     writeDefaultFolders(tree_, folders_));
}

void Session::keepTemplateFolders() {
  storeTemplateFolders(templates().state, folders_);
  glossaryFolder_ = templates_.glossaryChoice().folder;
}

CountrySource Session::countrySource() {
  return [this] { return CountryChoice{country_.index, country_.name}; };
}

ReceiverConfiguration &Session::configuration() {
  if (!configuration_) {
    configuration_ =
        std::make_unique<ReceiverConfiguration>(countryMaskSource(tree_, countrySource()));
  }
  return *configuration_;
}

RecordWorkspace &Session::records() {
  if (!recordsStarted_) {
    recordsStarted_ = true;
    records_.currentFolder =
        folders_.recordFolder.empty()
            ? tree_.path(install::kMarkerRecord)
            : withoutTrailingSeparator(InstallTree::storedPath(folders_.recordFolder));
  }
  return records_;
}

void Session::showMessage(StringId id, const std::string &detail) {
  context_.user.message(context_.text(id) + detail);
}

std::error_code Session::reportWrite(const fs::path &path, std::error_code error) {
  return tarnwick::reportWrite(context_, path, error);
}

void Session::readLanguage(bool create) {
  if (!create) {
    const auto bytes = readWholeFile(tree_.path(install::kUiLanguageFile));
    const std::string word = bytes ? parseUiLanguage(*bytes) : std::string();
    language_ = word.empty() ? std::string(install::kEnglish) : word;
    return;
  }
  std::error_code error;
  language_ = readUiLanguage(tree_, error);
  if (error) {
    reportWrite(tree_.path(install::kUiLanguageFile), error);
  }
}

void Session::loadLanguagePack() {
  if (language_ == install::kEnglish) {
    return;
  }
  const fs::path pack = tree_.languagePack(language_);
  const auto bytes = InstallTree::isPlainName(language_) ? readWholeFile(pack) : std::nullopt;
  if (!bytes) {
    showMessage(sid::kLanguageResourcesNotFound, pack.string());
    return;
  }
  context_.strings.applyLanguagePack(*bytes);
  languagePackLoaded_ = true;
}

void Session::bindSerialLibrary() {
  if (binding_) {
    reportBinding(context_, binding_->load(tree_.workingFolder()));
  }
}

TemplatesWorkspace &Session::templates() {
  if (!templatesLoaded_) {
    loadTemplates();
  }
  return templates_;
}

TemplateEditor &Session::templateEditor() {
  if (!templatesLoaded_) {
    loadTemplates();
  }
  return templateEditor_;
}

void Session::loadTemplates() {
  templatesLoaded_ = true;
  templates_.useEnglishGlossary();
  loadTemplateFolders(folders_, templates_.state);
  templateEditor_.reloadGlossary();
}

// The country the main screen saved; the first one when the saved index is
// not in the list.
void Session::readSavedCountry() {
  country_ = CountrySelection{};
  if (const auto bytes = readWholeFile(tree_.path(install::kCountrySelectionFile))) {
    country_.index = parseCountrySelection(*bytes).value_or(0);
  }
  const auto list = readWholeFile(tree_.path(install::kCountryFile));
  const auto entries = list ? parseCountryList(*list) : std::vector<CountryEntry>{};
  if (country_.index < 0 || static_cast<std::size_t>(country_.index) >= entries.size()) {
    country_.index = 0;
  }
  if (!entries.empty()) {
    country_.name = entries[static_cast<std::size_t>(country_.index)].name;
  }
}

} // namespace tarnwick
