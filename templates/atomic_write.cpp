#include "atomic_write.h"

#include "atomic_file.h"

namespace tarnwick {

namespace fs = std::filesystem;

std::error_code writeFileInFolder(const fs::path &path, std::span<const std::uint8_t> bytes) {
  if (path.has_parent_path()) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
      return error;
    }
  }
  return writeFileAtomically(path, bytes);
}

std::error_code writeFileInFolder(const fs::path &path, std::string_view text) {
  return writeFileInFolder(
      path, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
}

SaveResult saveFileInFolder(const fs::path &path, std::span<const std::uint8_t> bytes) {
  return {path, writeFileInFolder(path, bytes)};
}

SaveResult saveFileInFolder(const fs::path &path, std::string_view text) {
  return {path, writeFileInFolder(path, text)};
}

} // namespace tarnwick
