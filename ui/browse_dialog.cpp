#include "browse_dialog.h"

#include "dialog_font.h"
#include "folder_tree_view.h"
#include "ui_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnwick::ui {

BrowseDialog::BrowseDialog(const VolumeSource &volumes, std::string &browsePath, QWidget *parent,
                           const StringTable *strings)
    : QDialog(parent), tree_(volumes), browser_(tree_, browsePath),
      view_(new FolderTreeView(tree_, this, strings)), files_(new QListWidget(this)) {
  const DialogTexts texts(strings, dialog::kBrowse);
  setObjectName(controlName(TemplateBrowser::kDialogId));
  setWindowTitle(texts(item::kCaption));
  setResourceId(*view_, TemplateBrowser::kTreeId);
  setResourceId(*files_, TemplateBrowser::kFileListId);
  files_->setSelectionMode(QAbstractItemView::NoSelection);
  connect(view_, &FolderTreeView::folderSelected, this, [this](FolderTree::ItemId id) {
    browser_.onItemSelected(id);
    refreshFiles();
  });
  // Opening a branch also makes it the dialog's folder.
  view_->setExpander([this](FolderTree::ItemId id) { browser_.onItemExpanded(id); });
  connect(view_, &FolderTreeView::folderExpanded, this, &BrowseDialog::refreshFiles);

  auto *ok = makeButton(this, item::kOk, texts(item::kOk));
  auto *cancel = makeButton(this, item::kCancel, texts(item::kCancel));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &BrowseDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &BrowseDialog::reject);

  auto *right = new QVBoxLayout;
  right->addWidget(new QLabel(texts(item::kFilesText), this));
  right->addWidget(files_, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  right->addLayout(buttons);

  auto *left = new QVBoxLayout;
  left->addWidget(new QLabel(texts(item::kNavigateText), this));
  left->addWidget(view_, 1);

  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 3);
  layout->addLayout(right, 2);
  resize(640, 420);

  browser_.open();
  view_->rebuild();
  refreshFiles();
}

void BrowseDialog::refreshFiles() {
  files_->clear();
  for (const auto &name : browser_.snapshot().files) {
    files_->addItem(QString::fromStdString(name));
  }
}

void BrowseDialog::accept() {
  browser_.ok();
  QDialog::accept();
}

void BrowseDialog::reject() {
  browser_.cancel();
  QDialog::reject();
}

} // namespace tarnwick::ui
