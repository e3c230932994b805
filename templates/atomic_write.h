// Files of templates and user lists are written through the shared atomic
// writer; the folder is created first when missing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace tarnwick {

// False when the folder could not be created or the write failed; the old
// file is then untouched.
bool writeFileInFolder(const std::filesystem::path &path, std::span<const std::uint8_t> bytes);
bool writeFileInFolder(const std::filesystem::path &path, std::string_view text);

} // namespace tarnwick
