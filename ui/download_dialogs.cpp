#include "download_dialogs.h"

#include "dialog_font.h"
#include "string_ids.h"
#include "template_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <utility>

namespace tarnwick::ui {

namespace {

constexpr int kWidthDlu = 336;
constexpr int kHeightDlu = 53;

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString textOf(const AppContext &context, StringId id) {
  return QString::fromStdString(context.text(id));
}

QLabel *makeLine(QWidget *parent, int resourceId) {
  auto *line = new QLabel(parent);
  setResourceId(*line, resourceId);
  line->setWordWrap(true);
  return line;
}

} // namespace

DownloadDialog::DownloadDialog(AppContext &context, std::unique_ptr<PacedDownload> tool,
                               const DownloadDialogFace &face, QWidget *parent)
    : QDialog(parent), context_(context), tool_(std::move(tool)), runner_(context.portLease),
      closeOnSuccess_(face.closeOnSuccess) {
  connect(&runner_, &ToolRunner::tick, this, &DownloadDialog::refresh);
  connect(&runner_, &ToolRunner::finished, this, &DownloadDialog::onFinished);
  setObjectName(controlName(face.dialogId));
  setWindowTitle(fromView(face.caption));

  status_ = makeLine(this, kStatusLine);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setFont(boldDialogFont());
  progress_ = new QProgressBar(this);
  setResourceId(*progress_, kProgressBar);
  progress_->setTextVisible(false);
  figures_ = makeLine(this, kFiguresLine);

  download_ = makeButton(this, face.downloadId, textOf(context, face.downloadText));
  download_->setDefault(true);
  cancel_ = makeButton(this, face.cancelId, textOf(context, face.cancelText));
  exit_ = makeButton(this, face.exitId, textOf(context, face.exitText));
  connect(download_, &QPushButton::clicked, this, &DownloadDialog::startDownload);
  connect(cancel_, &QPushButton::clicked, this, [this] { tool_->warnCancel(); });
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(download_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  buttons->addWidget(exit_);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(figures_);
  layout->addStretch();
  layout->addLayout(buttons);
  setMinimumWidth(dialogUnits(*this, kWidthDlu, kHeightDlu).width());
  refresh();
}

DownloadDialog::~DownloadDialog() {
  runner_.stop();
}

void DownloadDialog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    startDownload();
  }
}

// The port is chosen here, on the interface thread; the transfer runs on the
// runner's worker.
void DownloadDialog::startDownload() {
  if (downloading()) {
    tool_->refuse();
    return;
  }
  if (runner_.start(*tool_)) {
    refresh();
  }
}

void DownloadDialog::onFinished() {
  refresh();
  emit downloadFinished();
  if (closeOnSuccess_ && tool_->snapshot().done) {
    accept();
  }
}

void DownloadDialog::refresh() {
  const DownloadSnapshot snapshot = tool_->snapshot();
  status_->setText(fromLatin1Text(snapshot.status.value_or(std::string())));
  progress_->setVisible(snapshot.progressVisible);
  progress_->setRange(0, snapshot.progressMax);
  progress_->setValue(snapshot.progressPosition);
  const bool busy = snapshot.busy && downloading();
  figures_->setText(figures(snapshot));
  figures_->setVisible(snapshot.itemsTotal > 0); // a failure shows how far it got
  download_->setEnabled(!busy);
  exit_->setEnabled(!busy);
  cancel_->setEnabled(busy);
}

QString DownloadDialog::figures(const DownloadSnapshot &snapshot) const {
  const auto secondsLeft = (snapshot.msLeft + 999) / 1000;
  return textOf(context_, sid::kDownloadFigures)
      .arg(snapshot.itemsDone)
      .arg(snapshot.itemsTotal)
      .arg(snapshot.itemsPerSecond, 0, 'f', 1)
      .arg(secondsLeft);
}

// Closing ends a running download at its next wait; the core's status then
// says it was canceled, and so does a message, as the dialog goes away.
void DownloadDialog::done(int result) {
  if (downloading()) {
    runner_.stop();
    refresh();
    if (tool_->snapshot().result == DownloadResult::Cancelled) {
      context_.showMessage(sid::kDownloadCanceled);
    }
  }
  QDialog::done(result);
}

DownloadDialog *makeGlossaryDownloadDialog(AppContext &context, const Glossary &glossary,
                                           QWidget *parent) {
  static constexpr DownloadDialogFace kFace = {GlossaryDownload::kDialogId,
                                               GlossaryDownload::kCaption,
                                               1175,
                                               sid::kDownloadGlossaryButton,
                                               1156,
                                               sid::kCancelDownloadButton,
                                               1,
                                               sid::kExitPlainButton,
                                               false};
  return new DownloadDialog(context, std::make_unique<GlossaryDownload>(context, glossary), kFace,
                            parent);
}

DownloadDialog *makeUserListDownloadDialog(AppContext &context, const UserListStore &store,
                                           std::string list, QWidget *parent) {
  static constexpr DownloadDialogFace kFace = {UserListDownload::kDialogId,
                                               UserListDownload::kCaption,
                                               1170,
                                               sid::kDownloadFavUserListButton,
                                               1171,
                                               sid::kCancelDownloadListButton,
                                               2,
                                               sid::kExitButton,
                                               true};
  auto tool = std::make_unique<UserListDownload>(context, store);
  tool->open();
  tool->setList(std::move(list));
  return new DownloadDialog(context, std::move(tool), kFace, parent);
}

DownloadDialog *makeDescriptionListDownloadDialog(AppContext &context, UserListStore &store,
                                                  std::string list, QWidget *parent) {
  static constexpr DownloadDialogFace kFace = {DescriptionListDownload::kDialogId,
                                               DescriptionListDownload::kCaption,
                                               1170,
                                               sid::kDownloadDescriptionListButton,
                                               1171,
                                               sid::kCancelDownloadListButton,
                                               2,
                                               sid::kExitButton,
                                               true};
  auto tool = std::make_unique<DescriptionListDownload>(context, store);
  tool->setList(std::move(list));
  return new DownloadDialog(context, std::move(tool), kFace, parent);
}

} // namespace tarnwick::ui
