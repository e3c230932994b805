// One framing of the bytes from the PC. The receiver hands each byte to the
// mode that has the line: the console, or a mode entered for an exchange with
// a framing of its own. A new exchange is a new mode, not a new branch in the
// console's line parser.
#pragma once

#include <cstdint>

namespace tarnwick::sim {

class InputMode {
public:
  virtual ~InputMode() = default;
  InputMode(const InputMode &) = delete;
  InputMode &operator=(const InputMode &) = delete;

  // A byte from the PC, arrived at nowMs, while this mode has the line.
  virtual void receive(std::uint8_t byte, std::int64_t nowMs) = 0;

protected:
  InputMode() = default;
};

} // namespace tarnwick::sim
