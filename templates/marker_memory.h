// How much of a marker's user memory a marker template may take: 192 bits (a
// standard marker) until the user says, once per process, that the template
// is for an extended "X" marker; then 896 bits.
#pragma once

#include "string_table.h"
#include "user_port.h"

namespace tarnwick {

class MarkerMemory {
public:
  static constexpr int kStandardBits = 192;
  static constexpr int kExtendedBits = 896;

  int allowedBits() const { return allowed_; }
  bool questionAsked() const { return asked_; }

  // Asks the X-type question when measure passes 192 bits for the first time
  // in the process; true when measure then fits.
  bool admit(int measure, UserPort &user, const StringTable &strings);
  // The X-type question answered before it comes up (the command line's
  // --x-type); it is not asked then.
  void answerInAdvance(bool extended) {
    asked_ = true;
    allowed_ = extended ? kExtendedBits : kStandardBits;
  }

  // (allowed - measure) * 100 / allowed, integer division.
  int remainingPercent(int measure) const { return (allowed_ - measure) * 100 / allowed_; }

private:
  int allowed_ = kStandardBits;
  bool asked_ = false;
};

} // namespace tarnwick
