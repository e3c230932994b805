#include "glossary_language.h"

#include "atomic_write.h"
#include "folder_listing.h"
#include "glossary.h"
#include "glossary_files.h"
#include "install_path.h"

#include <array>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kNoPosition = 0xFFFFFFFF;

fs::path positionFile(const fs::path &workingFolder) {
  return resolveInstallPath(workingFolder, "\\Cfg\\GlossConfigSave.cfg");
}

GlossaryChoice choiceOf(const fs::path &workingFolder, const std::string &language) {
  GlossaryChoice choice;
  choice.language = language;
  choice.folder = resolveInstallPath(workingFolder, "\\Software\\Glossary\\" + language);
  choice.width = characterWidthOf(choice.folder, language);
  return choice;
}

} // namespace

std::vector<std::string> listGlossaryLanguages(const fs::path &workingFolder) {
  return listSubfolders(resolveInstallPath(workingFolder, "\\Software\\Glossary"));
}

std::uint32_t readGlossaryPosition(const fs::path &workingFolder) {
  std::vector<std::uint8_t> bytes;
  if (!readWholeFile(positionFile(workingFolder), bytes)) {
    saveGlossaryPosition(workingFolder, kDefaultGlossaryPosition);
    return kDefaultGlossaryPosition;
  }
  if (bytes.size() < 4) {
    return kNoPosition;
  }
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

SaveResult saveGlossaryPosition(const fs::path &workingFolder, std::uint32_t position) {
  const std::array<std::uint8_t, 4> bytes = {
      static_cast<std::uint8_t>(position), static_cast<std::uint8_t>(position >> 8),
      static_cast<std::uint8_t>(position >> 16), static_cast<std::uint8_t>(position >> 24)};
  return saveFileInFolder(positionFile(workingFolder), bytes);
}

GlossaryChoice glossaryAtPosition(const fs::path &workingFolder,
                                  const std::vector<std::string> &languages,
                                  std::uint32_t position) {
  if (languages.size() < 2 || position >= languages.size()) {
    return englishGlossary(workingFolder);
  }
  return choiceOf(workingFolder, languages[position]);
}

GlossaryChoice glossaryNamed(const fs::path &workingFolder,
                             const std::vector<std::string> &languages, const std::string &name) {
  if (languages.size() >= 2) {
    for (const std::string &language : languages) {
      if (equalsIgnoringCase(language, name)) {
        return choiceOf(workingFolder, language);
      }
    }
  }
  return englishGlossary(workingFolder);
}

GlossaryChoice englishGlossary(const fs::path &workingFolder) {
  return choiceOf(workingFolder, "English");
}

} // namespace tarnwick
