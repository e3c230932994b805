#include "dynamic_library.h"

#include <windows.h>

#include <string>

namespace tarnwick {

std::string DynamicLibrary::open(const std::filesystem::path &path) {
  handle_ = reinterpret_cast<void *>(LoadLibraryW(path.c_str()));
  if (handle_ != nullptr) {
    return {};
  }
  return "error " + std::to_string(GetLastError());
}

void *DynamicLibrary::symbol(const char *name) const {
  if (handle_ == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

const char *DynamicLibrary::serialLibraryFileName() {
  return "Quillport.dll";
}

std::filesystem::path DynamicLibrary::executableFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length == MAX_PATH) {
    return {};
  }
  return std::filesystem::path(std::wstring(buffer, length)).parent_path();
}

} // namespace tarnwick
