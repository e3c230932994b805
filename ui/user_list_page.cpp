#include "user_list_page.h"

#include "dialog_font.h"
#include "string_ids.h"
#include "template_widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarnwick::ui {

namespace {

using Editor = UserListEditor;

constexpr int kRefRole = Qt::UserRole;

std::vector<GlossaryRef> selectedRefs(const QListWidget &list) {
  std::vector<GlossaryRef> refs;
  for (int row = 0; row < list.count(); ++row) {
    const QListWidgetItem *item = list.item(row);
    if (item->isSelected()) {
      refs.push_back(static_cast<GlossaryRef>(item->data(kRefRole).toUInt()));
    }
  }
  return refs;
}

// Replaces the entries when they differ; the selection of unchanged entries
// is kept.
void setListItems(QListWidget &list, const std::vector<GlossaryItem> &items) {
  bool same = list.count() == static_cast<int>(items.size());
  for (int row = 0; same && row < list.count(); ++row) {
    const QListWidgetItem *item = list.item(row);
    const GlossaryItem &wanted = items[static_cast<std::size_t>(row)];
    same =
        item->data(kRefRole).toUInt() == wanted.ref && item->text() == fromLatin1Text(wanted.text);
  }
  if (same) {
    return;
  }
  const QSignalBlocker block(&list);
  list.clear();
  for (const GlossaryItem &entry : items) {
    auto *item = new QListWidgetItem(fromLatin1Text(entry.text), &list);
    item->setData(kRefRole, entry.ref);
  }
}

QLabel *makeCaption(QWidget *parent, const QString &text) {
  auto *label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

} // namespace

UserListPage::UserListPage(TemplatesWorkspace &workspace, UserPort &user,
                           const StringTable &strings, QWidget *parent)
    : QWidget(parent), editor_(workspace, user, strings), texts_(&strings, dialog::kUserList) {
  setObjectName(controlName(Editor::kDialogId));
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(makeListChoice());
  layout->addLayout(makeLabelLists(), 1);
  layout->addSpacing(8);
  layout->addLayout(makeLinkLists(), 1);
  layout->addSpacing(8);
  layout->addLayout(makeButtons(strings));
  noDefaultButtons(*this);
  refresh();
}

QListWidget *UserListPage::makeList(int id) {
  auto *list = new QListWidget(this);
  setResourceId(*list, id);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setMinimumWidth(QFontMetrics(list->font()).averageCharWidth() * 20);
  return list;
}

QPushButton *UserListPage::makeActionButton(int id, void (UserListPage::*action)()) {
  auto *button = makeButton(this, id, texts_(id));
  connect(button, &QPushButton::clicked, this, [this, action] {
    (this->*action)();
    refresh();
  });
  return button;
}

QLayout *UserListPage::makeListChoice() {
  list_ = new QComboBox(this);
  setResourceId(*list_, Editor::kListBox);
  list_->setFont(boldDialogFont());
  list_->setMinimumContentsLength(8);
  connect(list_, &QComboBox::activated, this, &UserListPage::chooseList);
  auto *row = new QHBoxLayout;
  row->addWidget(new QLabel(texts_(item::kListLabel), this));
  row->addWidget(list_);
  row->addStretch();
  return row;
}

QLayout *UserListPage::makeLabelLists() {
  allLabels_ = makeList(Editor::kAllLabelsBox);
  listLabels_ = makeList(Editor::kListLabelsBox);
  connect(allLabels_, &QListWidget::itemDoubleClicked, this, [this] {
    addSelectedLabels();
    refresh();
  });
  auto *add = makeActionButton(Editor::kAddLabelsButton, &UserListPage::addSelectedLabels);
  auto *remove = makeActionButton(Editor::kRemoveLabelButton, &UserListPage::removeSelectedLabels);
  auto *removeAll =
      makeActionButton(Editor::kRemoveAllLabelsButton, &UserListPage::removeAllLabels);
  labelButtons_ = {add, remove, removeAll};

  auto *grid = new QGridLayout;
  grid->addWidget(makeCaption(this, texts_(item::kAllLabelsCaption)), 0, 0);
  grid->addWidget(makeCaption(this, texts_(item::kListLabelsCaption)), 0, 2);
  grid->addWidget(allLabels_, 1, 0);
  auto *middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(add);
  middle->addStretch();
  grid->addLayout(middle, 1, 1);
  grid->addWidget(listLabels_, 1, 2);
  auto *side = new QVBoxLayout;
  side->addWidget(remove);
  side->addWidget(removeAll);
  side->addStretch();
  grid->addLayout(side, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  return grid;
}

QLayout *UserListPage::makeLinkLists() {
  linkLabel_ = new QComboBox(this);
  setResourceId(*linkLabel_, Editor::kLinkLabelBox);
  linkLabel_->setFont(boldDialogFont());
  linkLabel_->setMinimumContentsLength(kMaxLabelLength + 2);
  connect(linkLabel_, &QComboBox::activated, this, &UserListPage::chooseLinkLabel);
  allDescriptions_ = makeList(Editor::kAllDescriptionsBox);
  linked_ = makeList(Editor::kLinkedBox);
  connect(allDescriptions_, &QListWidget::itemDoubleClicked, this, [this] {
    linkSelectedDescriptions();
    refresh();
  });
  auto *link = makeActionButton(Editor::kLinkButton, &UserListPage::linkSelectedDescriptions);
  auto *unlink = makeActionButton(Editor::kUnlinkButton, &UserListPage::unlinkSelectedDescriptions);
  auto *unlinkAll = makeActionButton(Editor::kUnlinkAllButton, &UserListPage::unlinkAll);

  // The label choice heads the list of its linked descriptions.
  auto *choice = new QHBoxLayout;
  choice->addWidget(new QLabel(texts_(item::kLinkLabelCaption), this));
  choice->addWidget(linkLabel_, 1);

  auto *grid = new QGridLayout;
  grid->addWidget(makeCaption(this, texts_(item::kAllDescriptionsCaption)), 0, 0, Qt::AlignBottom);
  grid->addLayout(choice, 0, 2, 1, 2);
  grid->addWidget(allDescriptions_, 1, 0);
  auto *middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(link);
  middle->addStretch();
  grid->addLayout(middle, 1, 1);
  grid->addWidget(linked_, 1, 2);
  auto *side = new QVBoxLayout;
  side->addWidget(unlink);
  side->addWidget(unlinkAll);
  side->addStretch();
  grid->addLayout(side, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  return grid;
}

QLayout *UserListPage::makeButtons(const StringTable &strings) {
  auto *create = makeActionButton(Editor::kNewButton, &UserListPage::newList);
  auto *save = makeActionButton(Editor::kSaveButton, &UserListPage::save);
  auto *saveAs = makeActionButton(Editor::kSaveAsButton, &UserListPage::saveAs);
  auto *send = makeButton(this, Editor::kSendButton, texts_(Editor::kSendButton));
  connect(send, &QPushButton::clicked, this,
          [this] { askToSend(&UserListPage::sendListRequested); });
  auto *sendLinks =
      makeButton(this, kSendLinksButton,
                 QString::fromStdString(strings.text(sid::kSendDescriptionLinksButton)));
  connect(sendLinks, &QPushButton::clicked, this,
          [this] { askToSend(&UserListPage::sendLinksRequested); });
  auto *row = new QHBoxLayout;
  row->addWidget(create);
  row->addWidget(save);
  row->addWidget(saveAs);
  row->addStretch();
  row->addWidget(send);
  row->addWidget(sendLinks);
  return row;
}

// Only a saved list of the store goes to the receiver; the editor says why not.
void UserListPage::askToSend(void (UserListPage::*request)(const std::string &)) {
  if (editor_.checkSend()) {
    emit(this->*request)(editor_.list());
  }
}

void UserListPage::chooseList(int index) {
  editor_.selectList(list_->itemData(index).toString().toStdString());
  refresh();
}

QString UserListPage::shownName(const std::string &list) const {
  if (list == UserListStore::kNew) {
    return texts_(item::kNewListEntry);
  }
  if (list == UserListStore::kAll) {
    return texts_(item::kAllListEntry);
  }
  return QString::fromStdString(list);
}

void UserListPage::addSelectedLabels() {
  editor_.addLabels(selectedRefs(*allLabels_));
}

void UserListPage::removeSelectedLabels() {
  editor_.removeLabels(selectedRefs(*listLabels_));
}

void UserListPage::removeAllLabels() {
  editor_.removeAllLabels();
}

void UserListPage::chooseLinkLabel(int index) {
  editor_.chooseLinkLabel(static_cast<GlossaryRef>(linkLabel_->itemData(index).toUInt()));
  refresh();
}

void UserListPage::linkSelectedDescriptions() {
  editor_.linkDescriptions(selectedRefs(*allDescriptions_));
}

void UserListPage::unlinkSelectedDescriptions() {
  editor_.unlinkDescriptions(selectedRefs(*linked_));
}

void UserListPage::unlinkAll() {
  editor_.unlinkAll();
}

void UserListPage::newList() {
  editor_.newList();
}

void UserListPage::save() {
  editor_.save();
}

void UserListPage::saveAs() {
  editor_.saveAs();
}

void UserListPage::reloadGlossary() {
  editor_.reloadGlossary();
  refresh();
}

void UserListPage::refresh() {
  const Editor::Snapshot snapshot = editor_.snapshot();
  {
    const QSignalBlocker block(list_);
    QStringList shown;
    for (const std::string &list : snapshot.lists) {
      shown << shownName(list);
    }
    setComboItems(*list_, shown, fromNames(snapshot.lists));
    list_->setCurrentIndex(list_->findData(QString::fromStdString(snapshot.list)));
  }
  setListItems(*allLabels_, snapshot.allLabels);
  setListItems(*listLabels_, snapshot.listLabels);
  {
    const QSignalBlocker block(linkLabel_);
    linkLabel_->clear();
    for (const GlossaryItem &label : snapshot.listLabels) {
      linkLabel_->addItem(fromLatin1Text(label.text), label.ref);
    }
    linkLabel_->setCurrentIndex(linkLabel_->findData(snapshot.linkLabel));
  }
  setListItems(*allDescriptions_, snapshot.allDescriptions);
  setListItems(*linked_, snapshot.linkedDescriptions);
  for (QPushButton *button : labelButtons_) {
    button->setEnabled(snapshot.labelsEditable);
  }
}

} // namespace tarnwick::ui
