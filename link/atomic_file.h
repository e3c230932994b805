// Every file the program writes goes through here: the bytes go to a
// temporary file in the target's folder, are flushed to the disk and then
// renamed over the target, so a failed write never destroys the old file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

namespace tarnwick {

// Replaces path with bytes. The folder must exist. On failure the old file
// (if any) is untouched, no temporary file is left and the error is returned;
// an empty error_code means success.
std::error_code writeFileAtomically(const std::filesystem::path &path, std::string_view bytes);
std::error_code writeFileAtomically(const std::filesystem::path &path,
                                    std::span<const std::uint8_t> bytes);

} // namespace tarnwick
