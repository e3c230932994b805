#include "receiver_version_dialog.h"

#include "dialog_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarnwick::ui {

namespace {

using Tool = ReceiverVersionTool;

constexpr int kWidthDlu = 404;
constexpr int kHeightDlu = 190;

QGroupBox *makeGroup(QWidget *parent, const QString &title) {
  auto *group = new QGroupBox(title, parent);
  group->setFont(boldDialogFont());
  return group;
}

// Only the group's title and the value fields are bold; its labels take the
// ordinary font again.
void plainChildren(QWidget &group) {
  QFont plain = QApplication::font();
  plain.setBold(false);
  plain.setPointSizeF(QApplication::font().pointSizeF());
  for (auto *child : group.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child->objectName().isEmpty()) {
      child->setFont(plain);
    }
  }
}

} // namespace

ReceiverVersionDialog::ReceiverVersionDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), tool_(context), texts_(&context.strings, dialog::kReceiverVersion),
      runner_(context) {
  connect(&runner_, &ToolRunner::tick, this, &ReceiverVersionDialog::refresh);
  connect(&runner_, &ToolRunner::finished, this, &ReceiverVersionDialog::onQueryFinished);
  setObjectName(controlName(Tool::kDialogId));
  setWindowTitle(texts_(item::kCaption));
  tool_.open();

  checkButton_ = makeButton(this, Tool::kCheckButton, texts_(Tool::kCheckButton));
  auto *ok = makeButton(this, item::kOk, texts_(item::kOk));
  ok->setDefault(true);
  connect(checkButton_, &QPushButton::clicked, this, &ReceiverVersionDialog::checkVersion);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto *right = new QVBoxLayout;
  right->addWidget(makeReceiverGroup());
  right->addWidget(makeCompatibilityGroup());
  right->addStretch();
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(checkButton_);
  buttons->addStretch();
  buttons->addWidget(ok);
  right->addLayout(buttons);
  // What a running query waits for.
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().height());
  right->addWidget(status_);

  auto *layout = new QHBoxLayout(this);
  layout->addWidget(makeShippedGroup());
  layout->addLayout(right, 1);
  // The designed size, or more where the texts (in any language) need it.
  setMinimumSize(dialogUnits(*this, kWidthDlu, kHeightDlu).expandedTo(layout->minimumSize()));
  refresh();
}

ReceiverVersionDialog::~ReceiverVersionDialog() {
  runner_.stop();
}

QWidget *ReceiverVersionDialog::makeShippedGroup() {
  auto *group = makeGroup(this, texts_(item::kShippedGroup));
  auto *grid = new QGridLayout(group);
  int row = 0;
  for (const auto &[id, slot] : Tool::kShippedFields) {
    auto *label = new QLabel(texts_(item::kFirstSlotLabel + row), group);
    auto *field = makeValueField(group, id, QString());
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setMinimumWidth(56);
    fields_[id] = field;
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    grid->setRowStretch(row, 1); // the rows share the group's height
    ++row;
  }
  plainChildren(*group);
  return group;
}

QWidget *ReceiverVersionDialog::makeReceiverGroup() {
  auto *group = makeGroup(this, texts_(item::kReceiverGroup));
  auto *grid = new QGridLayout(group);
  const std::pair<int, QString> rows[] = {
      {Tool::kModelField, texts_(item::kModelLabel)},
      {Tool::kMainSoftwareField, texts_(item::kMainSoftwareLabel)},
  };
  int row = 0;
  for (const auto &[id, text] : rows) {
    auto *field = makeValueField(group, id, QString());
    field->setMinimumWidth(140);
    fields_[id] = field;
    grid->addWidget(new QLabel(text, group), row, 0);
    grid->addWidget(field, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  plainChildren(*group);
  return group;
}

QWidget *ReceiverVersionDialog::makeCompatibilityGroup() {
  auto *group = makeGroup(this, texts_(item::kCompatibilityGroup));
  auto *box = new QVBoxLayout(group);
  auto *field = makeValueField(group, Tool::kCompatibilityField, QString());
  field->setAlignment(Qt::AlignCenter);
  // Room for the longer of the two verdicts, whatever the font.
  const QFontMetrics metrics(field->font());
  const int widest =
      std::max(metrics.horizontalAdvance(texts_.string(sid::kPathModeCompatible)),
               metrics.horizontalAdvance(texts_.string(sid::kPathModeNotCompatible)));
  field->setMinimumWidth(widest + 4 * metrics.averageCharWidth());
  fields_[Tool::kCompatibilityField] = field;
  box->addWidget(field);
  return group;
}

void ReceiverVersionDialog::refresh() {
  const Tool::Snapshot snapshot = tool_.snapshot();
  for (auto &[id, field] : fields_) {
    field->setText(QString::fromStdString(snapshot.text(id)));
  }
  checkButton_->setEnabled(!queryRunning());
  status_->setText(QString::fromStdString(snapshot.status));
}

void ReceiverVersionDialog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!started_) {
    started_ = true;
    checkVersion();
  }
}

// The port is chosen here, on the interface thread; the query runs on the
// runner's worker.
void ReceiverVersionDialog::checkVersion() {
  if (queryRunning()) {
    return;
  }
  checkButton_->setEnabled(false);
  runner_.start(tool_);
  refresh(); // the receiver fields show "--" until the answer comes
}

void ReceiverVersionDialog::onQueryFinished() {
  lastResult_ = tool_.result();
  refresh();
  emit queryFinished(lastResult_);
}

void ReceiverVersionDialog::done(int result) {
  runner_.stop();
  QDialog::done(result);
}

} // namespace tarnwick::ui
