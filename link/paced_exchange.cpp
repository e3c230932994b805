#include "paced_exchange.h"

#include "commands.h"

namespace tarnwick {

PacedExchange &PacedExchange::block(std::string_view bytes, int pauseAfterMs) {
  steps_.push_back({Kind::Block, std::string(bytes)});
  return pause(pauseAfterMs);
}

PacedExchange &PacedExchange::paced(std::string_view bytes, int gapMs, Pace pace) {
  for (const char c : bytes) {
    if (pace == Pace::GapBefore) {
      pause(gapMs);
    } else if (pace == Pace::FlushFirst) {
      flush();
    }
    steps_.push_back({Kind::Byte, std::string(1, c)});
    if (pace != Pace::GapBefore) {
      pause(gapMs);
    }
  }
  return *this;
}

PacedExchange &PacedExchange::flush() {
  steps_.push_back({Kind::Flush, {}});
  return *this;
}

PacedExchange &PacedExchange::pause(int ms) {
  if (ms > 0) {
    steps_.push_back({Kind::Pause, {}, ms});
  }
  return *this;
}

PacedExchange &PacedExchange::await(std::uint8_t marker, int boundMs) {
  steps_.push_back({Kind::Await, {}, boundMs, marker});
  return *this;
}

PacedExchange &PacedExchange::ack(int boundMs) {
  return await(cmd::kAck, boundMs);
}

PacedExchange &PacedExchange::append(const PacedExchange &other) {
  steps_.insert(steps_.end(), other.steps_.begin(), other.steps_.end());
  return *this;
}

std::int64_t PacedExchange::mandatedMs() const {
  std::int64_t total = 0;
  for (const Step &step : steps_) {
    if (step.kind == Kind::Pause) {
      total += step.ms;
    }
  }
  return total;
}

int PacedExchange::awaits() const {
  int count = 0;
  for (const Step &step : steps_) {
    count += step.kind == Kind::Await ? 1 : 0;
  }
  return count;
}

std::size_t PacedExchange::bytesWritten() const {
  std::size_t count = 0;
  for (const Step &step : steps_) {
    count += step.bytes.size();
  }
  return count;
}

std::string writtenBytes(const PacedExchange &exchange) {
  std::string bytes;
  for (const PacedExchange::Step &step : exchange.steps()) {
    bytes += step.bytes;
  }
  return bytes;
}

void appendHighFirst(std::string &bytes, std::uint16_t value) {
  bytes.push_back(static_cast<char>(value >> 8));
  bytes.push_back(static_cast<char>(value & 0xFF));
}

} // namespace tarnwick
