#include "tracing_port.h"

#include <cstdio>

namespace tarnwick {

std::string printableByte(std::uint8_t byte) {
  switch (byte) {
  case '\r':
    return "'\\r'";
  case '\n':
    return "'\\n'";
  case '\t':
    return "'\\t'";
  case '\0':
    return "'\\0'";
  case '\\':
    return "'\\\\'";
  case '\'':
    return "'\\''";
  default:
    break;
  }
  if (byte >= 0x20 && byte < 0x7F) {
    return std::string("'") + static_cast<char>(byte) + "'";
  }
  char text[8];
  std::snprintf(text, sizeof text, "'\\x%02X'", static_cast<unsigned>(byte));
  return text;
}

std::string traceLine(std::int64_t elapsedMs, TraceDirection direction, std::uint8_t byte) {
  char head[40];
  std::snprintf(head, sizeof head, "%lld %s %02X ", static_cast<long long>(elapsedMs),
                direction == TraceDirection::Sent ? "TX" : "RX", static_cast<unsigned>(byte));
  return head + printableByte(byte);
}

TracingPort::TracingPort(PortApi &inner, const Clock &clock, std::ostream &out)
    : ForwardingPort(inner), clock_(clock), out_(out), startMs_(clock.nowMs()) {}

int TracingPort::writeByte(int c) {
  const int result = inner_.writeByte(c);
  if (result != 0) {
    const auto byte = static_cast<std::uint8_t>(c);
    record(TraceDirection::Sent, &byte, 1);
  }
  return result;
}

int TracingPort::writeToPort(const void *buffer, int length) {
  const int result = inner_.writeToPort(buffer, length);
  if (result != 0 && buffer != nullptr && length > 0) {
    record(TraceDirection::Sent, static_cast<const std::uint8_t *>(buffer),
           static_cast<std::size_t>(length));
  }
  return result;
}

char TracingPort::readChar(int *count) {
  int got = 0;
  const char c = inner_.readChar(&got);
  if (count != nullptr) {
    *count = got;
  }
  if (got > 0) {
    const auto byte = static_cast<std::uint8_t>(c);
    record(TraceDirection::Received, &byte, 1);
  }
  return c;
}

void TracingPort::record(TraceDirection direction, const std::uint8_t *bytes, std::size_t count) {
  std::lock_guard lock(mutex_);
  const std::int64_t elapsed = clock_.nowMs() - startMs_;
  for (std::size_t i = 0; i < count; ++i) {
    out_ << traceLine(elapsed, direction, bytes[i]) << '\n';
  }
  // A trace is read after a failure; it must not wait in a buffer.
  out_.flush();
}

} // namespace tarnwick
