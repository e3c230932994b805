#include "prompt_dialog.h"

#include "dialog_font.h"
#include "length_limit.h"
#include "ui_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace tarnwick::ui {

namespace {

// Typed letters become capitals, as the receiver's passwords are.
class UpperCaseValidator final : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString &input, int &) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

QString titleFor(const PromptSpec &spec, const StringTable *strings) {
  if (!spec.title.empty()) {
    return QString::fromStdString(spec.title);
  }
  return spec.secret ? DialogTexts(strings, 0).string(sid::kPasswordTitle) : QString();
}

} // namespace

PromptDialog::PromptDialog(const PromptSpec &spec, QWidget *parent, const StringTable *strings)
    : QDialog(parent), field_(new QLineEdit(this)) {
  const int dialogId = spec.secret ? kPasswordDialogId : kNameDialogId;
  const DialogTexts texts(strings, dialogId);
  setObjectName(controlName(dialogId));
  setWindowTitle(titleFor(spec, strings));

  field_->setObjectName(QStringLiteral("edit"));
  field_->setFont(boldDialogFont());
  if (spec.secret) {
    // OK takes the first characters up to the maximum.
    if (spec.maxLength > 0) {
      field_->setMaxLength(spec.maxLength);
    }
    field_->setEchoMode(QLineEdit::Password);
    field_->setValidator(new UpperCaseValidator(field_));
  }
  auto *label = new QLabel(QString::fromStdString(spec.label), this);
  label->setWordWrap(true);
  counter_ = new QLabel(this);
  counter_->setObjectName(QStringLiteral("charactersLeft"));
  counter_->hide();
  const QString initial = QString::fromStdString(spec.initial);
  field_->setText(spec.maxLength > 0 ? initial.left(spec.maxLength) : initial);
  field_->selectAll();
  // Typing stops at the maximum and the counter says how much is left; a
  // pasted "1000" leaves the field as it was rather than becoming "100".
  if (!spec.secret && spec.maxLength > 0) {
    limitLength(*field_, spec.maxLength, *counter_, strings);
    counter_->show();
  }

  auto *ok = makeButton(this, item::kOk, texts(item::kOk));
  auto *cancel = makeButton(this, item::kCancel, texts(item::kCancel));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(field_);
  layout->addWidget(counter_);
  layout->addLayout(buttons);
  setMinimumWidth(320);
}

QString PromptDialog::text() const {
  return field_->text();
}

std::optional<std::string> PromptDialog::ask(const PromptSpec &spec, QWidget *parent,
                                             const StringTable *strings) {
  PromptDialog dialog(spec, parent, strings);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.text().toStdString();
}

} // namespace tarnwick::ui
