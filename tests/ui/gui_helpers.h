// Driving widgets from tests: waiting while events flow, finding controls by
// resource id, and answering modal dialogs as they appear.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

namespace tarnwick::testing {

// Processes events until done() holds or timeoutMs pass; returns done().
inline bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

template <typename T> T *control(const QWidget &parent, int resourceId) {
  return parent.findChild<T *>(QString::number(resourceId));
}

// The next modal dialog that is not `except` gets handled by handle() as soon
// as it is shown; the returned flag says whether that happened.
class ModalResponder {
public:
  explicit ModalResponder(std::function<void(QWidget &)> handle, QWidget *except = nullptr)
      : handle_(std::move(handle)), except_(except) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(5);
  }
  bool handled() const { return handled_; }

private:
  void poll() {
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == except_ || !modal->isVisible()) {
      return;
    }
    timer_.stop();
    handled_ = true;
    handle_(*modal);
  }

  QTimer timer_;
  std::function<void(QWidget &)> handle_;
  QWidget *except_;
  bool handled_ = false;
};

} // namespace tarnwick::testing
