#include "install_path.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The entry of folder named like component, preferring the exact name.
fs::path childOf(const fs::path &folder, const std::string &component) {
  std::error_code error;
  const fs::path exact = folder / component;
  if (fs::exists(exact, error)) {
    return exact;
  }
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (sameIgnoringCase(it->path().filename().string(), component)) {
      return it->path();
    }
  }
  return exact;
}

} // namespace

fs::path resolveInstallPath(const fs::path &workingFolder, std::string_view relative) {
  fs::path path = workingFolder;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const auto end = relative.find_first_of("\\/", start);
    const auto component = relative.substr(
        start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!component.empty() && component != ".") {
      path = childOf(path, std::string(component));
    }
    if (end == std::string_view::npos) {
      break;
    }
    start = end + 1;
  }
  return path;
}

} // namespace tarnwick
