// A shared library opened by path and looked up by symbol name. One source
// file per platform implements it.
#pragma once

#include <filesystem>
#include <string>

namespace tarnwick {

class DynamicLibrary {
public:
  DynamicLibrary() = default;
  // Never unloads: the library stays for the program's lifetime.
  ~DynamicLibrary() = default;
  DynamicLibrary(const DynamicLibrary &) = delete;
  DynamicLibrary &operator=(const DynamicLibrary &) = delete;

  // Empty on success, else the system's reason.
  std::string open(const std::filesystem::path &path);
  bool isOpen() const { return handle_ != nullptr; }
  void *symbol(const char *name) const;

  // The platform's file name of the serial library.
  static const char *serialLibraryFileName();
  // The folder of the running executable; empty when it cannot be told.
  static std::filesystem::path executableFolder();

private:
  void *handle_ = nullptr;
};

} // namespace tarnwick
