#include "folder_tree_view.h"

#include "ui_text.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>

namespace tarnwick::ui {

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

QIcon iconFor(FolderTree::Icon icon) {
  QStyle *style = QApplication::style();
  switch (icon) {
  case FolderTree::Icon::Folder:
    return style->standardIcon(QStyle::SP_DirIcon);
  case FolderTree::Icon::Drives:
    return style->standardIcon(QStyle::SP_DriveHDIcon);
  case FolderTree::Icon::Blank:
    break;
  }
  return {};
}

} // namespace

FolderTreeView::FolderTreeView(FolderTree &tree, QWidget *parent, const StringTable *strings)
    : QTreeWidget(parent), tree_(tree), strings_(strings),
      expander_([this](FolderTree::ItemId id) { tree_.ExpandItem(id); }) {
  setHeaderHidden(true);
  setColumnCount(1);
  setUniformRowHeights(true);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemExpanded, this, &FolderTreeView::onExpanded);
  connect(this, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem *current) { onCurrentChanged(current); });
}

bool FolderTreeView::unopened(FolderTree::ItemId id) const {
  const auto children = tree_.children(id);
  return children.size() == 1 && tree_.item(children.front())->placeholder;
}

QTreeWidgetItem *FolderTreeView::makeItem(const FolderTree::Item &item) {
  const bool drives = item.icon == FolderTree::Icon::Drives && item.text == FolderTree::kDrivesText;
  auto *view =
      new QTreeWidgetItem(QStringList(drives ? uiText(strings_, dialog::kBrowse, item::kDrivesItem)
                                             : QString::fromStdString(item.text)));
  view->setData(0, kIdRole, item.id);
  view->setIcon(0, iconFor(item.icon));
  QFont font = view->font(0);
  font.setBold(item.bold);
  view->setFont(0, font);
  // An unopened folder shows its expand button before its folders are read.
  view->setChildIndicatorPolicy(unopened(item.id)
                                    ? QTreeWidgetItem::ShowIndicator
                                    : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  items_[item.id] = view;
  return view;
}

void FolderTreeView::addChildren(QTreeWidgetItem *view, FolderTree::ItemId id) {
  for (const FolderTree::ItemId childId : tree_.children(id)) {
    const FolderTree::Item *child = tree_.item(childId);
    if (child == nullptr || child->placeholder) {
      continue;
    }
    QTreeWidgetItem *childView = makeItem(*child);
    view->addChild(childView);
    addChildren(childView, childId);
  }
}

void FolderTreeView::rebuild() {
  syncing_ = true;
  const QSignalBlocker block(this);
  clear();
  items_.clear();
  for (const FolderTree::ItemId rootId : tree_.roots()) {
    QTreeWidgetItem *root = makeItem(*tree_.item(rootId));
    addTopLevelItem(root);
    addChildren(root, rootId);
  }
  // Open the branches that were read, so the selection is visible.
  for (const auto &[id, view] : items_) {
    if (view->childCount() > 0 && !unopened(id) && tree_.item(id)->parent != FolderTree::kNoItem) {
      view->setExpanded(true);
    }
  }
  if (QTreeWidgetItem *selected = viewItem(tree_.selected())) {
    for (QTreeWidgetItem *up = selected->parent(); up != nullptr; up = up->parent()) {
      up->setExpanded(true);
    }
    setCurrentItem(selected);
    scrollToItem(selected);
  }
  syncing_ = false;
}

QTreeWidgetItem *FolderTreeView::viewItem(FolderTree::ItemId id) const {
  const auto found = items_.find(id);
  return found == items_.end() ? nullptr : found->second;
}

FolderTree::ItemId FolderTreeView::itemId(const QTreeWidgetItem *item) const {
  return item == nullptr ? FolderTree::kNoItem : item->data(0, kIdRole).toInt();
}

// Every opening of a branch reads its folders afresh.
void FolderTreeView::onExpanded(QTreeWidgetItem *item) {
  if (syncing_) {
    return;
  }
  const FolderTree::ItemId id = itemId(item);
  expander_(id);
  syncing_ = true;
  for (QTreeWidgetItem *child : item->takeChildren()) {
    delete child;
  }
  // Forget the views of the removed items before new ones take their place.
  for (auto it = items_.begin(); it != items_.end();) {
    const FolderTree::Item *model = tree_.item(it->first);
    it = model == nullptr ? items_.erase(it) : std::next(it);
  }
  addChildren(item, id);
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  syncing_ = false;
  emit folderExpanded(id);
}

void FolderTreeView::onCurrentChanged(QTreeWidgetItem *current) {
  if (syncing_ || current == nullptr) {
    return;
  }
  const FolderTree::ItemId id = itemId(current);
  tree_.select(id);
  emit folderSelected(id);
}

} // namespace tarnwick::ui
