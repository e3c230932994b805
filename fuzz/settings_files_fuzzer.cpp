// The readers of the "\Cfg" settings files, the help headings and the mount
// table on arbitrary file contents.
#include "folder_tree.h"
#include "help_viewer.h"
#include "settings_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick;

namespace {

void require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void checkUiLanguage(std::string_view text) {
  const std::string word = parseUiLanguage(text);
  require(std::none_of(word.begin(), word.end(), isSpace));
  require(word.empty() || text.find(word) != std::string_view::npos);
}

// A value the three-line file carries unchanged: one line, no CR at its end.
bool survivesALine(const std::optional<std::string> &value) {
  return !value ||
         (value->find('\n') == std::string::npos && (value->empty() || value->back() != '\r'));
}

void checkDefaultFolders(std::string_view text) {
  const StoredFolders stored = parseDefaultFolders(text);
  for (const auto *value : {&stored.templates, &stored.traceTemplates, &stored.readWriteHistory}) {
    require(!*value || ((*value)->size() < 999 && (*value)->find('\n') == std::string::npos));
  }
  if (!survivesALine(stored.templates) || !survivesALine(stored.traceTemplates) ||
      !survivesALine(stored.readWriteHistory)) {
    return;
  }
  // Written back as three lines, the values read again as they were.
  const DefaultFolders folders{stored.templates.value_or(""), "",
                               stored.traceTemplates.value_or(""), "",
                               stored.readWriteHistory.value_or("")};
  const StoredFolders again = parseDefaultFolders(formatDefaultFolders(folders));
  require(again.templates == folders.templateFolder);
  require(again.traceTemplates == folders.traceTemplateFolder);
  require(again.readWriteHistory == folders.recordFolder);
  // A split keeps every character.
  const TemplatePath split = splitTemplatePath(folders.templateFolder);
  require(split.folder + split.file == folders.templateFolder);
}

void checkCountrySelection(std::string_view text) {
  const auto index = parseCountrySelection(text);
  require(index.has_value() == (text.size() >= 4));
  if (index) {
    require(formatCountrySelection(*index) == text.substr(0, 4));
  }
}

void checkHeadings(std::string_view text) {
  for (const std::string &heading : parseHelpHeadings(text)) {
    require(!heading.empty() && heading.front() != '#' && heading.size() <= 249 &&
            heading.find('\n') == std::string::npos);
  }
}

void checkMounts(std::string_view text) {
  const auto mounts = parseMounts(text);
  require(!mounts.empty() && mounts.front() == "/");
  for (std::size_t i = 0; i < mounts.size(); ++i) {
    require(!mounts[i].empty() && mounts[i].front() == '/');
    require(std::find(mounts.begin() + static_cast<std::ptrdiff_t>(i) + 1, mounts.end(),
                      mounts[i]) == mounts.end());
  }
  desktopFromUserDirs(text, "/home/fuzz");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  checkUiLanguage(text);
  checkDefaultFolders(text);
  checkCountrySelection(text);
  checkHeadings(text);
  checkMounts(text);
  return 0;
}
