// While a tool runs on the command line's thread, a watcher polls its
// snapshot on a thread of its own and prints what is new, as the dialog's
// timer does; so a long wait shows its status line as it changes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tarnwick::cli {

class ProgressWatcher {
public:
  static constexpr std::chrono::milliseconds kPeriod{100};

  explicit ProgressWatcher(std::function<void()> poll)
      : poll_(std::move(poll)), thread_([this] { watch(); }) {}
  ~ProgressWatcher() { stop(); }
  ProgressWatcher(const ProgressWatcher &) = delete;
  ProgressWatcher &operator=(const ProgressWatcher &) = delete;

  // Ends the watching with one last poll, so nothing set at the end is missed.
  void stop() {
    {
      std::lock_guard lock(mutex_);
      if (stopped_) {
        return;
      }
      stopped_ = true;
    }
    wake_.notify_all();
    thread_.join();
    poll_();
  }

private:
  void watch() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kPeriod, [this] { return stopped_; })) {
      lock.unlock();
      poll_();
      lock.lock();
    }
  }

  std::function<void()> poll_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;
  std::thread thread_;
};

} // namespace tarnwick::cli
