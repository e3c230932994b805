// The small settings files of "\Cfg": the user-interface language, the
// default template and record folders, and the selected country. Each reader
// is a pure function over the file's bytes (any bytes are accepted); the
// file functions around them create missing files with their defaults and
// write atomically.
#pragma once

#include "install_tree.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnwick {

// ---- "UI_LangConfigSave.cfg": one word, the language name.

// The first whitespace-delimited word; empty when there is none.
std::string parseUiLanguage(std::string_view bytes);
// Creates "\Cfg" and the file (holding "English") when missing, then reads
// the first word; "English" when the file holds none or cannot be read.
std::string readUiLanguage(const InstallTree &tree, std::error_code &error);
std::error_code writeUiLanguage(const InstallTree &tree, std::string_view language);

// ---- "DefaultTemplateFolders.cfg": key "=" value lines.

// The values as the file holds them; a key without a line stays empty.
struct StoredFolders {
  std::optional<std::string> templates;        // "Templates"
  std::optional<std::string> traceTemplates;   // "TraceTemplates"
  std::optional<std::string> readWriteHistory; // "ReadWriteHistory"
};

// The folders the program works with; folder texts end with a separator.
struct DefaultFolders {
  std::string templateFolder;
  std::string templateFile; // empty: none
  std::string traceTemplateFolder;
  std::string traceTemplateFile;
  std::string recordFolder; // "ReadWriteHistory"
};

// Lines up to a line feed (at most 999 characters count, a CR before the
// line feed is dropped), each split at its first "="; other keys are ignored
// and a later line wins.
StoredFolders parseDefaultFolders(std::string_view bytes);
// A value holding ".utl" is a template file's path: the part after its last
// separator is the file, the rest (with the separator) the folder. Otherwise
// the whole value is the folder and there is no file.
struct TemplatePath {
  std::string folder;
  std::string file;
};
TemplatePath splitTemplatePath(std::string_view value);
// The stored values with the defaults of the tree filled in: "\Templates\",
// "\Templates\Trace\" and "\MarkerRecord\" for a missing or empty value.
DefaultFolders resolveDefaultFolders(const StoredFolders &stored, const InstallTree &tree);
// Exactly three lines, each ended by a line feed.
std::string formatDefaultFolders(const DefaultFolders &folders);

// Reads the file; a missing or unreadable file gives the defaults.
DefaultFolders readDefaultFolders(const InstallTree &tree);
// Writes the three lines, creating "\Cfg" when missing.
std::error_code writeDefaultFolders(const InstallTree &tree, const DefaultFolders &folders);

// ---- "configSave.cfg": the selected country index, 4 bytes little-endian.

// The index, or nothing when fewer than 4 bytes are given.
std::optional<std::int32_t> parseCountrySelection(std::string_view bytes);
std::string formatCountrySelection(std::int32_t index);
// Creates "\Cfg" and the file (holding 0) when missing, then reads it; a short
// file gives 0.
std::int32_t readCountrySelection(const InstallTree &tree, std::error_code &error);
std::error_code writeCountrySelection(const InstallTree &tree, std::int32_t index);

// ---- Helpers shared by the readers.

// The whole file; nothing when it cannot be read. Files larger than limit
// are refused too, so a stray huge file cannot exhaust memory.
std::optional<std::string> readWholeFile(const std::filesystem::path &path,
                                         std::size_t limit = 16u << 20);

} // namespace tarnwick
