#include "tool_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <utility>

namespace tarnwick::ui {

ToolRunner::ToolRunner(PortLease &lease, QObject *parent) : QObject(parent), lease_(lease) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &ToolRunner::tick);
}

ToolRunner::~ToolRunner() {
  stop();
}

bool ToolRunner::start(Tool &tool) {
  if (running() || !lease_.tryAcquire()) {
    return false;
  }
  if (!tool.begin()) {
    lease_.release();
    emit finished();
    return false;
  }
  tool_ = &tool;
  cancel_.reset();
  worker_ = QThread::create([&tool, this] { tool.run(cancel_); });
  // A stale signal of an earlier worker (stopped by hand) must not end this one.
  connect(worker_, &QThread::finished, this, [this, thread = worker_] {
    if (thread == worker_) {
      endWorker(true);
    }
  });
  timer_.start();
  worker_->start();
  return true;
}

void ToolRunner::endWorker(bool followUp) {
  if (worker_ == nullptr) {
    return;
  }
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  timer_.stop();
  lease_.release(); // before the follow-up, which may start another tool
  Tool *tool = std::exchange(tool_, nullptr);
  if (followUp) {
    tool->onTimer();
  }
  emit finished();
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
