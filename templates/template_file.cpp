#include "template_file.h"

#include "atomic_write.h"
#include "glossary_files.h"
#include "user_list_store.h"

namespace tarnwick {

std::vector<std::uint8_t> templateFileBytes(const TemplateFile &file) {
  std::vector<std::uint8_t> bytes;
  if (file.kind == TemplateKind::Trace) {
    bytes.push_back(kTracePrefix);
  }
  bytes.push_back(file.listPosition);
  std::span<const std::uint8_t> encoded = file.encoded;
  if (file.kind == TemplateKind::Marker && encoded.size() > kMarkerTemplateBytes) {
    encoded = encoded.first(kMarkerTemplateBytes);
  }
  bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  return bytes;
}

TemplateFile parseTemplateFile(std::span<const std::uint8_t> bytes, TemplateKind kind) {
  TemplateFile file;
  const bool prefixed = !bytes.empty() && bytes.front() == kTracePrefix;
  file.kind =
      kind == TemplateKind::None ? (prefixed ? TemplateKind::Trace : TemplateKind::Marker) : kind;
  if (file.kind == TemplateKind::Trace && prefixed) {
    bytes = bytes.subspan(1);
  }
  if (bytes.empty()) {
    return file;
  }
  file.listPosition = bytes.front();
  bytes = bytes.subspan(1);
  if (file.kind == TemplateKind::Marker && bytes.size() > kMarkerTemplateBytes) {
    bytes = bytes.first(kMarkerTemplateBytes);
  }
  file.encoded.assign(bytes.begin(), bytes.end());
  return file;
}

SaveResult saveTemplateFile(const std::filesystem::path &path, const TemplateFile &file) {
  return saveFileInFolder(path, templateFileBytes(file));
}

std::optional<TemplateFile> readTemplateFile(const std::filesystem::path &path, TemplateKind kind) {
  std::vector<std::uint8_t> bytes;
  if (!readWholeFile(path, bytes)) {
    return std::nullopt;
  }
  return parseTemplateFile(bytes, kind);
}

std::optional<LoadedTemplate> loadTemplate(const std::filesystem::path &path, TemplateKind kind,
                                           const Glossary &glossary, const UserListStore &lists) {
  const auto file = readTemplateFile(path, kind);
  if (!file) {
    return std::nullopt;
  }
  LoadedTemplate loaded;
  loaded.kind = file->kind;
  loaded.userList = lists.nameAt(file->listPosition);
  loaded.content = decodeTemplate(glossary, file->encoded, file->kind);
  return loaded;
}

StringId widthWarning(int found, int current) {
  if (normalisedWidth(found) == normalisedWidth(current)) {
    return 0;
  }
  return normalisedWidth(current) == 7 ? sid::kSaveTemplateInEnglish
                                       : sid::kTemplateCreatedInEnglish;
}

} // namespace tarnwick
