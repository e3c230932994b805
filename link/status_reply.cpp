#include "status_reply.h"

#include "commands.h"

#include <algorithm>

namespace tarnwick {

StatusReplyParser::StatusReplyParser(int payloadBytes)
    : expected_(static_cast<std::size_t>(std::max(payloadBytes, 0))) {}

StatusReplyParser::State StatusReplyParser::feed(std::uint8_t byte) {
  switch (state_) {
  case State::SeekingHeader:
    if (byte == cmd::kStatusHeader) {
      state_ = State::ExpectingValid;
    }
    break;
  case State::ExpectingValid:
    state_ = byte != cmd::kStatusValid ? State::Invalid
             : expected_ == 0          ? State::Complete
                                       : State::ReadingPayload;
    break;
  case State::ReadingPayload:
    payload_.push_back(byte);
    if (payload_.size() == expected_) {
      state_ = State::Complete;
    }
    break;
  case State::Complete:
  case State::Invalid:
    break; // the reply is decided; later bytes are not part of it
  }
  return state_;
}

std::optional<std::vector<std::uint8_t>> StatusReplyParser::payload() const {
  if (state_ != State::Complete) {
    return std::nullopt;
  }
  return payload_;
}

std::optional<std::vector<std::uint8_t>> decodeStatusReply(std::span<const std::uint8_t> bytes,
                                                           int payloadBytes) {
  StatusReplyParser parser(payloadBytes);
  for (std::uint8_t byte : bytes) {
    const auto state = parser.feed(byte);
    if (state == StatusReplyParser::State::Complete || state == StatusReplyParser::State::Invalid) {
      break;
    }
  }
  return parser.payload();
}

} // namespace tarnwick
