// The templates state the program keeps from start-up to exit: one
// workspace (glossary, favorite user lists, template kinds, names and
// folders, marker memory) and the template editor, a long-lived tool whose
// rows survive closing the marker utility. The default template folders of
// the application go into the workspace at start and come back for the exit.
#pragma once

#include "application.h"
#include "settings_files.h"
#include "template_editor.h"
#include "templates_workspace.h"

namespace tarnwick::ui {

// The folders and current names of "DefaultTemplateFolders.cfg" into the
// workspace's state: a folder text as stored, no file as "untitled.utl".
void loadTemplateFolders(const DefaultFolders &folders, TemplatesState &state);
// Back again. A folder the tools did not change keeps its stored text; the
// name "untitled.utl" is no file.
void storeTemplateFolders(const TemplatesState &state, DefaultFolders &folders);

class TemplatesSession {
public:
  // After app.start(): loads the English glossary and the default folders.
  explicit TemplatesSession(Application &app);
  TemplatesSession(const TemplatesSession &) = delete;
  TemplatesSession &operator=(const TemplatesSession &) = delete;

  Application &app() { return app_; }
  TemplatesWorkspace &workspace() { return workspace_; }
  TemplateEditor &templateEditor() { return editor_; }

  // Hands the folders, names and glossary folder the tools may have changed
  // back to the application, which writes them at exit.
  void storeIntoApplication();

private:
  Application &app_;
  TemplatesWorkspace workspace_;
  TemplateEditor editor_;
};

} // namespace tarnwick::ui
