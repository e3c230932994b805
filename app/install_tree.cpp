#include "install_tree.h"

#include "install_path.h"

#include <algorithm>
#include <cctype>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool lessIgnoringCase(const std::string &a, const std::string &b) {
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return lower(x) < lower(y); });
  if (less || !equalIgnoringCase(a, b)) {
    return less;
  }
  return a < b; // names differing only in case: a fixed order all the same
}

std::string withSeparator(std::string text) {
  if (text.empty() || text.back() != fs::path::preferred_separator) {
    text += static_cast<char>(fs::path::preferred_separator);
  }
  return text;
}

// A name from a settings file that is not a plain name still names an entry
// inside its folder, and one no installation has.
std::string confined(std::string_view name) {
  std::string plain(name);
  std::replace_if(
      plain.begin(), plain.end(), [](char c) { return c == '/' || c == '\\' || c == '\0'; }, '_');
  return plain == "." || plain == ".." || plain.empty() ? "_" + plain : plain;
}

} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

InstallTree::InstallTree(fs::path workingFolder) : workingFolder_(std::move(workingFolder)) {}

fs::path InstallTree::path(std::string_view relative) const {
  return resolveInstallPath(workingFolder_, relative);
}

fs::path InstallTree::folder(std::string_view relative, std::error_code &error) const {
  error.clear();
  const fs::path found = path(relative);
  if (!fs::is_directory(found, error)) {
    error.clear();
    fs::create_directories(found, error);
  }
  return found;
}

std::string InstallTree::folderText(std::string_view relative) const {
  return withSeparator(path(relative).string());
}

fs::path InstallTree::cfgFile(std::string_view name) const {
  return path(std::string(install::kCfg) + "\\" + std::string(name));
}

fs::path InstallTree::languagePack(std::string_view language) const {
  const std::string name = confined(language) + std::string(install::kLanguagePackSuffix);
  return path(std::string(install::kResources) + "\\" + name);
}

fs::path InstallTree::helpFolder(std::string_view language) const {
  if (language == install::kEnglish) {
    return path(install::kHelp);
  }
  return path(std::string(install::kHelp) + "\\" + confined(language));
}

fs::path InstallTree::glossaryFolder(std::string_view language) const {
  return path(std::string(install::kGlossaries) + "\\" + confined(language));
}

fs::path InstallTree::storedPath(std::string_view text) {
  std::string native(text);
  if (fs::path::preferred_separator == '/') {
    std::replace(native.begin(), native.end(), '\\', '/');
  }
  return fs::path(native);
}

bool InstallTree::isPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

std::vector<fs::path> listFolder(const fs::path &folder, std::string_view suffix,
                                 bool wantFolders) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    const bool isFolder = it->is_directory(typeError);
    const bool isFile = !isFolder && it->is_regular_file(typeError);
    if ((wantFolders ? isFolder : isFile) &&
        endsWithIgnoringCase(it->path().filename().string(), suffix)) {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end(), [](const fs::path &a, const fs::path &b) {
    return lessIgnoringCase(a.filename().string(), b.filename().string());
  });
  return found;
}

} // namespace tarnwick
