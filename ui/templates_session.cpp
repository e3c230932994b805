#include "templates_session.h"

#include "install_tree.h"

#include <string_view>

namespace tarnwick::ui {

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

TemplatesSession::TemplatesSession(Application &app)
    : app_(app), workspace_(app.tree().workingFolder()),
      editor_(workspace_, app.user(), app.context().strings) {
  workspace_.useEnglishGlossary();
  loadTemplateFolders(app_.folders(), workspace_.state);
  editor_.reloadGlossary();
}

void TemplatesSession::storeIntoApplication() {
  storeTemplateFolders(workspace_.state, app_.folders());
  app_.glossaryFolder() = workspace_.glossaryChoice().folder;
}

} // namespace tarnwick::ui
