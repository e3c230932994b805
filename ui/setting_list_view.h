// One list control of the Configure Receiver pages: the entries of a setting
// list, each with the picture of its state. A click (or the space bar) on an
// entry is reported; what it does is the editor's business.
#pragma once

#include "setting_list.h"
#include "string_table.h"

#include <QString>
#include <QTreeWidget>

#include <memory>

namespace tarnwick::ui {

class SettingListView final : public QTreeWidget {
  Q_OBJECT
public:
  // The data role holding an entry's SettingState as an int.
  static constexpr int kStateRole = Qt::UserRole + 1;
  static constexpr int kColumnWidth = 76;

  // Named after the list's command word; a title gives the column a header.
  // strings (may be null: English) word the entries' names and tool tips.
  SettingListView(ListId list, const QString &title, QWidget *parent = nullptr,
                  const StringTable *strings = nullptr);

  ListId list() const { return list_; }
  // Shows the entries' names and pictures; rows are reused so a refresh
  // while a click is being handled leaves the clicked row in place.
  void showEntries(const SettingList &entries);
  // The state a row shows; Unavailable past the end.
  SettingState stateAt(int row) const;
  // Room for rows entries without a scroll bar.
  void fitRows(int rows, int width);

signals:
  void entryClicked(tarnwick::ListId list, int entry);

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  QString stateTip(SettingState state) const;

  ListId list_;
  std::unique_ptr<StringTable> english_; // when no strings were given
  const StringTable *strings_;
};

// The dialog text (of Configure Receiver) that names a state.
int stateTextItem(SettingState state);

} // namespace tarnwick::ui
