// A paced download exchange written as data: the writes, the pauses between
// bytes, the input flushes and the waits for the receiver's marker byte, in
// order. Console::Run carries one out; the downloads (glossary, user and
// description lists, and those that follow) build theirs from these words and
// never write a byte loop or an ACK wait of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Where a paced byte's gap goes.
enum class Pace {
  GapAfter,   // the byte, then the gap
  GapBefore,  // the gap, then the byte
  FlushFirst, // the input flushed, the byte, then the gap
};

class PacedExchange {
public:
  enum class Kind {
    Block, // the bytes in one write
    Byte,  // one byte in one write
    Flush, // the input purged
    Pause, // ms of waiting
    Await, // the marker byte within ms
  };

  struct Step {
    Kind kind;
    std::string bytes; // Block, Byte
    int ms = 0;        // Pause: its length; Await: the bound
    std::uint8_t marker = 0;
    bool operator==(const Step &) const = default;
  };

  // The bytes in one write, then pauseAfterMs.
  PacedExchange &block(std::string_view bytes, int pauseAfterMs = 0);
  // The bytes one by one, gapMs each, placed as pace says.
  PacedExchange &paced(std::string_view bytes, int gapMs, Pace pace = Pace::GapAfter);
  PacedExchange &flush();
  PacedExchange &pause(int ms);
  // Reads until marker arrives; Silent once boundMs have passed.
  PacedExchange &await(std::uint8_t marker, int boundMs);
  // await(ACK, boundMs).
  PacedExchange &ack(int boundMs);
  PacedExchange &append(const PacedExchange &other);

  const std::vector<Step> &steps() const { return steps_; }
  bool empty() const { return steps_.empty(); }
  // The pauses and gaps the exchange owes the receiver; waits not counted.
  std::int64_t mandatedMs() const;
  // Waits for a marker it holds.
  int awaits() const;
  // Bytes it writes.
  std::size_t bytesWritten() const;

private:
  std::vector<Step> steps_;
};

// The bytes of an exchange's writes, in order (tests and traces).
std::string writtenBytes(const PacedExchange &exchange);

// The big-endian bytes of a 16-bit value, as lists and tables send them.
void appendHighFirst(std::string &bytes, std::uint16_t value);

} // namespace tarnwick
