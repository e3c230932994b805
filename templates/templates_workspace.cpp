#include "templates_workspace.h"

#include "glossary_files.h"
#include "install_path.h"

namespace tarnwick {

namespace fs = std::filesystem;

TemplatesWorkspace::TemplatesWorkspace(fs::path workingFolder)
    : userLists(glossary, resolveInstallPath(workingFolder, "\\FavGlossary")),
      workingFolder_(std::move(workingFolder)) {
  state.markerFolder = resolveInstallPath(workingFolder_, "\\Templates");
  state.traceFolder = resolveInstallPath(workingFolder_, "\\Templates\\Trace");
  choice_ = englishGlossary(workingFolder_);
}

void TemplatesWorkspace::useGlossary(const GlossaryChoice &choice) {
  choice_ = choice;
  loadGlossaryFolder(glossary, choice_.folder);
  userLists.load();
}

void TemplatesWorkspace::useEnglishGlossary() {
  useGlossary(englishGlossary(workingFolder_));
}

void TemplatesWorkspace::useSavedGlossary() {
  useGlossary(glossaryAtPosition(workingFolder_, glossaryLanguages(),
                                 readGlossaryPosition(workingFolder_)));
}

void TemplatesWorkspace::useGlossaryNamed(const std::string &language) {
  useGlossary(glossaryNamed(workingFolder_, glossaryLanguages(), language));
}

SaveResult TemplatesWorkspace::saveGlossaryLanguage() {
  const std::vector<std::string> languages = glossaryLanguages();
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (equalsIgnoringCase(languages[i], choice_.language)) {
      return saveGlossaryPosition(workingFolder_, static_cast<std::uint32_t>(i));
    }
  }
  return {choice_.folder, std::make_error_code(std::errc::no_such_file_or_directory)};
}

std::vector<std::string> TemplatesWorkspace::glossaryLanguages() const {
  return listGlossaryLanguages(workingFolder_);
}

} // namespace tarnwick
