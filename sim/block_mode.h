// Binary blocks from the PC: a block of items, each of a fixed size or closed
// by a terminator, each taken with an ACK. No echo. The mode hands the line
// back to the one that entered it after the block's last item.
#pragma once

#include "input_mode.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tarnwick::sim {

class Receiver;

// Block misbehaviour on demand; items count from 0 in the order they arrive,
// a dropped one included.
struct BlockFaults {
  std::optional<std::size_t> noAckForItem;    // this item is dropped: not kept, no ACK, not counted
  std::optional<std::size_t> silentAfterItem; // from then on every byte is taken and none answered
};

struct BlockFormat {
  std::size_t itemBytes = 0;       // each item this long; 0: items end at the terminator
  std::uint8_t terminator = 0x0D;  // closes an item when itemBytes is 0; not part of the item
  std::size_t items = 1;           // items in the block, at least one
  std::size_t maxItemBytes = 0;    // with a terminator: an item this long ends without it; 0: none
  std::int64_t abandonAfterMs = 0; // a byte this long after the last one ends the block; 0: never
};

class BlockMode final : public InputMode {
public:
  // A kept item and its place in the block.
  using ItemHandler = std::function<void(std::size_t index, std::span<const std::uint8_t> item)>;

  // enteredMs: when the block began, for abandonAfterMs.
  BlockMode(Receiver &receiver, BlockFormat format, BlockFaults faults, ItemHandler onItem,
            std::int64_t enteredMs = 0);

  void receive(std::uint8_t byte, std::int64_t nowMs) override;

private:
  bool abandoned(std::uint8_t byte, std::int64_t nowMs);
  bool itemComplete(std::uint8_t byte);
  void takeItem(std::int64_t nowMs);

  Receiver &receiver_;
  BlockFormat format_;
  BlockFaults faults_;
  ItemHandler onItem_;
  std::vector<std::uint8_t> item_;
  std::size_t arrived_ = 0; // items complete, dropped ones included
  std::size_t kept_ = 0;
  bool silent_ = false;
  std::int64_t lastByteMs_;
};

} // namespace tarnwick::sim
