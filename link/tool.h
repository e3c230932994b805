// The shape of every receiver tool, so that reading one teaches all. The
// interface thread calls begin() (questions, the port choice); when it says
// so, run() goes on a worker while the front end shows the tool's snapshot();
// once run() has ended the interface thread calls onTimer() for the
// follow-up. The GUI's runner and the command line drive it the same way.
#pragma once

#include "cancel_token.h"
#include "port_lease.h"

#include <mutex>
#include <string>
#include <utility>

namespace tarnwick {

// A text the worker sets and the interface thread reads.
class SharedText {
public:
  void set(std::string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }
  std::string get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }

private:
  mutable std::mutex mutex_;
  std::string text_;
};

class Tool {
public:
  virtual ~Tool() = default;
  // What the tool waits for now ("Checking Connection with Locator.. Please
  // Wait."), for a front end's status line; empty when it says nothing.
  // Called from any thread.
  virtual std::string statusText() const { return {}; }
  // The interface-thread steps; true when run() is to follow.
  virtual bool begin() = 0;
  // The worker body; every wait in it ends once cancel is cancelled.
  virtual void run(const CancelToken &cancel) = 0;
  // The follow-up on the interface thread once run() has ended.
  virtual void onTimer() {}
};

enum class ToolRun {
  Refused, // another tool holds the port; nothing was done
  Ended,   // begin() ended the tool on the interface thread
  Ran,     // run() and onTimer() followed begin()
};

// begin(), run() and onTimer() on this thread while holding the port lease,
// as the command line and the tests run a tool. The lease is given back
// before onTimer() so that a follow-up may start another tool.
ToolRun runToCompletion(Tool &tool, PortLease &lease, const CancelToken &cancel);

} // namespace tarnwick
