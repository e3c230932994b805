#include "block_mode.h"

#include "receiver.h"

#include <stdexcept>
#include <utility>

namespace tarnwick::sim {

namespace {

constexpr std::uint8_t kAck = 0x06; // an item was taken

} // namespace

BlockMode::BlockMode(Receiver &receiver, BlockFormat format, BlockFaults faults, ItemHandler onItem,
                     std::int64_t enteredMs)
    : receiver_(receiver), format_(format), faults_(std::move(faults)), onItem_(std::move(onItem)),
      lastByteMs_(enteredMs) {
  if (format_.items == 0) {
    throw std::invalid_argument("a block has at least one item");
  }
}

void BlockMode::receive(std::uint8_t byte, std::int64_t nowMs) {
  if (abandoned(byte, nowMs)) {
    return;
  }
  if (!silent_ && itemComplete(byte)) {
    takeItem(nowMs);
  }
}

// A sender that stopped part-way (its ACK withheld, say) and later starts
// afresh: the block is given up and the byte goes to the mode below.
bool BlockMode::abandoned(std::uint8_t byte, std::int64_t nowMs) {
  const bool late = format_.abandonAfterMs > 0 && nowMs - lastByteMs_ >= format_.abandonAfterMs;
  lastByteMs_ = nowMs;
  if (!late) {
    return false;
  }
  receiver_.leaveMode();
  receiver_.handOn(byte, nowMs);
  return true;
}

// Adds the byte to the item under way; true when that closes it.
bool BlockMode::itemComplete(std::uint8_t byte) {
  if (format_.itemBytes == 0) {
    if (byte == format_.terminator) {
      return true;
    }
    item_.push_back(byte);
    return format_.maxItemBytes != 0 && item_.size() == format_.maxItemBytes;
  }
  item_.push_back(byte);
  return item_.size() == format_.itemBytes;
}

// The ACK goes out and the line is handed back before the item is passed on,
// so that whatever the handler sends or enters comes after the block.
void BlockMode::takeItem(std::int64_t nowMs) {
  const std::size_t arrival = arrived_++;
  const std::vector<std::uint8_t> item = std::move(item_);
  item_.clear();
  silent_ = faults_.silentAfterItem == arrival;
  if (faults_.noAckForItem == arrival) {
    return;
  }
  const std::size_t index = kept_++;
  receiver_.sendByte(kAck, nowMs);
  if (!silent_ && kept_ == format_.items) {
    receiver_.leaveMode(); // this object lives on until the byte is done
  }
  if (onItem_) {
    onItem_(index, item);
  }
}

} // namespace tarnwick::sim
