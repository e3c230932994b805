#include "block_mode.h"
#include "receiver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_literals;

constexpr std::uint8_t kAck = 0x06;
constexpr char kBlockWord[] = "blk"; // a command word only these tests give the console

void type(Receiver &receiver, const std::string &text, std::int64_t nowMs) {
  for (const char c : text) {
    receiver.receive(static_cast<std::uint8_t>(c), nowMs);
  }
}

Bytes drainBytes(Receiver &receiver) {
  Bytes bytes;
  while (const auto due = receiver.nextDueMs()) {
    bytes.push_back(*receiver.takeDue(*due));
  }
  return bytes;
}

Bytes bytesOf(const std::string &text) {
  return Bytes(text.begin(), text.end());
}

Bytes concat(Bytes a, const std::string &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct BlockCase {
  const char *name;
  BlockFormat format;
  BlockFaults faults;
  std::string input; // after the command line; "ruAlive" shows who has the line at the end
  Bytes reply;       // what follows the command line's echo
  std::vector<std::string> kept;
  bool backInConsole;
};

BlockFaults noAckFor(std::size_t item) {
  BlockFaults faults;
  faults.noAckForItem = item;
  return faults;
}

BlockFaults silentAfter(std::size_t item) {
  BlockFaults faults;
  faults.silentAfterItem = item;
  return faults;
}

const BlockCase kCases[] = {
    {"fixedItemsEachAcknowledgedThenConsole",
     {3, 0x0D, 2},
     {},
     "abcdefruAlive\r",
     concat({kAck, kAck}, "ruAlive\n\rY"),
     {"abc", "def"},
     true},
    {"terminatedItemsTakeCarriageReturnsAsData",
     {0, 0x00, 2},
     {},
     "a\0b\rd\0ruAlive\r"s,
     concat({kAck, kAck}, "ruAlive\n\rY"),
     {"a", "b\rd"},
     true},
    {"withheldAckDropsTheItemAndAResendTakesItsPlace",
     {2, 0x0D, 2},
     noAckFor(1),
     "aabbbbruAlive\r",
     concat({kAck, kAck}, "ruAlive\n\rY"),
     {"aa", "bb"},
     true},
    {"silentAfterAnItemAnswersNothingMore",
     {1, 0x0D, 3},
     silentAfter(0),
     "abcruAlive\r",
     {kAck},
     {"a"},
     false},
};

// The console enters the mode after a command word and has the line again
// after the block's last item.
void runBlockCase(const BlockCase &c) {
  Faults faults;
  faults.block = c.faults;
  Receiver receiver({}, faults);
  std::vector<std::string> kept;
  receiver.addCommand(kBlockWord, [&](Receiver &r, const CommandArgs &, std::int64_t) {
    r.enterMode(std::make_unique<BlockMode>(
        r, c.format, r.faults().block, [&](std::size_t index, std::span<const std::uint8_t> item) {
          EXPECT_EQ(index, kept.size());
          kept.emplace_back(item.begin(), item.end());
        }));
  });
  type(receiver, kBlockWord + "\r"s + c.input, 0);
  Bytes expected = bytesOf(kBlockWord + "\n\r"s);
  expected.insert(expected.end(), c.reply.begin(), c.reply.end());
  EXPECT_EQ(drainBytes(receiver), expected);
  EXPECT_EQ(kept, c.kept);
  EXPECT_EQ(receiver.inConsole(), c.backInConsole);
}

TEST(BlockModeTest, acknowledgesEachItemAndHandsTheLineBack) {
  for (const BlockCase &c : kCases) {
    SCOPED_TRACE(c.name);
    runBlockCase(c);
  }
}

TEST(BlockModeTest, restartHandsTheLineBackToTheConsole) {
  ReceiverSettings settings;
  settings.restartDelayMs = 10;
  Receiver receiver(settings);
  receiver.enterMode(std::make_unique<BlockMode>(receiver, BlockFormat{4, 0x0D, 1}, BlockFaults{},
                                                 BlockMode::ItemHandler{}));
  type(receiver, "ab", 0);
  receiver.restart(0);
  drainBytes(receiver);
  EXPECT_TRUE(receiver.inConsole());
  type(receiver, "ruAlive\r", 100);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ruAlive\n\rY"));
}

} // namespace
} // namespace tarnwick::sim
