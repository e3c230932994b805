#include "application.h"

#include "port_settings.h"

namespace tarnwick {

namespace fs = std::filesystem;

Application::Application(fs::path workingFolder, UserPort &user)
    : binding_(std::make_unique<QuillportBinding>()),
      context_(workingFolder, *binding_, steadyClock_, user), tree_(workingFolder) {}

Application::Application(fs::path workingFolder, PortApi &port, Clock &clock, UserPort &user)
    : context_(workingFolder, port, clock, user), tree_(workingFolder) {}

Application::~Application() {
  // The front end normally calls finish() while it can still show messages;
  // this is the last chance for a run that ended otherwise.
  if (foldersRead_ && !finished_) {
    finished_ = true;
    writeDefaultFolders(tree_, folders_);
  }
}

fs::path Application::currentFolder() {
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? fs::path(".") : folder;
}

void Application::start() {
  readLanguage();
  folders_ = readDefaultFolders(tree_);
  foldersRead_ = true;
  glossaryFolder_ = tree_.path(install::kEnglishGlossary);
  loadLanguagePack();
  bindSerialLibrary();
}

std::error_code Application::finish() {
  if (!foldersRead_ || finished_) {
    return {};
  }
  finished_ = true;
  return reportWrite(tree_.path(install::kDefaultFoldersFile),
                     writeDefaultFolders(tree_, folders_));
}

void Application::showMessage(StringId id, const std::string &detail) {
  context_.user.message(context_.text(id) + detail);
}

std::error_code Application::reportWrite(const fs::path &path, std::error_code error) {
  if (error) {
    showMessage(sid::kFileNotSaved, path.string() + " (" + error.message() + ")");
  }
  return error;
}

void Application::readLanguage() {
  std::error_code error;
  language_ = readUiLanguage(tree_, error);
  if (error) {
    reportWrite(tree_.path(install::kUiLanguageFile), error);
  }
}

void Application::loadLanguagePack() {
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

void Application::bindSerialLibrary() {
  if (binding_) {
    reportBinding(context_, binding_->load(tree_.workingFolder()));
  }
}

} // namespace tarnwick
