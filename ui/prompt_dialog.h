// The one-line prompts: the Name dialog (resource 235) and, for a secret
// prompt, the Password dialog (resource 268), whose field hides the text and
// turns letters to upper case.
#pragma once

#include "string_table.h"
#include "user_port.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace tarnwick::ui {

class PromptDialog final : public QDialog {
  Q_OBJECT
public:
  static constexpr int kNameDialogId = 235;
  static constexpr int kPasswordDialogId = 268;

  // strings may be null: English buttons.
  explicit PromptDialog(const PromptSpec &spec, QWidget *parent = nullptr,
                        const StringTable *strings = nullptr);

  QString text() const;
  QLineEdit *field() const { return field_; }
  // How many characters may still be typed; hidden without a maximum.
  QLabel *counter() const { return counter_; }

  // Shows the dialog modally; nothing on Cancel.
  static std::optional<std::string> ask(const PromptSpec &spec, QWidget *parent = nullptr,
                                        const StringTable *strings = nullptr);

private:
  QLineEdit *field_;
  QLabel *counter_ = nullptr;
};

} // namespace tarnwick::ui
