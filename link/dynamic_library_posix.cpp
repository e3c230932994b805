#include "dynamic_library.h"

#include <dlfcn.h>
#include <system_error>

namespace tarnwick {

std::string DynamicLibrary::open(const std::filesystem::path &path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ != nullptr) {
    return {};
  }
  const char *why = dlerror();
  return why != nullptr ? why : "unknown error";
}

void *DynamicLibrary::symbol(const char *name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

const char *DynamicLibrary::serialLibraryFileName() {
  return "Quillport.so";
}

std::filesystem::path DynamicLibrary::executableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : exe.parent_path();
}

} // namespace tarnwick
