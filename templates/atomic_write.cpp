#include "atomic_write.h"

#include "atomic_file.h"

#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

bool writeFileInFolder(const fs::path &path, std::span<const std::uint8_t> bytes) {
  std::error_code error;
  if (path.has_parent_path()) {
    fs::create_directories(path.parent_path(), error);
    if (error) {
      return false;
    }
  }
  return !writeFileAtomically(path, bytes);
}

bool writeFileInFolder(const fs::path &path, std::string_view text) {
  return writeFileInFolder(
      path, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
}

} // namespace tarnwick
