// ".utl" files: 0xFF first in trace templates, then the position of the
// template's favorite user list (0xFF when it was not found), then the
// encoded bytes (at most 112 for marker templates).
#pragma once

#include "atomic_write.h"
#include "string_ids.h"
#include "template_codec.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

class UserListStore;

inline constexpr std::uint8_t kTracePrefix = 0xFF;
inline constexpr std::uint8_t kUnknownListPosition = 0xFF;
inline constexpr std::string_view kTemplateExtension = ".utl";

struct TemplateFile {
  TemplateKind kind = TemplateKind::Marker;
  std::uint8_t listPosition = 0;
  std::vector<std::uint8_t> encoded;
};

std::vector<std::uint8_t> templateFileBytes(const TemplateFile &file);

// A marker template whose list was not found also starts with 0xFF, so the
// kind chosen decides: a marker template's first byte is always its
// position; a trace template skips a leading 0xFF. With no kind chosen, a
// leading 0xFF means a trace template. An empty file gives position 0.
TemplateFile parseTemplateFile(std::span<const std::uint8_t> bytes, TemplateKind kind);

SaveResult saveTemplateFile(const std::filesystem::path &path, const TemplateFile &file);
// nullopt when the file cannot be read.
std::optional<TemplateFile> readTemplateFile(const std::filesystem::path &path, TemplateKind kind);

// A template as the editor shows it after loading.
struct LoadedTemplate {
  TemplateKind kind = TemplateKind::Marker;
  std::string userList; // "All" when the position names no list
  DecodedTemplate content;
};

std::optional<LoadedTemplate> loadTemplate(const std::filesystem::path &path, TemplateKind kind,
                                           const Glossary &glossary, const UserListStore &lists);

// The warning for a template of width found under a glossary of width
// current; 0 when they agree.
StringId widthWarning(int found, int current);

} // namespace tarnwick
