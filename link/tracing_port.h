// A PortApi that passes every call on and writes each byte sent or received
// to a text stream: milliseconds since the trace began, direction, the byte
// in hexadecimal and a printable rendering. Wraps any port (the serial
// library, the simulator).
#pragma once

#include "clock.h"
#include "forwarding_port.h"

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace tarnwick {

enum class TraceDirection { Sent, Received };

// 'r' for printable bytes, '\r' '\n' '\t' '\0' '\\' '\'' escaped, else '\xD5'.
std::string printableByte(std::uint8_t byte);
// "1234 TX 72 'r'" for a byte sent, "1234 RX D5 '\xD5'" for one received.
std::string traceLine(std::int64_t elapsedMs, TraceDirection direction, std::uint8_t byte);

class TracingPort final : public ForwardingPort {
public:
  // Times count from now on clock.
  TracingPort(PortApi &inner, const Clock &clock, std::ostream &out);

  int writeByte(int c) override;
  int writeToPort(const void *buffer, int length) override;
  char readChar(int *count) override;

private:
  void record(TraceDirection direction, const std::uint8_t *bytes, std::size_t count);

  const Clock &clock_;
  std::ostream &out_;
  std::int64_t startMs_;
  std::mutex mutex_; // a tool's worker and the caller may both trace
};

} // namespace tarnwick
