// Files of templates and user lists are written through the shared atomic
// writer; the folder is created first when missing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

namespace tarnwick {

// What a save did, so that its caller can say which file failed and why:
// true when the file (or every file of a group) was written. It converts to
// bool implicitly, as callers that only need "written or not" keep a bool.
struct SaveResult {
  std::filesystem::path path; // the file that failed, else the last one written
  std::error_code error;

  operator bool() const { return !error; }
  // Keeps the first failure of a group of writes.
  SaveResult &operator&=(SaveResult next) {
    if (!error) {
      *this = std::move(next);
    }
    return *this;
  }
};

// Why the folder could not be created or the write failed; the old file is
// then untouched.
std::error_code writeFileInFolder(const std::filesystem::path &path,
                                  std::span<const std::uint8_t> bytes);
std::error_code writeFileInFolder(const std::filesystem::path &path, std::string_view text);

// writeFileInFolder() with the file named in its result.
SaveResult saveFileInFolder(const std::filesystem::path &path, std::span<const std::uint8_t> bytes);
SaveResult saveFileInFolder(const std::filesystem::path &path, std::string_view text);

} // namespace tarnwick
