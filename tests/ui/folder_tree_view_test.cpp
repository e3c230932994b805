#include "browse_dialog.h"
#include "folder_tree_view.h"
#include "gui_helpers.h"
#include "temp_dir.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

namespace fs = std::filesystem;
using testing::control;
using testing::TempDir;

class FakeVolumes final : public VolumeSource {
public:
  std::vector<std::string> drives() const override { return driveList; }
  std::string desktopFolder() const override { return desktop; }
  std::vector<std::string> driveList;
  std::string desktop;
};

// A drive with Forms/Site (two templates) and Forms/Empty (none, no folders).
struct TreeRig {
  TreeRig() {
    fs::create_directories(disk() / "Forms" / "Site");
    fs::create_directories(disk() / "Forms" / "Empty");
    work.write("disk/Forms/Site/B.utl", std::string());
    work.write("disk/Forms/Site/a.UTL", std::string());
    work.write("disk/Forms/Site/notes.txt", std::string());
    volumes.driveList = {disk().string()};
    volumes.desktop = (work.path() / "Desktop").string();
    fs::create_directories(volumes.desktop);
  }
  fs::path disk() const { return work.path() / "disk"; }

  TempDir work;
  FakeVolumes volumes;
};

QStringList childTexts(const QTreeWidgetItem *item) {
  QStringList texts;
  for (int i = 0; i < item->childCount(); ++i) {
    texts << item->child(i)->text(0);
  }
  return texts;
}

QTreeWidgetItem *child(QTreeWidgetItem *item, const QString &text) {
  for (int i = 0; i < item->childCount(); ++i) {
    if (item->child(i)->text(0) == text) {
      return item->child(i);
    }
  }
  return nullptr;
}

bool showsExpandButton(const QTreeWidgetItem *item) {
  return item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

QStringList listed(const QListWidget &list) {
  QStringList names;
  for (int i = 0; i < list.count(); ++i) {
    names << list.item(i)->text();
  }
  return names;
}

TEST(FolderTreeView, showsTheRootsWithExpandButtons) {
  TreeRig rig;
  FolderTree tree(rig.volumes);
  tree.FillTree(true);
  FolderTreeView view(tree);
  view.rebuild();
  ASSERT_EQ(view.topLevelItemCount(), 2);
  EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Drives"));
  EXPECT_EQ(view.topLevelItem(1)->text(0), QString::fromStdString(rig.volumes.desktop));
  EXPECT_TRUE(showsExpandButton(view.topLevelItem(0)));
  EXPECT_TRUE(showsExpandButton(view.topLevelItem(1)));
  EXPECT_FALSE(view.topLevelItem(0)->icon(0).isNull());
}

TEST(FolderTreeView, aFolderWithoutSubFoldersLosesItsButtonWhenOpened) {
  TreeRig rig;
  FolderTree tree(rig.volumes);
  tree.FillTree(true);
  FolderTreeView view(tree);
  view.rebuild();
  view.topLevelItem(0)->setExpanded(true);
  QTreeWidgetItem *drive = view.topLevelItem(0)->child(0);
  ASSERT_NE(drive, nullptr);
  drive->setExpanded(true);
  QTreeWidgetItem *forms = child(drive, "Forms");
  ASSERT_NE(forms, nullptr);
  forms->setExpanded(true);
  QTreeWidgetItem *empty = child(forms, "Empty");
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(showsExpandButton(empty));
  empty->setExpanded(true);
  EXPECT_FALSE(showsExpandButton(empty));
  EXPECT_EQ(childTexts(forms), QStringList({"Empty", "Site"}));
}

TEST(FolderTreeView, openingDrivesTwiceListsEachDriveOnce) {
  TreeRig rig;
  FolderTree tree(rig.volumes);
  tree.FillTree(true);
  FolderTreeView view(tree);
  view.rebuild();
  QTreeWidgetItem *drives = view.topLevelItem(0);
  drives->setExpanded(true);
  drives->setExpanded(false);
  drives->setExpanded(true);
  EXPECT_EQ(childTexts(drives), QStringList({QString::fromStdString(rig.disk().string())}));
}

TEST(BrowseDialog, opensOnTheBrowsePathWithItsTemplates) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  EXPECT_EQ(dialog.objectName(), QStringLiteral("241"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Browse"));
  auto *files = control<QListWidget>(dialog, 1185);
  ASSERT_NE(files, nullptr);
  ASSERT_NE(control<QTreeWidget>(dialog, 1184), nullptr);
  EXPECT_EQ(listed(*files), QStringList({"a.UTL", "B.utl"}));
  QTreeWidgetItem *current = dialog.treeView()->currentItem();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->text(0), QStringLiteral("Site"));
  EXPECT_TRUE(current->font(0).bold());
}

TEST(BrowseDialog, aFolderWithoutTemplatesLeavesTheListEmpty) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  QTreeWidgetItem *site = dialog.treeView()->currentItem();
  QTreeWidgetItem *empty = child(site->parent(), "Empty");
  ASSERT_NE(empty, nullptr);
  dialog.treeView()->setCurrentItem(empty);
  EXPECT_TRUE(listed(*control<QListWidget>(dialog, 1185)).isEmpty());
  EXPECT_EQ(dialog.logic().snapshot().path, (rig.disk() / "Forms" / "Empty").string());
}

TEST(BrowseDialog, openingABranchMakesItTheChosenFolder) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  QTreeWidgetItem *forms = dialog.treeView()->currentItem();
  ASSERT_NE(forms, nullptr);
  forms->setExpanded(true);
  EXPECT_EQ(dialog.logic().snapshot().path, (rig.disk() / "Forms").string());
  QTreeWidgetItem *site = child(forms, "Site");
  ASSERT_NE(site, nullptr);
  site->setExpanded(true);
  EXPECT_EQ(listed(*control<QListWidget>(dialog, 1185)), QStringList({"a.UTL", "B.utl"}));
  control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ(browsePath, (rig.disk() / "Forms" / "Site").string());
}

TEST(BrowseDialog, okTakesTheSelectedFolder) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  QTreeWidgetItem *empty = child(dialog.treeView()->currentItem()->parent(), "Empty");
  dialog.treeView()->setCurrentItem(empty);
  control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ(browsePath, (rig.disk() / "Forms" / "Empty").string());
}

TEST(BrowseDialog, cancelEmptiesTheBrowsePath) {
  TreeRig rig;
  std::string browsePath = (rig.disk() / "Forms" / "Site").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  QTreeWidgetItem *empty = child(dialog.treeView()->currentItem()->parent(), "Empty");
  dialog.treeView()->setCurrentItem(empty);
  control<QPushButton>(dialog, 2)->click();
  EXPECT_TRUE(browsePath.empty());
}

TEST(BrowseDialog, aPathOnAMissingDriveSelectsNothing) {
  TreeRig rig;
  std::string browsePath = (rig.work.path() / "nodisk" / "Forms").string();
  BrowseDialog dialog(rig.volumes, browsePath);
  EXPECT_EQ(dialog.treeView()->currentItem(), nullptr);
  EXPECT_TRUE(listed(*control<QListWidget>(dialog, 1185)).isEmpty());
}

} // namespace
} // namespace tarnwick::ui
