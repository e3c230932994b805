// Whether the serial port is open: set after the Communication Options dialog
// opened a port, cleared whenever a tool closes it after a failure. Tools read
// it from their workers too, hence the lock.
#pragma once

#include <mutex>
#include <string>
#include <utility>

namespace tarnwick {

class PortState {
public:
  bool isOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
  }
  void markOpen(std::string port, int baud) {
    std::lock_guard lock(mutex_);
    open_ = true;
    port_ = std::move(port);
    baud_ = baud;
    failedError_ = 0;
  }
  void markClosed() {
    std::lock_guard lock(mutex_);
    open_ = false;
  }
  // The port chosen last did not open: which, and its error code.
  void markOpenFailed(std::string port, int error) {
    std::lock_guard lock(mutex_);
    open_ = false;
    failedPort_ = std::move(port);
    failedError_ = error;
  }
  // The reason kept by markOpenFailed(); error 0 when the last open succeeded.
  std::pair<std::string, int> lastFailure() const {
    std::lock_guard lock(mutex_);
    return {failedPort_, failedError_};
  }
  // The port and rate of the last successful open.
  std::string port() const {
    std::lock_guard lock(mutex_);
    return port_;
  }
  int baud() const {
    std::lock_guard lock(mutex_);
    return baud_;
  }

private:
  mutable std::mutex mutex_;
  bool open_ = false;
  std::string port_;
  int baud_ = 0;
  std::string failedPort_;
  int failedError_ = 0;
};

} // namespace tarnwick
