// The records of one kind (caption "Marker records"): the list in a table
// read on demand, the positions of the records beside it, the transfer from
// the receiver with its progress, the file operations, and the list's
// context menu. The transfer runs on the ToolRunner; while it runs the
// dialog shows only its snapshot and never reads the list it fills.
#pragma once

#include "glossary.h"
#include "record_files.h"
#include "record_transfer.h"
#include "session.h"
#include "tool_runner.h"

#include <QDialog>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;

namespace tarnwick::ui {

class PositionsView;
class RecordTableModel;

class MarkerRecordsDialog final : public QDialog {
  Q_OBJECT
public:
  MarkerRecordsDialog(Session &session, RecordKind kind, QWidget *parent = nullptr);
  ~MarkerRecordsDialog() override;

  RecordKind kind() const { return kind_; }
  bool transferRunning() const { return runner_.running(); }
  RecordTransfer::Result lastResult() const { return lastResult_; }

  QTableView *table() const { return table_; }
  RecordTableModel *model() const { return model_; }
  PositionsView *positions() const { return positions_; }
  QProgressBar *progress() const { return progress_; }
  QLabel *statusLine() const { return status_; }

  // The context menu's actions, enabled as the selection and clipboard allow.
  QAction *editCommentsAction() const { return editAction_; }
  QAction *copyAction() const { return copyAction_; }
  QAction *cutAction() const { return cutAction_; }
  QAction *pasteAction() const { return pasteAction_; }
  QAction *deleteAction() const { return deleteAction_; }

  // "&Copy Marker Data to File".
  void startTransfer();
  void openFile();
  void saveFile();
  void saveFileAs();
  void exportFile();
  void sortByColumn(int column);
  void editComments();
  void copyRows();
  void cutRows();
  void pasteRows();
  void deleteRows();
  RecordSelection selection() const;
  void updateActions();
  // The list changed as a whole: the table, the positions and the caption follow.
  void refreshFromList();

  // Closing (Exit, the close box, Escape) asks to save changes; a running
  // transfer is cancelled first.
  void reject() override;

signals:
  void transferFinished(tarnwick::RecordTransfer::Result result);

protected:
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  QWidget *makeButtons();
  void makeActions();
  QAction *makeAction(StringId text, void (MarkerRecordsDialog::*slot)());
  bool refusedWhileRunning();
  void refreshProgress();
  void onTransferFinished();
  void showSelectionInPositions();
  void selectRowFromPositions(int row, bool extend);
  void updateCaption();
  void fitColumns();
  QString text(StringId id) const;

  Session &session_;
  RecordKind kind_;
  RecordList &list_;
  Glossary glossary_;
  RecordFiles files_;
  RecordTransfer transfer_;
  ToolRunner runner_;
  RecordTransfer::Result lastResult_ = RecordTransfer::Result::Cancelled;

  RecordTableModel *model_ = nullptr;
  QTableView *table_ = nullptr;
  PositionsView *positions_ = nullptr;
  QSplitter *splitter_ = nullptr;
  QProgressBar *progress_ = nullptr;
  QLabel *status_ = nullptr;
  QPushButton *copyButton_ = nullptr;
  QAction *editAction_ = nullptr;
  QAction *copyAction_ = nullptr;
  QAction *cutAction_ = nullptr;
  QAction *pasteAction_ = nullptr;
  QAction *deleteAction_ = nullptr;
};

} // namespace tarnwick::ui
