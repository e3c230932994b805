// Ends an unbounded wait when the user closes the dialog or the program exits.
#pragma once

#include <atomic>

namespace tarnwick {

class CancelToken {
public:
  void cancel() { cancelled_.store(true, std::memory_order_release); }
  bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }
  // For a dialog shown again after it was closed.
  void reset() { cancelled_.store(false, std::memory_order_release); }

private:
  std::atomic<bool> cancelled_{false};
};

} // namespace tarnwick
