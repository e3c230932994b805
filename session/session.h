// The state one run of the program keeps from start to exit, in one owner:
// the receiver link (port, binding, clock, user, strings, shipped versions,
// the port lease), the installation tree, the user-interface language, the
// default folders, the selected country, the receiver configuration, the
// glossary, favorite user lists and templates, and the flags the tools share.
// The GUI and the command line build it the same way; each tool takes the
// parts it needs, never the whole Session. Tests build their own.
#pragma once

#include "app_context.h"
#include "clock.h"
#include "country_marker_mask.h"
#include "country_selection.h"
#include "install_tree.h"
#include "quillport_binding.h"
#include "receiver_configuration.h"
#include "record_workspace.h"
#include "settings_files.h"
#include "template_editor.h"
#include "templates_workspace.h"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace tarnwick {

class Session {
public:
  // The program: start() binds the serial library from the working folder
  // (or beside the executable) and uses the steady clock.
  Session(std::filesystem::path workingFolder, UserPort &user);
  // With a port of the caller's (the command line's backend, the simulator,
  // tests): nothing is bound here.
  Session(std::filesystem::path workingFolder, PortApi &port, Clock &clock, UserPort &user);
  // Writes the default folders back when start() had read them (see finish()).
  ~Session();
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  // The process's current folder, the working folder of a normal start.
  static std::filesystem::path currentFolder();

  // The program's start-up, in order: the "\Cfg" folder and the
  // user-interface language, the default folders, the language pack (or the
  // message naming the missing pack, then English), the serial library, the
  // English glossary and the template folders. Every failure is reported to
  // the user and the program goes on.
  void start();
  // The command line's start-up: the same state read, but nothing created or
  // written now or at exit, and the country the main screen saved selected.
  void startReadOnly();

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
  // The selected country as the configuration tools read it.
  CountrySource countrySource();

  // The receiver configuration of the run: what was edited is still there
  // when Configure Receiver opens again. Built on first use.
  ReceiverConfiguration &configuration();

  // The glossary, favorite user lists, template kinds, names and folders,
  // loaded by start() or else on first use (loading creates the user list
  // folders, which a command that never needs them must not).
  TemplatesWorkspace &templates();
  // The template editor, whose rows survive closing the marker utility.
  TemplateEditor &templateEditor();
  // The template folders, names and glossary folder the marker utility may
  // have changed, into the folders written at exit (when it closes).
  void keepTemplateFolders();

  // The record lists of each kind, their shared clipboard and the current
  // record path (the record folder of the settings at first use).
  RecordWorkspace &records();

  // Whether the user templates saved before an upgrade are to be restored.
  bool restoreUserForms = false;

  // Shows the text of id followed by detail (a path, usually).
  void showMessage(StringId id, const std::string &detail = {});
  // Reports a failed write of path; returns error unchanged.
  std::error_code reportWrite(const std::filesystem::path &path, std::error_code error);

private:
  void readLanguage(bool create);
  void loadLanguagePack();
  void bindSerialLibrary();
  void loadTemplates();
  void readSavedCountry();

  std::unique_ptr<QuillportBinding> binding_; // the program's own binding
  SteadyClock steadyClock_;
  AppContext context_;
  InstallTree tree_;
  std::string language_{install::kEnglish};
  bool languagePackLoaded_ = false;
  DefaultFolders folders_;
  bool foldersRead_ = false;
  bool writesAtExit_ = false;
  bool finished_ = false;
  std::filesystem::path glossaryFolder_;
  CountrySelection country_;
  std::unique_ptr<ReceiverConfiguration> configuration_;
  bool templatesLoaded_ = false;
  TemplatesWorkspace templates_;
  TemplateEditor templateEditor_;
  bool recordsStarted_ = false;
  RecordWorkspace records_;
};

// The folders and current names of "DefaultTemplateFolders.cfg" into the
// workspace's state: a folder text as stored, no file as "untitled.utl".
void loadTemplateFolders(const DefaultFolders &folders, TemplatesState &state);
// Back again. A folder the tools did not change keeps its stored text; the
// name "untitled.utl" is no file.
void storeTemplateFolders(const TemplatesState &state, DefaultFolders &folders);

} // namespace tarnwick
