// The folder tree apart from its control: a "Drives" root listing the
// file-system roots and mounted volumes, a root for the user's desktop
// folder, and folder items that read their sub-folders when opened. Every
// folder item carries one placeholder child until then, so that it shows an
// expand button. Also the Browse dialog that shows the tree beside the ".utl"
// files of the chosen folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Where the tree's roots come from: the system, or a test's fixed answer.
class VolumeSource {
public:
  virtual ~VolumeSource() = default;
  // The drive items' texts: file-system roots and mounted volumes.
  virtual std::vector<std::string> drives() const = 0;
  // The user's desktop folder (or home).
  virtual std::string desktopFolder() const = 0;
};

class SystemVolumes final : public VolumeSource {
public:
  using Environment = std::function<std::optional<std::string>(const char *name)>;
  struct Options {
    std::filesystem::path mountTable = "/proc/self/mounts";
    Environment environment; // empty: the process environment
  };
  SystemVolumes() = default;
  explicit SystemVolumes(Options options) : options_(std::move(options)) {}
  std::vector<std::string> drives() const override;
  std::string desktopFolder() const override;

private:
  std::optional<std::string> variable(const char *name) const;
  Options options_;
};

// The mount points of a mount table ("/proc/self/mounts" lines) that hold
// real file systems, "/" first, each once, octal escapes decoded; pseudo file
// systems (proc, sysfs, cgroup, tmpfs, ...) and the system's own mounts under
// /proc, /sys, /dev, /run (but /run/media), /boot and /snap are left out.
std::vector<std::string> parseMounts(std::string_view table);
// XDG_DESKTOP_DIR out of a "user-dirs.dirs" text, "$HOME" expanded; empty
// when it is not there.
std::string desktopFromUserDirs(std::string_view text, std::string_view home);

class FolderTree {
public:
  using ItemId = int;
  static constexpr ItemId kNoItem = 0;
  static constexpr std::string_view kDrivesText = "Drives";

  // Image list entries: 0 blank, 1 folder, 2 drives.
  enum class Icon { Blank = 0, Folder = 1, Drives = 2 };

  struct Item {
    ItemId id = kNoItem;
    ItemId parent = kNoItem;
    std::string text;
    Icon icon = Icon::Blank;
    bool placeholder = false; // the empty child of an unopened folder
    bool bold = false;        // the item SelectPath chose
    std::vector<ItemId> children;
  };

  explicit FolderTree(const VolumeSource &volumes) : volumes_(volumes) {}

  // Optionally deletes every item, then adds the two roots: "Drives" and the
  // desktop folder, each with its placeholder child.
  void FillTree(bool reset);
  // Replaces the item's children by its drives (the "Drives" root) or its
  // sub-folders, each with a placeholder child.
  void ExpandItem(ItemId item);
  // The folder path of an item: its text and its ancestors' below "Drives",
  // joined with separators ("/" + "home" + "x" gives "/home/x"; "C:\" +
  // "Forms" + "Site" gives "C:\Forms\Site"). Empty for "Drives" itself.
  std::string ItemPath(ItemId item) const;
  // Opens the tree along path (below the drive it starts with) and selects its
  // last folder in bold. False, with nothing selected, when a part is missing.
  bool SelectPath(std::string_view path);

  std::vector<ItemId> roots() const { return roots_; }
  const Item *item(ItemId id) const;
  std::vector<ItemId> children(ItemId id) const;
  // The real children (no placeholder) whose text is text.
  ItemId childNamed(ItemId parent, std::string_view text) const;
  // Whether the item shows an expand button: it has children.
  bool hasExpandButton(ItemId id) const;
  ItemId drivesRoot() const { return roots_.empty() ? kNoItem : roots_.front(); }
  ItemId desktopRoot() const { return roots_.size() < 2 ? kNoItem : roots_[1]; }
  ItemId selected() const { return selected_; }
  // Selects item (the user clicked it); kNoItem clears the selection.
  void select(ItemId item);
  // Grows with every change, so a view knows when to refresh.
  std::uint64_t revision() const { return revision_; }

private:
  ItemId insert(ItemId parent, std::string text, Icon icon, bool placeholder = false);
  ItemId insertFolder(ItemId parent, std::string text, Icon icon);
  void removeChildren(ItemId id);
  ItemId driveFor(std::string_view path, std::string_view &rest);

  const VolumeSource &volumes_;
  std::map<ItemId, Item> items_;
  std::vector<ItemId> roots_;
  ItemId nextId_ = 1;
  ItemId selected_ = kNoItem;
  std::uint64_t revision_ = 0;
};

// The Browse dialog apart from its controls. The caller sets the browse path
// before and reads it after: the chosen folder on OK, empty on Cancel.
class TemplateBrowser {
public:
  static constexpr int kDialogId = 241;
  static constexpr std::string_view kCaption = "Browse";
  static constexpr int kTreeId = 1184;
  static constexpr int kFileListId = 1185;
  static constexpr std::string_view kNavigateText = "Please navigate to the directory you want";
  static constexpr std::string_view kFilesText = "Templates existing in this location";

  struct Snapshot {
    std::string path;               // the dialog's path
    std::vector<std::string> files; // ".utl" files of that folder, by name
  };

  TemplateBrowser(FolderTree &tree, std::string &browsePath)
      : tree_(tree), browsePath_(browsePath) {}

  // Fills the tree afresh and selects the browse path.
  void open();
  // The user selected or opened an item: its path becomes the dialog's path.
  void onItemSelected(FolderTree::ItemId item);
  void onItemExpanded(FolderTree::ItemId item);
  void ok();
  void cancel();
  Snapshot snapshot() const { return {path_, files_}; }

private:
  void show(std::string path);

  FolderTree &tree_;
  std::string &browsePath_;
  std::string path_;
  std::vector<std::string> files_;
};

// The names of the "*.utl" files (any case) of a folder, sorted.
std::vector<std::string> templateFilesIn(const std::filesystem::path &folder);

} // namespace tarnwick
