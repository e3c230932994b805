#include "tool_runner.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <utility>

namespace tarnwick::ui {

ToolRunner::ToolRunner(AppContext &context, QObject *parent)
    : ToolRunner(context.portLease, parent) {
  context_ = &context;
}

ToolRunner::ToolRunner(PortLease &lease, QObject *parent) : QObject(parent), lease_(lease) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &ToolRunner::onTick);
}

ToolRunner::~ToolRunner() {
  stop();
}

bool ToolRunner::start(Tool &tool, StringId stopQuestion) {
  if (running() || !lease_.tryAcquire()) {
    return false;
  }
  if (!tool.begin()) {
    lease_.release();
    emit finished();
    return false;
  }
  tool_ = &tool;
  stopQuestion_ = stopQuestion;
  cancel_.reset();
  if (context_ != nullptr) {
    context_->activity.setTalking(true);
  }
  showBusy(true);
  worker_ = QThread::create([&tool, this] { tool.run(cancel_); });
  // A stale signal of an earlier worker (stopped by hand) must not end this one.
  connect(worker_, &QThread::finished, this, [this, thread = worker_] {
    if (thread == worker_) {
      endWorker(true);
    }
  });
  timer_.start();
  worker_->start();
  onTick();
  return true;
}

void ToolRunner::onTick() {
  if (tool_ != nullptr) {
    const std::string text = tool_->statusText();
    if (context_ != nullptr) {
      context_->activity.setWaitingFor(text);
    }
    if (const QString status = QString::fromStdString(text); status != status_) {
      status_ = status;
      emit statusChanged(status_);
    }
  }
  emit tick();
}

void ToolRunner::showBusy(bool busy) {
  if (busy == busyCursor_) {
    return;
  }
  busyCursor_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void ToolRunner::endWorker(bool followUp) {
  if (worker_ == nullptr) {
    return;
  }
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  timer_.stop();
  showBusy(false);
  if (context_ != nullptr) {
    context_->activity.setTalking(false);
  }
  if (!status_.isEmpty()) {
    status_.clear();
    emit statusChanged(status_);
  }
  lease_.release(); // before the follow-up, which may start another tool
  Tool *tool = std::exchange(tool_, nullptr);
  if (followUp) {
    tool->onTimer();
  }
  emit finished();
}

bool ToolRunner::mayStop() {
  if (!running() || stopQuestion_ == 0 || context_ == nullptr) {
    return true;
  }
  const Answer answer = context_->user.ask(context_->text(stopQuestion_), Buttons::YesNo);
  // The worker may have ended while the question was open.
  return answer == Answer::Yes || !running();
}

void ToolRunner::stop() {
  if (worker_ == nullptr) {
    return;
  }
  cancel_.cancel();
  while (!worker_->wait(QDeadlineTimer(10))) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  endWorker(false);
}

} // namespace tarnwick::ui
