// The marker utility's "Xfer Saved data" page: three buttons, each opening
// the record dialog for its kind. Nothing talks to the receiver until the
// dialog's own button starts a transfer.
#pragma once

#include "record_layout.h"
#include "session.h"

#include <QWidget>

namespace tarnwick::ui {

class MarkerRecordsDialog;

class TransferSavedDataPage final : public QWidget {
  Q_OBJECT
public:
  explicit TransferSavedDataPage(Session &session, QWidget *parent = nullptr);

  // Shows the record dialog of kind modally.
  void openRecords(RecordKind kind);

signals:
  // The dialog is about to be shown (lets a caller drive it).
  void recordsDialogOpened(tarnwick::ui::MarkerRecordsDialog *dialog);

private:
  Session &session_;
};

} // namespace tarnwick::ui
