#include "clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarnwick {

bool Clock::sleepUntilMs(std::int64_t deadlineMs, const CancelToken *cancel) {
  if (cancel == nullptr) {
    sleepUntilMs(deadlineMs);
    return true;
  }
  while (!cancel->cancelled()) {
    const std::int64_t now = nowMs();
    if (now >= deadlineMs) {
      return true;
    }
    sleepUntilMs(std::min(deadlineMs, now + kCancelSliceMs));
  }
  return false;
}

bool Clock::sleepMs(std::int64_t ms, const CancelToken *cancel) {
  return sleepUntilMs(nowMs() + std::max<std::int64_t>(ms, 0), cancel);
}

std::int64_t SteadyClock::nowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(std::int64_t ms) {
  if (ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

void SteadyClock::sleepUntilMs(std::int64_t deadlineMs) {
  using namespace std::chrono;
  std::this_thread::sleep_until(steady_clock::time_point(milliseconds(deadlineMs)));
}

std::int64_t VirtualClock::nowMs() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void VirtualClock::sleepMs(std::int64_t ms) {
  std::lock_guard lock(mutex_);
  if (ms > 0) {
    now_ += ms;
  }
}

void VirtualClock::sleepUntilMs(std::int64_t deadlineMs) {
  std::lock_guard lock(mutex_);
  if (deadlineMs > now_) {
    now_ = deadlineMs;
  }
}

} // namespace tarnwick
