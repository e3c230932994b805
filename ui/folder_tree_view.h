// The folder tree control: shows a FolderTree and reads a branch's folders
// when the user opens it.
#pragma once

#include "folder_tree.h"
#include "string_table.h"

#include <QTreeWidget>

#include <functional>
#include <map>

namespace tarnwick::ui {

class FolderTreeView final : public QTreeWidget {
  Q_OBJECT
public:
  using Expander = std::function<void(FolderTree::ItemId)>;

  // strings (may be null: English) word the tree's own items ("Drives").
  explicit FolderTreeView(FolderTree &tree, QWidget *parent = nullptr,
                          const StringTable *strings = nullptr);

  // What opening a branch runs before the view shows the branch's children;
  // by default the tree's ExpandItem.
  void setExpander(Expander expander) { expander_ = std::move(expander); }

  // Shows the model as it stands, opened along its selection.
  void rebuild();
  QTreeWidgetItem *viewItem(FolderTree::ItemId id) const;
  FolderTree::ItemId itemId(const QTreeWidgetItem *item) const;

signals:
  void folderSelected(tarnwick::FolderTree::ItemId id);
  void folderExpanded(tarnwick::FolderTree::ItemId id);

private:
  QTreeWidgetItem *makeItem(const FolderTree::Item &item);
  void addChildren(QTreeWidgetItem *view, FolderTree::ItemId id);
  bool unopened(FolderTree::ItemId id) const;
  void onExpanded(QTreeWidgetItem *item);
  void onCurrentChanged(QTreeWidgetItem *current);

  FolderTree &tree_;
  const StringTable *strings_;
  Expander expander_;
  std::map<FolderTree::ItemId, QTreeWidgetItem *> items_;
  bool syncing_ = false;
};

} // namespace tarnwick::ui
