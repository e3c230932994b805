// The long-lived state of templates and user lists, created once at start-up
// and shared by the marker utility's pages and the command line: the glossary
// in use, the favorite user lists, the current template kind and names, the
// template folders and the allowed marker memory.
#pragma once

#include "glossary.h"
#include "glossary_language.h"
#include "marker_memory.h"
#include "template_codec.h"
#include "user_list_store.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick {

inline constexpr std::string_view kUntitledTemplate = "untitled.utl";

struct TemplatesState {
  TemplateKind kind = TemplateKind::None;
  std::string markerName{kUntitledTemplate};
  std::string traceName{kUntitledTemplate};
  std::filesystem::path markerFolder; // "<install>\Templates\" unless changed
  std::filesystem::path traceFolder;  // "<install>\Templates\Trace\" unless changed
  std::string defaultUserList;        // the list the template editor selects first
  MarkerMemory memory;

  std::string &nameOf(TemplateKind of) {
    return of == TemplateKind::Trace ? traceName : markerName;
  }
  std::filesystem::path &folderOf(TemplateKind of) {
    return of == TemplateKind::Trace ? traceFolder : markerFolder;
  }
  const std::string &nameOf(TemplateKind of) const {
    return of == TemplateKind::Trace ? traceName : markerName;
  }
  const std::filesystem::path &folderOf(TemplateKind of) const {
    return of == TemplateKind::Trace ? traceFolder : markerFolder;
  }
};

class TemplatesWorkspace {
public:
  explicit TemplatesWorkspace(std::filesystem::path workingFolder);
  TemplatesWorkspace(const TemplatesWorkspace &) = delete;
  TemplatesWorkspace &operator=(const TemplatesWorkspace &) = delete;

  const std::filesystem::path &workingFolder() const { return workingFolder_; }

  // Loads a glossary language and the user lists built on it.
  void useGlossary(const GlossaryChoice &choice);
  // The English glossary (start-up).
  void useEnglishGlossary();
  // The language remembered in "GlossConfigSave.cfg".
  void useSavedGlossary();
  // The language of that name; English when it is not available.
  void useGlossaryNamed(const std::string &language);
  // Remembers the current language's position; fails when the file could not
  // be written, or with "no such file" for the language's folder when it is
  // not listed.
  SaveResult saveGlossaryLanguage();
  std::vector<std::string> glossaryLanguages() const;

  const GlossaryChoice &glossaryChoice() const { return choice_; }
  int width() const { return choice_.width; }
  Glossary glossary;
  UserListStore userLists;
  TemplatesState state;

private:
  std::filesystem::path workingFolder_;
  GlossaryChoice choice_;
};

} // namespace tarnwick
