#include "prompt_dialog.h"

#include "dialog_font.h"

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

// An edit that would make the text longer than the maximum is refused as a
// whole: a pasted "1000" leaves the field as it was rather than becoming "100".
class MaxLengthValidator final : public QValidator {
public:
  MaxLengthValidator(int maxLength, QObject *parent) : QValidator(parent), max_(maxLength) {}
  State validate(QString &input, int &) const override {
    return input.size() > max_ ? Invalid : Acceptable;
  }

private:
  int max_;
};

QString titleFor(const PromptSpec &spec) {
  if (!spec.title.empty()) {
    return QString::fromStdString(spec.title);
  }
  return spec.secret ? QStringLiteral("Password...") : QString();
}

} // namespace

PromptDialog::PromptDialog(const PromptSpec &spec, QWidget *parent)
    : QDialog(parent), field_(new QLineEdit(this)) {
  setObjectName(controlName(spec.secret ? kPasswordDialogId : kNameDialogId));
  setWindowTitle(titleFor(spec));
  field_->setObjectName(QStringLiteral("edit"));
  field_->setFont(boldDialogFont());
  if (spec.secret) {
    // OK takes the first characters up to the maximum.
    if (spec.maxLength > 0) {
      field_->setMaxLength(spec.maxLength);
    }
    field_->setEchoMode(QLineEdit::Password);
    field_->setValidator(new UpperCaseValidator(field_));
  } else if (spec.maxLength > 0) {
    field_->setValidator(new MaxLengthValidator(spec.maxLength, field_));
  }
  const QString initial = QString::fromStdString(spec.initial);
  field_->setText(spec.maxLength > 0 ? initial.left(spec.maxLength) : initial);
  field_->selectAll();

  auto *label = new QLabel(QString::fromStdString(spec.label), this);
  label->setWordWrap(true);
  auto *ok = makeButton(this, 1, tr("OK"));
  auto *cancel = makeButton(this, 2, tr("Cancel"));
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
  layout->addLayout(buttons);
  setMinimumWidth(320);
}

QString PromptDialog::text() const {
  return field_->text();
}

std::optional<std::string> PromptDialog::ask(const PromptSpec &spec, QWidget *parent) {
  PromptDialog dialog(spec, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.text().toStdString();
}

} // namespace tarnwick::ui
