#include "record_table_model.h"

#include "record_columns.h"

namespace tarnwick::ui {

RecordTableModel::RecordTableModel(RecordList &list, const StringTable &strings, QObject *parent)
    : QAbstractTableModel(parent), list_(list), strings_(strings) {}

int RecordTableModel::rowCount(const QModelIndex &parent) const {
  if (parent.isValid() || detached_) {
    return 0;
  }
  return static_cast<int>(list_.size());
}

int RecordTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(recordColumns(list_.kind()).size());
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
    return {};
  }
  const RecordRow &row = list_.entries()[static_cast<std::size_t>(index.row())].row;
  return QString::fromStdString(
      columnText(row, list_.kind(), static_cast<std::size_t>(index.column())));
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const auto columns = recordColumns(list_.kind());
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      static_cast<std::size_t>(section) >= columns.size()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromStdString(strings_.text(columns[static_cast<std::size_t>(section)].title));
}

void RecordTableModel::reload() {
  beginResetModel();
  endResetModel();
}

void RecordTableModel::setDetached(bool detached) {
  beginResetModel();
  detached_ = detached;
  endResetModel();
}

} // namespace tarnwick::ui
