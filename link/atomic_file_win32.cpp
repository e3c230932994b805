#include "atomic_file.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <windows.h>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {static_cast<int>(::GetLastError()), std::system_category()};
}

fs::path temporaryName(const fs::path &target) {
  static std::atomic<unsigned> counter{0};
  const std::wstring name = L"." + target.filename().wstring().substr(0, 200) + L".tmp-" +
                            std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(counter++);
  return target.parent_path() / name;
}

std::error_code writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
      return lastError();
    }
    bytes.remove_prefix(written);
  }
  return {};
}

} // namespace

std::error_code writeFileAtomically(const fs::path &path, std::string_view bytes) {
  const fs::path temporary = temporaryName(path);
  const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return lastError();
  }
  std::error_code error = writeAll(file, bytes);
  if (!error && !::FlushFileBuffers(file)) {
    error = lastError();
  }
  ::CloseHandle(file);
  if (!error && !::MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = lastError();
  }
  if (error) {
    ::DeleteFileW(temporary.c_str());
  }
  return error;
}

std::error_code writeFileAtomically(const fs::path &path, std::span<const std::uint8_t> bytes) {
  return writeFileAtomically(
      path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

} // namespace tarnwick
