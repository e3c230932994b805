// UserPort with real dialogs. Tools call it from worker threads too: such a
// call runs on the GUI thread and the worker waits for the answer. Once
// nobody is left to answer (Qt is shutting down, or the GUI thread has
// ended), every call gives the safe answer: No or Cancel, no file, no text,
// no port.
#pragma once

#include "string_table.h"
#include "user_port.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QWidget>

#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>

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

protected:
  bool event(QEvent *event) override;

private:
  class GuiCall;

  QWidget *dialogParent() const;
  struct NameLimit {
    int maxLength = 0; // 0: none
    std::string extension;
  };
  std::optional<std::string> fileDialog(const FileSpec &spec, bool save, const NameLimit &limit);
  bool nobodyToAnswer() const;
  // Posts work to the GUI thread and waits until it has run, or until Qt
  // dropped it unrun because the GUI thread ended.
  void runOnGuiThread(const std::function<void()> &work);

  // Runs work on the GUI thread and returns its result; from a worker the
  // caller blocks until the dialog is answered. safe is the result when
  // nobody is left to answer, also when the call is dropped unanswered.
  template <typename Work, typename Result = std::invoke_result_t<Work>>
  Result onGuiThread(Work work, std::type_identity_t<Result> safe) {
    if (nobodyToAnswer()) {
      return safe;
    }
    if (QThread::currentThread() == thread()) {
      return work();
    }
    Result result = std::move(safe);
    runOnGuiThread([&result, &work] { result = work(); });
    return result;
  }

  template <typename Work> void onGuiThread(Work work) {
    onGuiThread(
        [&work] {
          work();
          return true;
        },
        false);
  }

  QString messageTitle_;
  QPointer<QWidget> mainWindow_;
  // Taken by a worker after it built its call and by the GUI thread before
  // it runs one: the hand-over, in locks that ThreadSanitizer sees (Qt's
  // own event queue synchronises where it cannot look).
  std::mutex calls_;
  const StringTable *strings_ = nullptr;
};

} // namespace tarnwick::ui
