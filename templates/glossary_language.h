// Which glossary language is in use: the sub-folders of
// "\Software\Glossary\", the remembered position in
// "\Cfg\GlossConfigSave.cfg", and the character width of the chosen one.
#pragma once

#include "atomic_write.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick {

struct GlossaryChoice {
  std::string language = "English";
  std::filesystem::path folder; // the glossary folder of that language
  int width = 7;                // bits per character in encoded templates
};

inline constexpr std::uint32_t kDefaultGlossaryPosition = 3;

// The languages in the stable folder order.
std::vector<std::string> listGlossaryLanguages(const std::filesystem::path &workingFolder);

// The remembered position; the file is created holding 3 when missing. A
// file too short to hold a position gives 0xFFFFFFFF (no valid position).
std::uint32_t readGlossaryPosition(const std::filesystem::path &workingFolder);
SaveResult saveGlossaryPosition(const std::filesystem::path &workingFolder, std::uint32_t position);

// The language at position; English when the position is not valid or fewer
// than two languages exist.
GlossaryChoice glossaryAtPosition(const std::filesystem::path &workingFolder,
                                  const std::vector<std::string> &languages,
                                  std::uint32_t position);
// The language of that name (any case); English when it is not listed or
// fewer than two languages exist.
GlossaryChoice glossaryNamed(const std::filesystem::path &workingFolder,
                             const std::vector<std::string> &languages, const std::string &name);
// The English glossary loaded at start-up.
GlossaryChoice englishGlossary(const std::filesystem::path &workingFolder);

} // namespace tarnwick
