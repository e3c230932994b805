// The one-line prompts: the Name dialog (resource 235) and, for a secret
// prompt, the Password dialog (resource 268), whose field hides the text and
// turns letters to upper case.
#pragma once

#include "user_port.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace tarnwick::ui {

class PromptDialog final : public QDialog {
  Q_OBJECT
public:
  static constexpr int kNameDialogId = 235;
  static constexpr int kPasswordDialogId = 268;

  explicit PromptDialog(const PromptSpec &spec, QWidget *parent = nullptr);

  QString text() const;
  QLineEdit *field() const { return field_; }

  // Shows the dialog modally; nothing on Cancel.
  static std::optional<std::string> ask(const PromptSpec &spec, QWidget *parent = nullptr);

private:
  QLineEdit *field_;
};

} // namespace tarnwick::ui
