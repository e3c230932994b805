#include "help_viewer.h"

#include "install_path.h"
#include "settings_files.h"
#include "string_table.h"

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTopicExtension = ".txt";
constexpr std::size_t kHeadingLimit = 249;

} // namespace

fs::path helpFolderFor(const InstallTree &tree, std::string_view language) {
  return tree.helpFolder(language);
}

std::vector<fs::path> helpTopicFiles(const fs::path &folder) {
  return listFolder(folder, kTopicExtension);
}

std::string helpTopicName(const fs::path &file) {
  const std::string name = file.filename().string();
  return name.substr(0, name.size() - kTopicExtension.size());
}

std::vector<std::string> parseHelpHeadings(std::string_view bytes) {
  std::vector<std::string> headings;
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    line = line.substr(0, kHeadingLimit);
    if (!line.empty() && line.front() != '#') {
      headings.emplace_back(line);
    }
  }
  return headings;
}

HelpViewer::HelpViewer(const InstallTree &tree, std::string language, const StringTable &strings)
    : tree_(tree), language_(std::move(language)), strings_(strings) {}

void HelpViewer::open() {
  folder_ = helpFolderFor(tree_, language_);
  files_ = helpTopicFiles(folder_);
  topics_.clear();
  std::vector<std::string> headings;
  if (const auto bytes = readWholeFile(resolveInstallPath(folder_, install::kHelpHeadingsName))) {
    headings = parseHelpHeadings(*bytes);
  }
  if (!headings.empty() && headings.size() == files_.size()) {
    topics_ = std::move(headings);
  } else {
    for (const fs::path &file : files_) {
      topics_.push_back(helpTopicName(file));
    }
  }
  selected_ = -1;
  text_.clear();
  selectTopic(0);
}

void HelpViewer::selectTopic(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= files_.size()) {
    return;
  }
  selected_ = index;
  const auto bytes = readWholeFile(files_[static_cast<std::size_t>(index)]);
  text_ = bytes ? *bytes : strings_.text(sid::kHelpNotAvailable);
}

HelpViewer::Snapshot HelpViewer::snapshot() const {
  return {folder_, topics_, selected_, text_};
}

} // namespace tarnwick
