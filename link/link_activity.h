// What a front end's status line tells about the receiver link: the last
// receiver a tool identified, and whether a tool talks to it now and what it
// waits for. Tools and the runner write it from any thread.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace tarnwick {

class LinkActivity {
public:
  struct Receiver {
    std::string model;
    int softwareVersion = 0;
    bool operator==(const Receiver &) const = default;
  };

  void identified(std::string model, int softwareVersion) {
    std::lock_guard lock(mutex_);
    receiver_ = Receiver{std::move(model), softwareVersion};
  }
  std::optional<Receiver> receiver() const {
    std::lock_guard lock(mutex_);
    return receiver_;
  }

  // A tool begins or ends talking to the receiver; ending clears the text.
  void setTalking(bool talking) {
    std::lock_guard lock(mutex_);
    talking_ = talking;
    if (!talking) {
      waitingFor_.clear();
    }
  }
  void setWaitingFor(std::string text) {
    std::lock_guard lock(mutex_);
    waitingFor_ = std::move(text);
  }
  bool talking() const {
    std::lock_guard lock(mutex_);
    return talking_;
  }
  std::string waitingFor() const {
    std::lock_guard lock(mutex_);
    return waitingFor_;
  }

private:
  mutable std::mutex mutex_;
  std::optional<Receiver> receiver_;
  bool talking_ = false;
  std::string waitingFor_;
};

} // namespace tarnwick
