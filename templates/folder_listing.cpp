#include "folder_listing.h"

#include "glossary.h"

#include <algorithm>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

void sortNames(std::vector<std::string> &names) {
  std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
    if (lessIgnoringCase(a, b)) {
      return true;
    }
    if (lessIgnoringCase(b, a)) {
      return false;
    }
    return a < b;
  });
}

namespace {

template <typename Keep> std::vector<std::string> listEntries(const fs::path &folder, Keep keep) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (keep(*it, ignored)) {
      names.push_back(it->path().filename().string());
    }
  }
  sortNames(names);
  return names;
}

} // namespace

std::vector<std::string> listSubfolders(const fs::path &folder) {
  return listEntries(folder, [](const fs::directory_entry &entry, std::error_code &error) {
    return entry.is_directory(error);
  });
}

std::vector<std::string> listFilesWithExtension(const fs::path &folder,
                                                std::string_view extension) {
  return listEntries(folder, [extension](const fs::directory_entry &entry, std::error_code &error) {
    const std::string name = entry.path().filename().string();
    return entry.is_regular_file(error) && name.size() > extension.size() &&
           equalsIgnoringCase(std::string_view(name).substr(name.size() - extension.size()),
                              extension);
  });
}

} // namespace tarnwick
