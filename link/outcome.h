// How an exchange with the receiver ended. The link reports it; each tool
// decides which message to show and what becomes of the port.
#pragma once

namespace tarnwick {

enum class Outcome {
  Ok,          // sent, or answered as expected
  Silent,      // nothing (or not everything) came within the bound
  WrongReply,  // something came, but not what was expected
  WriteFailed, // the port refused a byte
  Cancelled,   // the user closed the dialog or interrupted the command
};

constexpr bool succeeded(Outcome outcome) {
  return outcome == Outcome::Ok;
}

} // namespace tarnwick
