#include "settings_files.h"

#include "atomic_file.h"

#include <fstream>
#include <iterator>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

// What "DefaultTemplateFolders.cfg" lines count of; the rest of a longer
// line is dropped.
constexpr std::size_t kFolderLineLimit = 999;
constexpr std::string_view kTemplatesKey = "Templates";
constexpr std::string_view kTraceTemplatesKey = "TraceTemplates";
constexpr std::string_view kReadWriteHistoryKey = "ReadWriteHistory";
constexpr std::string_view kTemplateExtension = ".utl";

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next line of text (without its line feed); false at the end.
bool nextLine(std::string_view &text, std::string_view &line) {
  if (text.empty()) {
    return false;
  }
  const auto end = text.find('\n');
  line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return true;
}

std::string_view limitLine(std::string_view line, std::size_t limit) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return line.substr(0, limit);
}

std::optional<std::string> readCfgFileCreating(const InstallTree &tree, std::string_view relative,
                                               std::string_view initial, std::error_code &error) {
  tree.folder(install::kCfg, error);
  const fs::path file = tree.path(relative);
  std::error_code existsError;
  if (!fs::exists(file, existsError)) {
    error = writeFileAtomically(file, initial);
  }
  return readWholeFile(file);
}

std::error_code writeCfgFile(const InstallTree &tree, std::string_view relative,
                             std::string_view bytes) {
  std::error_code error;
  tree.folder(install::kCfg, error);
  if (error) {
    return error;
  }
  return writeFileAtomically(tree.path(relative), bytes);
}

} // namespace

std::optional<std::string> readWholeFile(const fs::path &path, std::size_t limit) {
  std::error_code error;
  if (fs::is_directory(path, error)) {
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[8192];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > limit) {
      return std::nullopt;
    }
  }
  if (in.bad()) {
    return std::nullopt;
  }
  return bytes;
}

// ---- UI_LangConfigSave.cfg

std::string parseUiLanguage(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size() && isSpace(bytes[start])) {
    ++start;
  }
  std::size_t end = start;
  while (end < bytes.size() && !isSpace(bytes[end])) {
    ++end;
  }
  return std::string(bytes.substr(start, end - start));
}

std::string readUiLanguage(const InstallTree &tree, std::error_code &error) {
  const auto bytes = readCfgFileCreating(tree, install::kUiLanguageFile, install::kEnglish, error);
  const std::string word = bytes ? parseUiLanguage(*bytes) : std::string();
  return word.empty() ? std::string(install::kEnglish) : word;
}

std::error_code writeUiLanguage(const InstallTree &tree, std::string_view language) {
  return writeCfgFile(tree, install::kUiLanguageFile, language);
}

// ---- DefaultTemplateFolders.cfg

StoredFolders parseDefaultFolders(std::string_view bytes) {
  StoredFolders stored;
  std::string_view line;
  while (nextLine(bytes, line)) {
    line = limitLine(line, kFolderLineLimit);
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const std::string_view key = line.substr(0, equals);
    std::string value(line.substr(equals + 1));
    if (key == kTemplatesKey) {
      stored.templates = std::move(value);
    } else if (key == kTraceTemplatesKey) {
      stored.traceTemplates = std::move(value);
    } else if (key == kReadWriteHistoryKey) {
      stored.readWriteHistory = std::move(value);
    }
  }
  return stored;
}

TemplatePath splitTemplatePath(std::string_view value) {
  if (value.find(kTemplateExtension) == std::string_view::npos) {
    return {std::string(value), {}};
  }
  const auto separator = value.find_last_of("\\/");
  if (separator == std::string_view::npos) {
    return {{}, std::string(value)};
  }
  return {std::string(value.substr(0, separator + 1)), std::string(value.substr(separator + 1))};
}

namespace {

// A template folder and file from a stored value; a value without a folder
// part keeps the default folder.
void resolveTemplateValue(const std::optional<std::string> &value, const std::string &fallback,
                          std::string &folder, std::string &file) {
  folder = fallback;
  file.clear();
  if (!value || value->empty()) {
    return;
  }
  TemplatePath split = splitTemplatePath(*value);
  if (!split.folder.empty()) {
    folder = std::move(split.folder);
  }
  file = std::move(split.file);
}

} // namespace

DefaultFolders resolveDefaultFolders(const StoredFolders &stored, const InstallTree &tree) {
  DefaultFolders folders;
  resolveTemplateValue(stored.traceTemplates, tree.folderText(install::kTraceTemplates),
                       folders.traceTemplateFolder, folders.traceTemplateFile);
  resolveTemplateValue(stored.templates, tree.folderText(install::kTemplates),
                       folders.templateFolder, folders.templateFile);
  folders.recordFolder = stored.readWriteHistory && !stored.readWriteHistory->empty()
                             ? *stored.readWriteHistory
                             : tree.folderText(install::kMarkerRecord);
  return folders;
}

std::string formatDefaultFolders(const DefaultFolders &folders) {
  std::string out;
  out.append(kTemplatesKey).append("=").append(folders.templateFolder);
  out.append(folders.templateFile).append("\n");
  out.append(kTraceTemplatesKey).append("=").append(folders.traceTemplateFolder);
  out.append(folders.traceTemplateFile).append("\n");
  out.append(kReadWriteHistoryKey).append("=").append(folders.recordFolder).append("\n");
  return out;
}

DefaultFolders readDefaultFolders(const InstallTree &tree) {
  const auto bytes = readWholeFile(tree.path(install::kDefaultFoldersFile));
  return resolveDefaultFolders(bytes ? parseDefaultFolders(*bytes) : StoredFolders{}, tree);
}

std::error_code writeDefaultFolders(const InstallTree &tree, const DefaultFolders &folders) {
  return writeCfgFile(tree, install::kDefaultFoldersFile, formatDefaultFolders(folders));
}

// ---- configSave.cfg

std::optional<std::int32_t> parseCountrySelection(std::string_view bytes) {
  if (bytes.size() < 4) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  }
  return static_cast<std::int32_t>(value);
}

std::string formatCountrySelection(std::int32_t index) {
  const auto value = static_cast<std::uint32_t>(index);
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return bytes;
}

std::int32_t readCountrySelection(const InstallTree &tree, std::error_code &error) {
  const auto bytes =
      readCfgFileCreating(tree, install::kCountrySelectionFile, formatCountrySelection(0), error);
  const auto index = bytes ? parseCountrySelection(*bytes) : std::nullopt;
  return index.value_or(0);
}

std::error_code writeCountrySelection(const InstallTree &tree, std::int32_t index) {
  return writeCfgFile(tree, install::kCountrySelectionFile, formatCountrySelection(index));
}

} // namespace tarnwick
