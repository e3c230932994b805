// One tool at a time talks to the receiver: a tool holds the lease for as
// long as it runs, and a second one is refused instead of interleaving its
// bytes with the first one's.
#pragma once

#include <atomic>

namespace tarnwick {

class PortLease {
public:
  // True when the lease was free and is now held by the caller.
  bool tryAcquire() { return !held_.exchange(true, std::memory_order_acq_rel); }
  void release() { held_.store(false, std::memory_order_release); }
  bool held() const { return held_.load(std::memory_order_acquire); }

private:
  std::atomic<bool> held_{false};
};

} // namespace tarnwick
