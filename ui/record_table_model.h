// The record list as a table model: rows are read from the RecordList when
// the view asks for them, so a full receiver memory opens at once. While a
// transfer writes the list the model is detached and shows no rows.
#pragma once

#include "record_list.h"
#include "string_table.h"

#include <QAbstractTableModel>

namespace tarnwick::ui {

class RecordTableModel final : public QAbstractTableModel {
  Q_OBJECT
public:
  RecordTableModel(RecordList &list, const StringTable &strings, QObject *parent = nullptr);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The list changed as a whole (sort, paste, open, transfer end).
  void reload();
  // Stops or resumes reading the list.
  void setDetached(bool detached);
  bool detached() const { return detached_; }

  RecordList &list() { return list_; }

private:
  RecordList &list_;
  const StringTable &strings_;
  bool detached_ = false;
};

} // namespace tarnwick::ui
