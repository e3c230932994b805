#include "edit_comments_dialog.h"

#include "dialog_font.h"
#include "string_ids.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnwick::ui {

namespace {
constexpr int kWidthDlu = 220;
constexpr int kHeightDlu = 110;
} // namespace

EditCommentsDialog::EditCommentsDialog(const StringTable &strings, QWidget *parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("editComments"));
  setWindowTitle(QString::fromStdString(strings.text(sid::kEditComments)));
  auto *prompt = new QLabel(QString::fromStdString(strings.text(sid::kEnterTheComments)), this);
  editor_ = new QPlainTextEdit(this);
  editor_->setObjectName(QStringLiteral("comments"));
  editor_->setTabChangesFocus(true);
  auto *ok = makeButton(this, 1, QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(editor_, 1);
  layout->addLayout(buttons);
  resize(dialogUnits(*this, kWidthDlu, kHeightDlu));
  editor_->setFocus();
}

QString EditCommentsDialog::text() const {
  return editor_->toPlainText();
}

} // namespace tarnwick::ui
