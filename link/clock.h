// Time for every receiver exchange: bounds are measured and pauses taken
// through a Clock, so that tests run on virtual time.
#pragma once

#include "cancel_token.h"

#include <cstdint>
#include <mutex>

namespace tarnwick {

class Clock {
public:
  virtual ~Clock() = default;
  virtual std::int64_t nowMs() const = 0;
  virtual void sleepMs(std::int64_t ms) = 0;
  // Pacing against absolute deadlines keeps many short pauses from drifting.
  virtual void sleepUntilMs(std::int64_t deadlineMs) = 0;

  // Sleeps that end early once cancel (when given) is cancelled; false then.
  // They wake in short slices so a closed dialog is noticed within one.
  bool sleepUntilMs(std::int64_t deadlineMs, const CancelToken *cancel);
  bool sleepMs(std::int64_t ms, const CancelToken *cancel);

  static constexpr std::int64_t kCancelSliceMs = 20;
};

class SteadyClock final : public Clock {
public:
  using Clock::sleepMs;
  using Clock::sleepUntilMs;
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
  void sleepUntilMs(std::int64_t deadlineMs) override;
};

// Time that moves only when told to: sleeps advance it at once.
class VirtualClock final : public Clock {
public:
  using Clock::sleepMs;
  using Clock::sleepUntilMs;
  explicit VirtualClock(std::int64_t startMs = 0) : now_(startMs) {}
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
  void sleepUntilMs(std::int64_t deadlineMs) override;
  void advanceMs(std::int64_t ms) { sleepMs(ms); }

private:
  mutable std::mutex mutex_;
  std::int64_t now_;
};

} // namespace tarnwick
