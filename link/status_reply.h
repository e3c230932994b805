// The binary status reply ("locsw", "lochw", "Language"): bytes before 0xD5
// are console noise and skipped, 0x02 must follow, then the payload. Kept
// apart from the port so that the decoding can be tested and fuzzed alone.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnwick {

class StatusReplyParser {
public:
  enum class State {
    SeekingHeader,  // skipping bytes until 0xD5
    ExpectingValid, // 0xD5 seen; 0x02 must come next
    ReadingPayload,
    Complete,
    Invalid, // 0xD5 followed by another byte: no status
  };

  // A negative size counts as 0.
  explicit StatusReplyParser(int payloadBytes);

  State feed(std::uint8_t byte);
  State state() const { return state_; }
  // After the header: every further byte belongs to the reply.
  bool inReply() const {
    return state_ == State::ExpectingValid || state_ == State::ReadingPayload;
  }
  // The payload once complete; nothing otherwise.
  std::optional<std::vector<std::uint8_t>> payload() const;

private:
  std::size_t expected_;
  State state_ = State::SeekingHeader;
  std::vector<std::uint8_t> payload_;
};

// The payload of the first status reply in bytes; nothing when the header is
// missing, not followed by 0x02, or the payload is cut short.
std::optional<std::vector<std::uint8_t>> decodeStatusReply(std::span<const std::uint8_t> bytes,
                                                           int payloadBytes);

} // namespace tarnwick
