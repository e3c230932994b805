// The application object: the state the whole run shares (the AppContext of
// the receiver link, the installation tree, the user-interface language, the
// default folders and the selected country) and the start-up sequence that
// fills it.
#pragma once

#include "app_context.h"
#include "clock.h"
#include "install_tree.h"
#include "quillport_binding.h"
#include "settings_files.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace tarnwick {

// The main screen's selection, read by the configuration tools.
struct CountrySelection {
  std::int32_t index = 0;     // position in the country list
  std::string name{"None"};   // "None" when no entry is selected
  bool changedByUser = false; // set by every selection change
};

class Application {
public:
  // The program: start() binds the serial library from the working folder
  // (or beside the executable) and uses the steady clock.
  Application(std::filesystem::path workingFolder, UserPort &user);
  // With a port of the caller's (the simulator, tests): start() binds nothing.
  Application(std::filesystem::path workingFolder, PortApi &port, Clock &clock, UserPort &user);
  // Writes the default folders back when start() had read them (see finish()).
  ~Application();
  Application(const Application &) = delete;
  Application &operator=(const Application &) = delete;

  // The process's current folder, the working folder of a normal start.
  static std::filesystem::path currentFolder();

  // The start-up steps of the core, in order: the "\Cfg" folder and the
  // user-interface language, the default folders, the language pack (or the
  // message naming the missing pack, then English), the serial library. The
  // front end creates its font before and the main screen after; every
  // failure here is reported to the user and the program goes on.
  void start();

  // At exit: writes "\Cfg\DefaultTemplateFolders.cfg" with the folders as the
  // tools left them. Done once; a failure is reported to the user.
  std::error_code finish();

  AppContext &context() { return context_; }
  const AppContext &context() const { return context_; }
  const InstallTree &tree() const { return tree_; }
  UserPort &user() { return context_.user; }
  const std::string &text(StringId id) const { return context_.text(id); }

  // The language read at start-up ("English" by default) and whether its
  // pack was loaded.
  const std::string &language() const { return language_; }
  bool languagePackLoaded() const { return languagePackLoaded_; }

  // Template, trace template and record folders; tools change them.
  DefaultFolders &folders() { return folders_; }
  const DefaultFolders &folders() const { return folders_; }

  // The glossary folder: "\Software\Glossary\English" at start.
  std::filesystem::path &glossaryFolder() { return glossaryFolder_; }

  CountrySelection &country() { return country_; }
  const CountrySelection &country() const { return country_; }

  // Shows the text of id followed by detail (a path, usually).
  void showMessage(StringId id, const std::string &detail = {});
  // Reports a failed write of path; returns error unchanged.
  std::error_code reportWrite(const std::filesystem::path &path, std::error_code error);

private:
  void readLanguage();
  void loadLanguagePack();
  void bindSerialLibrary();

  std::unique_ptr<QuillportBinding> binding_; // the program's own binding
  SteadyClock steadyClock_;
  AppContext context_;
  InstallTree tree_;
  std::string language_{install::kEnglish};
  bool languagePackLoaded_ = false;
  DefaultFolders folders_;
  bool foldersRead_ = false;
  bool finished_ = false;
  std::filesystem::path glossaryFolder_;
  CountrySelection country_;
};

} // namespace tarnwick
