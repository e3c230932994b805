// Edit Comments: one multi-line box that starts empty; OK gives its text to
// every selected record, Escape leaves them as they were.
#pragma once

#include "string_table.h"

#include <QDialog>

class QPlainTextEdit;

namespace tarnwick::ui {

class EditCommentsDialog final : public QDialog {
  Q_OBJECT
public:
  explicit EditCommentsDialog(const StringTable &strings, QWidget *parent = nullptr);

  QString text() const;
  QPlainTextEdit *editor() const { return editor_; }

private:
  QPlainTextEdit *editor_ = nullptr;
};

} // namespace tarnwick::ui
