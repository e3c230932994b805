#include "qt_user_port.h"

#include "communication_options_dialog.h"
#include "length_limit.h"
#include "prompt_dialog.h"
#include "ui_text.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

#include <condition_variable>

namespace tarnwick::ui {

namespace {

QString fromUtf8(const std::string &text) {
  return QString::fromStdString(text);
}

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton escape;
};

ButtonSet buttonSet(Buttons buttons) {
  switch (buttons) {
  case Buttons::Ok:
    return {QMessageBox::Ok, QMessageBox::Ok};
  case Buttons::OkCancel:
    return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
  case Buttons::YesNo:
    return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
  case Buttons::YesNoCancel:
    return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
  }
  return {QMessageBox::Ok, QMessageBox::Ok};
}

Answer answerFor(int button) {
  switch (button) {
  case QMessageBox::Yes:
    return Answer::Yes;
  case QMessageBox::No:
    return Answer::No;
  case QMessageBox::Cancel:
    return Answer::Cancel;
  default:
    return Answer::Ok;
  }
}

// The buttons speak the user interface's language.
void nameButtons(QMessageBox &box, const StringTable *strings) {
  const DialogTexts texts(strings, dialog::kMessageBox);
  const std::pair<QMessageBox::StandardButton, int> names[] = {
      {QMessageBox::Ok, item::kOkButton},
      {QMessageBox::Cancel, item::kCancelButton},
      {QMessageBox::Yes, item::kYesButton},
      {QMessageBox::No, item::kNoButton},
  };
  for (const auto &[standard, text] : names) {
    if (QAbstractButton *button = box.button(standard)) {
      button->setText(texts(text));
    }
  }
}

// Message boxes carry no icon and may hold several lines.
int runMessageBox(QWidget *parent, const QString &title, const QString &text, Buttons buttons,
                  const StringTable *strings) {
  const ButtonSet set = buttonSet(buttons);
  QMessageBox box(QMessageBox::NoIcon, title, text, set.buttons, parent);
  box.setObjectName(QStringLiteral("messageBox"));
  box.setEscapeButton(set.escape);
  nameButtons(box, strings);
  return box.exec();
}

void nameFileDialogLabels(QFileDialog &dialog, bool save, const StringTable *strings) {
  const DialogTexts texts(strings, dialog::kFileDialog);
  dialog.setLabelText(QFileDialog::LookIn, texts(item::kLookIn));
  dialog.setLabelText(QFileDialog::FileName, texts(item::kFileName));
  dialog.setLabelText(QFileDialog::FileType, texts(item::kFileType));
  dialog.setLabelText(QFileDialog::Accept, texts(save ? item::kSaveButton : item::kOpenButton));
  dialog.setLabelText(QFileDialog::Reject, texts(item::kCancelFileButton));
}

QString filterEntry(const QString &name, const QString &patterns) {
  if (name.contains(QLatin1Char('('))) {
    return name;
  }
  QString spaced = patterns;
  spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
  return name + QStringLiteral(" (") + spaced + QLatin1Char(')');
}

// The name box of the file dialog stops at the limit; its label counts down.
void limitFileName(QFileDialog &dialog, int maxLength, const std::string &ext,
                   const StringTable *strings) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
  if (edit == nullptr) {
    return;
  }
  const QString label = dialog.labelText(QFileDialog::FileName);
  const QString extension = fromUtf8(ext);
  limitLength(
      *edit, maxLength,
      [&dialog, label](const QString &left) {
        dialog.setLabelText(QFileDialog::FileName,
                            label + QStringLiteral(" (") + left + QLatin1Char(')'));
      },
      strings, [extension](const QString &text) { return fileNameLength(text, extension); });
}

} // namespace

QString qtFileFilter(const std::string &filter) {
  const QString text = fromUtf8(filter);
  if (!text.contains(QLatin1Char('|'))) {
    return text;
  }
  const QStringList parts = text.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (!parts[i].isEmpty()) {
      entries << filterEntry(parts[i], parts[i + 1]);
    }
  }
  return entries.join(QStringLiteral(";;"));
}

// A worker's call, posted to the GUI thread. It ends when it has run or when
// Qt drops it unrun (its thread ended); either way the worker then goes on.
class QtUserPort::GuiCall final : public QEvent {
public:
  struct Done {
    std::mutex mutex;
    std::condition_variable signal;
    bool done = false;
  };

  static QEvent::Type type() {
    static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
    return registered;
  }

  GuiCall(const std::function<void()> &work, Done &done)
      : QEvent(type()), work_(work), done_(done) {}
  GuiCall(const GuiCall &) = delete;
  GuiCall &operator=(const GuiCall &) = delete;
  ~GuiCall() override {
    const std::lock_guard lock(done_.mutex);
    done_.done = true;
    done_.signal.notify_all();
  }

  void run() const { work_(); }

private:
  std::function<void()> work_;
  Done &done_;
};

QtUserPort::QtUserPort(QString messageTitle, QObject *parent)
    : QObject(parent), messageTitle_(std::move(messageTitle)) {}

void QtUserPort::runOnGuiThread(const std::function<void()> &work) {
  GuiCall::Done done;
  auto *call = new GuiCall(work, done);
  { const std::lock_guard published(calls_); }
  QCoreApplication::postEvent(this, call);
  std::unique_lock lock(done.mutex);
  done.signal.wait(lock, [&done] { return done.done; });
}

bool QtUserPort::event(QEvent *event) {
  // Before anything of the event is read: it may be a worker's call.
  { const std::lock_guard received(calls_); }
  if (event->type() != GuiCall::type()) {
    return QObject::event(event);
  }
  static_cast<GuiCall *>(event)->run();
  return true;
}

bool QtUserPort::nobodyToAnswer() const {
  return QCoreApplication::instance() == nullptr || QCoreApplication::closingDown() ||
         !thread()->isRunning();
}

QWidget *QtUserPort::dialogParent() const {
  if (QWidget *modal = QApplication::activeModalWidget()) {
    return modal;
  }
  if (mainWindow_ != nullptr) {
    return mainWindow_;
  }
  return QApplication::activeWindow();
}

void QtUserPort::message(const std::string &text) {
  onGuiThread([this, &text] {
    runMessageBox(dialogParent(), messageTitle_, fromUtf8(text), Buttons::Ok, strings_);
  });
}

Answer QtUserPort::ask(const std::string &text, Buttons buttons) {
  // The safe answer is the one Escape gives.
  return onGuiThread(
      [this, &text, buttons] {
        return answerFor(
            runMessageBox(dialogParent(), messageTitle_, fromUtf8(text), buttons, strings_));
      },
      answerFor(buttonSet(buttons).escape));
}

std::optional<std::string> QtUserPort::fileDialog(const FileSpec &spec, bool save,
                                                  const NameLimit &limit) {
  QFileDialog dialog(dialogParent(), fromUtf8(spec.title), fromUtf8(spec.folder),
                     qtFileFilter(spec.filter));
  dialog.setObjectName(save ? QStringLiteral("saveFile") : QStringLiteral("openFile"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  nameFileDialogLabels(dialog, save, strings_);
  if (limit.maxLength > 0) {
    limitFileName(dialog, limit.maxLength, limit.extension, strings_);
  }
  if (!spec.defaultName.empty()) {
    dialog.selectFile(fromUtf8(spec.defaultName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::optional<std::string> QtUserPort::openFile(const FileSpec &spec) {
  return onGuiThread([this, &spec] { return fileDialog(spec, false, {}); }, std::nullopt);
}

std::optional<std::string> QtUserPort::saveFile(const FileSpec &spec) {
  return onGuiThread([this, &spec] { return fileDialog(spec, true, {}); }, std::nullopt);
}

std::optional<std::string> QtUserPort::saveFileLimited(const FileSpec &spec, int maxNameLength,
                                                       const std::string &extension) {
  return onGuiThread(
      [this, &spec, maxNameLength, &extension] {
        return fileDialog(spec, true, {maxNameLength, extension});
      },
      std::nullopt);
}

std::optional<std::string> QtUserPort::prompt(const PromptSpec &spec) {
  return onGuiThread([this, &spec] { return PromptDialog::ask(spec, dialogParent(), strings_); },
                     std::nullopt);
}

std::optional<PortChoice> QtUserPort::choosePort(const std::vector<std::string> &ports,
                                                 const std::vector<std::string> &rates,
                                                 const std::string &selectedRate) {
  return onGuiThread(
      [this, &ports, &rates, &selectedRate] {
        return CommunicationOptionsDialog::choose(ports, rates, selectedRate, dialogParent());
      },
      std::nullopt);
}

std::optional<PortChoice> QtUserPort::choosePortFrom(const PortListing &listing) {
  return onGuiThread(
      [this, &listing] {
        return CommunicationOptionsDialog::choose(listing, strings_, dialogParent());
      },
      std::nullopt);
}

void QtUserPort::beep() {
  onGuiThread([] { QApplication::beep(); });
}

} // namespace tarnwick::ui
