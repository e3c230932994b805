#include "marker_memory.h"

namespace tarnwick {

bool MarkerMemory::admit(int measure, UserPort &user, const StringTable &strings) {
  if (measure > kStandardBits && allowed_ == kStandardBits && !asked_) {
    asked_ = true;
    if (user.ask(strings.text(sid::kStandardTemplateMemoryReached), Buttons::YesNo) ==
        Answer::Yes) {
      allowed_ = kExtendedBits;
    }
  }
  return measure <= allowed_;
}

} // namespace tarnwick
