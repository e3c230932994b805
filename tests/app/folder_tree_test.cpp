#include "folder_tree.h"

#include "app_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using ItemId = FolderTree::ItemId;

class FakeVolumes final : public VolumeSource {
public:
  std::vector<std::string> drives() const override {
    ++driveCalls;
    return driveList;
  }
  std::string desktopFolder() const override { return desktop; }

  std::vector<std::string> driveList;
  std::string desktop;
  mutable int driveCalls = 0;
};

struct TreeRig {
  TreeRig() {
    fs::create_directories(disk() / "Forms" / "Site");
    fs::create_directories(disk() / "Forms" / "Empty");
    fs::create_directories(other() / "Stuff");
    work.write("disk/Forms/Site/B.utl", "");
    work.write("disk/Forms/Site/a.UTL", "");
    work.write("disk/Forms/Site/notes.txt", "");
    fs::create_directories(disk() / "Forms" / "Site" / "dir.utl");
    volumes.driveList = {disk().string(), other().string()};
    volumes.desktop = (work.path() / "Desktop").string();
    fs::create_directories(volumes.desktop);
  }
  fs::path disk() const { return work.path() / "disk"; }
  fs::path other() const { return work.path() / "other"; }
  std::vector<std::string> texts(ItemId parent) const {
    std::vector<std::string> result;
    for (const ItemId child : tree.children(parent)) {
      result.push_back(tree.item(child)->text);
    }
    return result;
  }

  TempDir work;
  FakeVolumes volumes;
  FolderTree tree{volumes};
};

TEST(FolderTree, fillTreeAddsDrivesAndTheDesktop) {
  TreeRig rig;
  rig.tree.FillTree(true);
  const auto roots = rig.tree.roots();
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(rig.tree.item(roots[0])->text, "Drives");
  EXPECT_EQ(rig.tree.item(roots[0])->icon, FolderTree::Icon::Drives);
  EXPECT_EQ(rig.tree.item(roots[1])->text, rig.volumes.desktop);
  EXPECT_EQ(rig.tree.item(roots[1])->icon, FolderTree::Icon::Folder);
  EXPECT_TRUE(rig.tree.hasExpandButton(roots[0]));
  EXPECT_TRUE(rig.tree.hasExpandButton(roots[1]));
  rig.tree.FillTree(true);
  EXPECT_EQ(rig.tree.roots().size(), 2u);
  rig.tree.FillTree(false);
  EXPECT_EQ(rig.tree.roots().size(), 4u);
}

TEST(FolderTree, openingDrivesTwiceListsEachDriveOnce) {
  TreeRig rig;
  rig.tree.FillTree(true);
  rig.tree.ExpandItem(rig.tree.drivesRoot());
  rig.tree.ExpandItem(rig.tree.drivesRoot());
  EXPECT_EQ(rig.texts(rig.tree.drivesRoot()),
            (std::vector<std::string>{rig.disk().string(), rig.other().string()}));
  EXPECT_EQ(rig.volumes.driveCalls, 2);
}

TEST(FolderTree, aFolderWithoutSubFoldersLosesItsButtonWhenOpened) {
  TreeRig rig;
  rig.tree.FillTree(true);
  rig.tree.ExpandItem(rig.tree.drivesRoot());
  const ItemId disk = rig.tree.childNamed(rig.tree.drivesRoot(), rig.disk().string());
  rig.tree.ExpandItem(disk);
  const ItemId forms = rig.tree.childNamed(disk, "Forms");
  rig.tree.ExpandItem(forms);
  EXPECT_EQ(rig.texts(forms), (std::vector<std::string>{"Empty", "Site"}));
  const ItemId empty = rig.tree.childNamed(forms, "Empty");
  EXPECT_TRUE(rig.tree.hasExpandButton(empty));
  rig.tree.ExpandItem(empty);
  EXPECT_FALSE(rig.tree.hasExpandButton(empty));
}

TEST(FolderTree, itemPathJoinsTheTextsBelowDrives) {
  TreeRig rig;
  rig.tree.FillTree(true);
  ASSERT_TRUE(rig.tree.SelectPath((rig.disk() / "Forms" / "Site").string()));
  const ItemId site = rig.tree.selected();
  EXPECT_EQ(rig.tree.ItemPath(site), (rig.disk() / "Forms" / "Site").string());
  EXPECT_EQ(rig.tree.ItemPath(rig.tree.drivesRoot()), "");
  const ItemId desktop = rig.tree.desktopRoot();
  EXPECT_EQ(rig.tree.ItemPath(desktop), rig.volumes.desktop);
}

TEST(FolderTree, aRootDriveIsJoinedWithoutADoubleSeparator) {
  FakeVolumes volumes;
  volumes.driveList = {"/"};
  FolderTree tree(volumes);
  tree.FillTree(true);
  ASSERT_TRUE(tree.SelectPath(fs::temp_directory_path().string()));
  EXPECT_EQ(tree.ItemPath(tree.selected()), fs::temp_directory_path().string());
}

TEST(FolderTree, selectPathOpensTheTreeAndMarksTheFolder) {
  TreeRig rig;
  rig.tree.FillTree(true);
  EXPECT_TRUE(rig.tree.SelectPath(rig.disk().string() + "\\Forms\\Site\\"));
  const ItemId site = rig.tree.selected();
  ASSERT_NE(site, FolderTree::kNoItem);
  EXPECT_EQ(rig.tree.item(site)->text, "Site");
  EXPECT_TRUE(rig.tree.item(site)->bold);
  const ItemId forms = rig.tree.item(site)->parent;
  EXPECT_EQ(rig.texts(forms), (std::vector<std::string>{"Empty", "Site"}));
  // Selecting another path moves the bold mark.
  EXPECT_TRUE(rig.tree.SelectPath(rig.other().string()));
  EXPECT_FALSE(rig.tree.item(site)->bold);
  EXPECT_TRUE(rig.tree.item(rig.tree.selected())->bold);
}

TEST(FolderTree, aPathOnNoDriveSelectsNothing) {
  TreeRig rig;
  rig.tree.FillTree(true);
  ASSERT_TRUE(rig.tree.SelectPath(rig.disk().string()));
  EXPECT_FALSE(rig.tree.SelectPath("Q:\\Forms"));
  EXPECT_EQ(rig.tree.selected(), FolderTree::kNoItem);
  EXPECT_FALSE(rig.tree.SelectPath((rig.work.path() / "nowhere").string()));
  EXPECT_FALSE(rig.tree.SelectPath((rig.disk() / "Forms" / "Missing").string()));
  EXPECT_EQ(rig.tree.selected(), FolderTree::kNoItem);
  EXPECT_FALSE(rig.tree.SelectPath(""));
}

TEST(FolderTree, aFolderMadeAfterOpeningIsStillFound) {
  TreeRig rig;
  rig.tree.FillTree(true);
  ASSERT_TRUE(rig.tree.SelectPath((rig.disk() / "Forms").string()));
  rig.tree.ExpandItem(rig.tree.selected());
  fs::create_directories(rig.disk() / "Forms" / "New");
  EXPECT_TRUE(rig.tree.SelectPath((rig.disk() / "Forms" / "New").string()));
}

TEST(TemplateBrowser, opensOnTheBrowsePathWithItsTemplates) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  TemplateBrowser browser(rig.tree, browsePath);
  browser.open();
  EXPECT_EQ(browser.snapshot().path, browsePath);
  EXPECT_EQ(browser.snapshot().files, (std::vector<std::string>{"a.UTL", "B.utl"}));
  EXPECT_EQ(rig.tree.item(rig.tree.selected())->text, "Site");
}

TEST(TemplateBrowser, aFolderWithoutTemplatesLeavesTheListEmpty) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  TemplateBrowser browser(rig.tree, browsePath);
  browser.open();
  const ItemId site = rig.tree.selected();
  const ItemId forms = rig.tree.item(site)->parent;
  browser.onItemSelected(rig.tree.childNamed(forms, "Empty"));
  EXPECT_EQ(browser.snapshot().path, (rig.disk() / "Forms" / "Empty").string());
  EXPECT_TRUE(browser.snapshot().files.empty());
  browser.ok();
  EXPECT_EQ(browsePath, (rig.disk() / "Forms" / "Empty").string());
}

TEST(TemplateBrowser, expandingAnItemShowsItsPath) {
  TreeRig rig;
  std::string browsePath;
  TemplateBrowser browser(rig.tree, browsePath);
  browser.open();
  browser.onItemExpanded(rig.tree.drivesRoot());
  EXPECT_EQ(browser.snapshot().path, "");
  const ItemId disk = rig.tree.childNamed(rig.tree.drivesRoot(), rig.disk().string());
  browser.onItemExpanded(disk);
  EXPECT_EQ(browser.snapshot().path, rig.disk().string());
  EXPECT_EQ(rig.texts(disk), std::vector<std::string>{"Forms"});
}

TEST(TemplateBrowser, cancelLeavesTheBrowsePathEmpty) {
  TreeRig rig;
  std::string browsePath = rig.disk().string();
  TemplateBrowser browser(rig.tree, browsePath);
  browser.open();
  browser.onItemSelected(rig.tree.desktopRoot());
  browser.cancel();
  EXPECT_EQ(browsePath, "");
}

TEST(Mounts, realFileSystemsAreListedAfterTheRoot) {
  const std::string table = "sysfs /sys sysfs rw 0 0\n"
                            "proc /proc proc rw 0 0\n"
                            "/dev/sda2 / ext4 rw 0 0\n"
                            "tmpfs /tmp tmpfs rw 0 0\n"
                            "/dev/sda1 /boot/efi vfat rw 0 0\n"
                            "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                            "/dev/sdc1 /run/media/tec/CARD exfat rw 0 0\n"
                            "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                            "/dev/loop0 /snap/core/1 squashfs ro 0 0\n"
                            "server:/share /mnt/share nfs4 rw 0 0\n"
                            "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                            "garbage\n"
                            "\n";
  EXPECT_EQ(parseMounts(table), (std::vector<std::string>{"/", "/media/usb stick",
                                                          "/run/media/tec/CARD", "/mnt/share"}));
  EXPECT_EQ(parseMounts(""), std::vector<std::string>{"/"});
}

TEST(Desktop, userDirsGiveTheDesktop) {
  EXPECT_EQ(desktopFromUserDirs("# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "/home/t"),
            "/home/t/Schreibtisch");
  EXPECT_EQ(desktopFromUserDirs("XDG_DESKTOP_DIR=/data/desk\r\n", "/home/t"), "/data/desk");
  EXPECT_EQ(desktopFromUserDirs("XDG_DOWNLOAD_DIR=\"$HOME/x\"\n", "/home/t"), "");
}

TEST(Desktop, theDesktopFolderOrHome) {
  TempDir home;
  std::map<std::string, std::string> environment{{"HOME", home.path().string()}};
  SystemVolumes::Options options;
  options.environment = [&](const char *name) -> std::optional<std::string> {
    const auto found = environment.find(name);
    return found == environment.end() ? std::nullopt : std::optional(found->second);
  };
  const SystemVolumes volumes(options);
  EXPECT_EQ(volumes.desktopFolder(), home.path().string());
  fs::create_directories(home.path() / "Desktop");
  EXPECT_EQ(volumes.desktopFolder(), (home.path() / "Desktop").string());
  home.write(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
  fs::create_directories(home.path() / "Bureau");
  EXPECT_EQ(volumes.desktopFolder(), (home.path() / "Bureau").string());
  environment["XDG_DESKTOP_DIR"] = home.path().string();
  EXPECT_EQ(volumes.desktopFolder(), home.path().string());
}

TEST(Mounts, theSystemTableIsRead) {
  TempDir work;
  const auto table = work.write("mounts", "/dev/sdb1 /media/x ext4 rw 0 0\n");
  SystemVolumes::Options options;
  options.mountTable = table;
  EXPECT_EQ(SystemVolumes(options).drives(), (std::vector<std::string>{"/", "/media/x"}));
}

} // namespace
} // namespace tarnwick
