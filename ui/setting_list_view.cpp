#include "setting_list_view.h"

#include "configuration_tables.h"
#include "setting_state_icons.h"
#include "ui_text.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tarnwick::ui {

namespace {

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// The words of the legend under the pages.
QString SettingListView::stateTip(SettingState state) const {
  return uiText(strings_, dialog::kConfigureReceiver, stateTextItem(state));
}

int stateTextItem(SettingState state) {
  switch (state) {
  case SettingState::Disabled:
    return item::kStateDisabled;
  case SettingState::Enabled:
    return item::kStateEnabled;
  case SettingState::Masked:
    return item::kStateMasked;
  case SettingState::Unavailable:
    break;
  }
  return item::kStateUnavailable;
}

SettingListView::SettingListView(ListId list, const QString &title, QWidget *parent,
                                 const StringTable *strings)
    : QTreeWidget(parent), list_(list),
      english_(strings == nullptr ? std::make_unique<StringTable>() : nullptr),
      strings_(strings != nullptr ? strings : english_.get()) {
  setObjectName(fromView(listWord(list)));
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(kStateIconSize, kStateIconSize));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (title.isEmpty()) {
    setHeaderHidden(true);
  } else {
    setHeaderLabels({title});
    header()->setDefaultAlignment(Qt::AlignCenter);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(true);
  }
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item, int) {
    emit entryClicked(list_, indexOfTopLevelItem(item));
  });
}

void SettingListView::showEntries(const SettingList &entries) {
  while (topLevelItemCount() > entries.count()) {
    delete takeTopLevelItem(topLevelItemCount() - 1);
  }
  while (topLevelItemCount() < entries.count()) {
    addTopLevelItem(new QTreeWidgetItem(this));
  }
  for (int row = 0; row < entries.count(); ++row) {
    const SettingEntry &entry = entries.at(row);
    QTreeWidgetItem *item = topLevelItem(row);
    const QString name =
        QString::fromStdString(entryDisplayName(*strings_, list_, row, entry.name));
    if (item->text(0) != name) {
      item->setText(0, name);
    }
    const int state = static_cast<int>(entry.state);
    if (item->data(0, kStateRole).toInt() != state || !item->data(0, kStateRole).isValid()) {
      item->setData(0, kStateRole, state);
      item->setIcon(0, settingStateIcon(entry.state));
      item->setToolTip(0, stateTip(entry.state));
      // Not offered in the country: greyed like a control that cannot be used.
      item->setForeground(0, entry.state == SettingState::Unavailable
                                 ? palette().brush(QPalette::Disabled, QPalette::Text)
                                 : palette().brush(QPalette::Active, QPalette::Text));
    }
  }
}

SettingState SettingListView::stateAt(int row) const {
  const QTreeWidgetItem *item = topLevelItem(row);
  if (item == nullptr) {
    return SettingState::Unavailable;
  }
  return static_cast<SettingState>(item->data(0, kStateRole).toInt());
}

void SettingListView::fitRows(int rows, int width) {
  const int rowHeight = qMax(fontMetrics().height(), kStateIconSize) + 4;
  const int headerHeight = isHeaderHidden() ? 0 : header()->sizeHint().height();
  setFixedHeight(rows * rowHeight + headerHeight + 2 * frameWidth() + 2);
  setFixedWidth(width + 2 * frameWidth());
}

void SettingListView::keyPressEvent(QKeyEvent *event) {
  const QModelIndex current = currentIndex();
  if (event->key() == Qt::Key_Space && current.isValid()) {
    emit entryClicked(list_, current.row());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

} // namespace tarnwick::ui
