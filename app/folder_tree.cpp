#include "folder_tree.h"

#include "install_tree.h"
#include "settings_files.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

// File systems that hold no user data: kernel interfaces, memory, containers.
constexpr std::array<std::string_view, 30> kPseudoFileSystems = {
    "proc",        "sysfs",      "devtmpfs",    "devpts",   "tmpfs",           "ramfs",
    "cgroup",      "cgroup2",    "mqueue",      "debugfs",  "tracefs",         "securityfs",
    "pstore",      "bpf",        "configfs",    "fusectl",  "hugetlbfs",       "autofs",
    "binfmt_misc", "rpc_pipefs", "nsfs",        "efivarfs", "selinuxfs",       "squashfs",
    "overlay",     "aufs",       "fuse.portal", "nfsd",     "fuse.gvfsd-fuse", "fuse.lxcfs"};

// Mount points of the system itself rather than of the user's volumes.
constexpr std::array<std::string_view, 6> kSystemPrefixes = {"/proc", "/sys",  "/dev",
                                                             "/run",  "/boot", "/snap"};
constexpr std::string_view kRemovableMedia = "/run/media";

bool isUnder(std::string_view path, std::string_view prefix) {
  return path.substr(0, prefix.size()) == prefix &&
         (path.size() == prefix.size() || path[prefix.size()] == '/');
}

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

// "\040" and the like, as the mount table writes blanks in names.
std::string decodeMountField(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto isOctal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2) &&
        isOctal(i + 3)) {
      out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                               (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
      ++at;
    }
    const std::size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') {
      ++at;
    }
    if (at > start) {
      fields.push_back(line.substr(start, at - start));
    }
  }
  return fields;
}

bool isUserVolume(const std::string &mountPoint, std::string_view type) {
  if (mountPoint.empty() || mountPoint.front() != '/' ||
      std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) !=
          kPseudoFileSystems.end()) {
    return false;
  }
  if (isUnder(mountPoint, kRemovableMedia)) {
    return true;
  }
  return std::none_of(kSystemPrefixes.begin(), kSystemPrefixes.end(),
                      [&](std::string_view prefix) { return isUnder(mountPoint, prefix); });
}

bool isFolder(const fs::path &path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

std::string stripQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

} // namespace

std::vector<std::string> parseMounts(std::string_view table) {
  std::vector<std::string> mounts{"/"};
  while (!table.empty()) {
    const auto end = table.find('\n');
    const std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    const auto fields = splitFields(line);
    if (fields.size() < 3) {
      continue;
    }
    std::string mountPoint = decodeMountField(fields[1]);
    if (isUserVolume(mountPoint, fields[2]) &&
        std::find(mounts.begin(), mounts.end(), mountPoint) == mounts.end()) {
      mounts.push_back(std::move(mountPoint));
    }
  }
  return mounts;
}

std::string desktopFromUserDirs(std::string_view text, std::string_view home) {
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  std::string found;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
      line.remove_prefix(1);
    }
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.substr(0, kKey.size()) == kKey) {
      found = stripQuotes(line.substr(kKey.size()));
    }
  }
  constexpr std::string_view kHome = "$HOME";
  if (found.compare(0, kHome.size(), kHome) == 0) {
    found = std::string(home) + found.substr(kHome.size());
  }
  return found;
}

std::optional<std::string> SystemVolumes::variable(const char *name) const {
  if (options_.environment) {
    return options_.environment(name);
  }
  const char *value = std::getenv(name);
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

std::vector<std::string> SystemVolumes::drives() const {
  const auto table = readWholeFile(options_.mountTable, 4u << 20);
  return parseMounts(table ? *table : std::string());
}

std::string SystemVolumes::desktopFolder() const {
  const std::string home = variable("HOME").value_or("/");
  if (const auto desktop = variable("XDG_DESKTOP_DIR"); desktop && isFolder(*desktop)) {
    return *desktop;
  }
  const auto configHome = variable("XDG_CONFIG_HOME");
  const fs::path config =
      configHome && !configHome->empty() ? fs::path(*configHome) : fs::path(home) / ".config";
  if (const auto dirs = readWholeFile(config / "user-dirs.dirs", 1u << 20)) {
    const std::string desktop = desktopFromUserDirs(*dirs, home);
    if (isFolder(desktop)) {
      return desktop;
    }
  }
  const fs::path desktop = fs::path(home) / "Desktop";
  return isFolder(desktop) ? desktop.string() : home;
}

// ---- FolderTree

const FolderTree::Item *FolderTree::item(ItemId id) const {
  const auto found = items_.find(id);
  return found == items_.end() ? nullptr : &found->second;
}

std::vector<FolderTree::ItemId> FolderTree::children(ItemId id) const {
  const Item *found = item(id);
  return found == nullptr ? std::vector<ItemId>{} : found->children;
}

FolderTree::ItemId FolderTree::childNamed(ItemId parent, std::string_view text) const {
  for (const ItemId child : children(parent)) {
    const Item *found = item(child);
    if (!found->placeholder && found->text == text) {
      return child;
    }
  }
  return kNoItem;
}

bool FolderTree::hasExpandButton(ItemId id) const {
  return !children(id).empty();
}

FolderTree::ItemId FolderTree::insert(ItemId parent, std::string text, Icon icon,
                                      bool placeholder) {
  const ItemId id = nextId_++;
  items_[id] = Item{id, parent, std::move(text), icon, placeholder, false, {}};
  if (parent == kNoItem) {
    roots_.push_back(id);
  } else {
    items_[parent].children.push_back(id);
  }
  ++revision_;
  return id;
}

FolderTree::ItemId FolderTree::insertFolder(ItemId parent, std::string text, Icon icon) {
  const ItemId id = insert(parent, std::move(text), icon);
  insert(id, {}, Icon::Blank, true);
  return id;
}

void FolderTree::removeChildren(ItemId id) {
  const auto found = items_.find(id);
  if (found == items_.end()) {
    return;
  }
  const std::vector<ItemId> old = std::move(found->second.children);
  found->second.children.clear();
  for (const ItemId child : old) {
    removeChildren(child);
    if (selected_ == child) {
      selected_ = kNoItem;
    }
    items_.erase(child);
  }
  ++revision_;
}

void FolderTree::FillTree(bool reset) {
  if (reset) {
    items_.clear();
    roots_.clear();
    selected_ = kNoItem;
  }
  insertFolder(kNoItem, std::string(kDrivesText), Icon::Drives);
  insertFolder(kNoItem, volumes_.desktopFolder(), Icon::Folder);
}

void FolderTree::ExpandItem(ItemId id) {
  const Item *found = item(id);
  if (found == nullptr || found->placeholder) {
    return;
  }
  const bool isDrives = id == drivesRoot();
  removeChildren(id);
  if (isDrives) {
    for (std::string &drive : volumes_.drives()) {
      insertFolder(id, std::move(drive), Icon::Drives);
    }
    return;
  }
  for (const fs::path &folder : listFolder(ItemPath(id), {}, true)) {
    insertFolder(id, folder.filename().string(), Icon::Folder);
  }
}

std::string FolderTree::ItemPath(ItemId id) const {
  std::vector<const Item *> chain;
  for (const Item *at = item(id); at != nullptr; at = item(at->parent)) {
    chain.push_back(at);
  }
  if (!chain.empty() && chain.back()->id == drivesRoot()) {
    chain.pop_back();
  }
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty() && !isSeparator(path.back())) {
      path += static_cast<char>(fs::path::preferred_separator);
    }
    path += (*it)->text;
  }
  return path;
}

void FolderTree::select(ItemId id) {
  const Item *found = item(id);
  selected_ = found != nullptr && !found->placeholder ? id : kNoItem;
  ++revision_;
}

FolderTree::ItemId FolderTree::driveFor(std::string_view path, std::string_view &rest) {
  const ItemId drives = drivesRoot();
  const Item *root = item(drives);
  if (root == nullptr) {
    return kNoItem;
  }
  if (std::all_of(root->children.begin(), root->children.end(),
                  [this](ItemId child) { return item(child)->placeholder; })) {
    ExpandItem(drives);
  }
  ItemId best = kNoItem;
  std::size_t bestLength = 0;
  for (const ItemId child : children(drives)) {
    const std::string &drive = item(child)->text;
    const bool prefix = !drive.empty() && path.substr(0, drive.size()) == drive &&
                        (path.size() == drive.size() || isSeparator(drive.back()) ||
                         isSeparator(path[drive.size()]));
    if (prefix && drive.size() > bestLength) {
      best = child;
      bestLength = drive.size();
    }
  }
  rest = path.substr(bestLength);
  return best;
}

bool FolderTree::SelectPath(std::string_view path) {
  if (roots_.empty()) {
    FillTree(false);
  }
  std::string_view rest;
  ItemId at = driveFor(path, rest);
  while (at != kNoItem && !rest.empty()) {
    while (!rest.empty() && isSeparator(rest.front())) {
      rest.remove_prefix(1);
    }
    const auto end = rest.find_first_of("/\\");
    const std::string_view part = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    if (part.empty() || part == ".") {
      continue;
    }
    ItemId next = childNamed(at, part);
    if (next == kNoItem) {
      ExpandItem(at); // not opened yet, or opened before the folder appeared
      next = childNamed(at, part);
    }
    at = next;
  }
  if (at == kNoItem) {
    selected_ = kNoItem;
    ++revision_;
    return false;
  }
  for (auto &[id, each] : items_) {
    each.bold = id == at;
  }
  selected_ = at;
  ++revision_;
  return true;
}

// ---- TemplateBrowser

std::vector<std::string> templateFilesIn(const fs::path &folder) {
  std::vector<std::string> names;
  if (folder.empty()) {
    return names;
  }
  for (const fs::path &file : listFolder(folder, ".utl")) {
    names.push_back(file.filename().string());
  }
  return names;
}

void TemplateBrowser::open() {
  tree_.FillTree(true);
  path_ = browsePath_;
  files_.clear();
  if (!browsePath_.empty() && tree_.SelectPath(browsePath_)) {
    show(tree_.ItemPath(tree_.selected()));
  }
}

void TemplateBrowser::onItemSelected(FolderTree::ItemId item) {
  const FolderTree::Item *found = tree_.item(item);
  if (found == nullptr || found->placeholder) {
    return;
  }
  tree_.select(item);
  show(tree_.ItemPath(item));
}

void TemplateBrowser::onItemExpanded(FolderTree::ItemId item) {
  const FolderTree::Item *found = tree_.item(item);
  if (found == nullptr || found->placeholder) {
    return;
  }
  tree_.ExpandItem(item);
  show(tree_.ItemPath(item));
}

void TemplateBrowser::show(std::string path) {
  path_ = std::move(path);
  files_ = templateFilesIn(InstallTree::storedPath(path_));
}

void TemplateBrowser::ok() {
  browsePath_ = path_;
}

void TemplateBrowser::cancel() {
  browsePath_.clear();
}

} // namespace tarnwick
