// UserPort with real dialogs. Tools call it from worker threads too: such a
// call runs on the GUI thread and the worker waits for the answer.
#pragma once

#include "string_table.h"
#include "user_port.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QWidget>

#include <type_traits>

namespace tarnwick::ui {

// "Name (*.a);;..." for a filter given either that way or as
// "Name (*.a)|*.a|Other|*.b;*.c|".
QString qtFileFilter(const std::string &filter);

class QtUserPort final : public QObject, public UserPort {
  Q_OBJECT
public:
  // Create on the GUI thread.
  explicit QtUserPort(QString messageTitle, QObject *parent = nullptr);

  // The window dialogs sit over when no modal dialog is active.
  void setMainWindow(QWidget *window) { mainWindow_ = window; }
  // The texts of the dialogs it shows (their buttons and labels); English
  // until set.
  void setStrings(const StringTable *strings) { strings_ = strings; }
  const QString &messageTitle() const { return messageTitle_; }

  void message(const std::string &text) override;
  Answer ask(const std::string &text, Buttons buttons) override;
  std::optional<std::string> openFile(const FileSpec &spec) override;
  std::optional<std::string> saveFile(const FileSpec &spec) override;
  std::optional<std::string> saveFileLimited(const FileSpec &spec, int maxNameLength,
                                             const std::string &extension) override;
  std::optional<std::string> prompt(const PromptSpec &spec) override;
  std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                       const std::vector<std::string> &rates,
                                       const std::string &selectedRate) override;
  std::optional<PortChoice> choosePortFrom(const PortListing &listing) override;
  void beep() override;

private:
  QWidget *dialogParent() const;
  struct NameLimit {
    int maxLength = 0; // 0: none
    std::string extension;
  };
  std::optional<std::string> fileDialog(const FileSpec &spec, bool save, const NameLimit &limit);

  // Runs work on the GUI thread and returns its result; from a worker the
  // caller blocks until the dialog is answered.
  template <typename Work> auto onGuiThread(Work work) {
    using Result = std::invoke_result_t<Work>;
    if (QThread::currentThread() == thread()) {
      return work();
    }
    if (QCoreApplication::closingDown()) {
      return Result(); // nobody left to answer
    }
    if constexpr (std::is_void_v<Result>) {
      QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    } else {
      Result result{};
      QMetaObject::invokeMethod(
          this, [&result, &work] { result = work(); }, Qt::BlockingQueuedConnection);
      return result;
    }
  }

  QString messageTitle_;
  QPointer<QWidget> mainWindow_;
  const StringTable *strings_ = nullptr;
};

} // namespace tarnwick::ui
