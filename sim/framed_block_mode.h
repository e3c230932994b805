// A framed block of 16-bit values from the PC, as lists and tables arrive:
// a frame byte and 0x1E, the values high byte first, the frame byte and 0x1F,
// then 0x7F. The count of values is known before the block begins. The block
// is answered with one ACK (unless withheld); a block that breaks its framing
// gets no answer and gives the line back at once. No echo.
#pragma once

#include "input_mode.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick::sim {

class Receiver;

struct FramedBlock {
  std::uint8_t frame = 0x0A;       // 0x0A for "ldata", 0x19 for "tdata"
  std::size_t values = 0;          // 16-bit values between the start and the end
  bool acknowledge = true;         // false: the block is taken but its ACK withheld
  std::int64_t abandonAfterMs = 0; // a byte this long after the last one ends the block; 0: never
};

class FramedBlockMode final : public InputMode {
public:
  using Handler = std::function<void(const std::vector<std::uint16_t> &values)>;
  using ErrorHandler = std::function<void(const std::string &what)>;

  FramedBlockMode(Receiver &receiver, FramedBlock block, Handler onBlock, ErrorHandler onError,
                  std::int64_t enteredMs);

  void receive(std::uint8_t byte, std::int64_t nowMs) override;

private:
  // The byte each position of the block must hold; nothing for value bytes.
  int expectedAt(std::size_t position) const;
  void complete(std::int64_t nowMs);
  void fail(const std::string &what);

  Receiver &receiver_;
  FramedBlock block_;
  Handler onBlock_;
  ErrorHandler onError_;
  std::vector<std::uint8_t> valueBytes_;
  std::size_t position_ = 0;
  std::int64_t lastByteMs_;
};

} // namespace tarnwick::sim
