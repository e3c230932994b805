#include "framed_block_mode.h"

#include "receiver.h"

#include <cstdio>
#include <utility>

namespace tarnwick::sim {

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kStart = 0x1E;
constexpr std::uint8_t kEnd = 0x1F;
constexpr std::uint8_t kEndOfData = 0x7F;
constexpr int kValueByte = -1;

std::string hex(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
  return text;
}

} // namespace

FramedBlockMode::FramedBlockMode(Receiver &receiver, FramedBlock block, Handler onBlock,
                                 ErrorHandler onError, std::int64_t enteredMs)
    : receiver_(receiver), block_(block), onBlock_(std::move(onBlock)),
      onError_(std::move(onError)), lastByteMs_(enteredMs) {}

int FramedBlockMode::expectedAt(std::size_t position) const {
  const std::size_t valueBytes = 2 * block_.values;
  if (position == 0 || position == valueBytes + 2) {
    return block_.frame;
  }
  if (position == 1) {
    return kStart;
  }
  if (position == valueBytes + 3) {
    return kEnd;
  }
  if (position == valueBytes + 4) {
    return kEndOfData;
  }
  return kValueByte;
}

void FramedBlockMode::receive(std::uint8_t byte, std::int64_t nowMs) {
  const bool late = block_.abandonAfterMs > 0 && nowMs - lastByteMs_ >= block_.abandonAfterMs;
  lastByteMs_ = nowMs;
  if (late) {
    fail("block abandoned after " + std::to_string(position_) + " bytes");
    receiver_.handOn(byte, nowMs);
    return;
  }
  const int expected = expectedAt(position_);
  if (expected != kValueByte && byte != expected) {
    fail("byte " + std::to_string(position_) + " of the block is " + hex(byte) + ", not " +
         hex(expected));
    return;
  }
  if (expected == kValueByte) {
    valueBytes_.push_back(byte);
  }
  if (++position_ == 2 * block_.values + 5) {
    complete(nowMs);
  }
}

// The ACK goes out and the line is handed back before the block is passed
// on, as the block mode does.
void FramedBlockMode::complete(std::int64_t nowMs) {
  std::vector<std::uint16_t> values;
  for (std::size_t i = 0; i + 1 < valueBytes_.size(); i += 2) {
    values.push_back(static_cast<std::uint16_t>((valueBytes_[i] << 8) | valueBytes_[i + 1]));
  }
  if (block_.acknowledge) {
    receiver_.sendByte(kAck, nowMs);
  }
  receiver_.leaveMode(); // this object lives on until the byte is done
  if (block_.acknowledge && onBlock_) {
    onBlock_(values);
  }
}

void FramedBlockMode::fail(const std::string &what) {
  receiver_.leaveMode();
  if (onError_) {
    onError_(what);
  }
}

} // namespace tarnwick::sim
