#include "tool.h"

namespace tarnwick {

ToolRun runToCompletion(Tool &tool, PortLease &lease, const CancelToken &cancel) {
  if (!lease.tryAcquire()) {
    return ToolRun::Refused;
  }
  if (!tool.begin()) {
    lease.release();
    return ToolRun::Ended;
  }
  tool.run(cancel);
  lease.release();
  tool.onTimer();
  return ToolRun::Ran;
}

} // namespace tarnwick
