#include "console.h"
#include "paced_exchange.h"
#include "sim_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using sim::Direction;
using sim::TranscriptEntry;
using testing::ByteScriptPort;
using testing::SimRig;

constexpr const char *kDevice = "/dev/ttyUSB0";

std::vector<TranscriptEntry> arrivals(std::initializer_list<std::pair<std::int64_t, char>> bytes) {
  std::vector<TranscriptEntry> entries;
  for (const auto &[at, c] : bytes) {
    entries.push_back({at, Direction::ToReceiver, static_cast<std::uint8_t>(c)});
  }
  return entries;
}

TEST(PacedExchange, runsItsStepsOnOneChainOfDeadlines) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  PacedExchange exchange;
  exchange.paced("ruAlive\r", 25, Pace::FlushFirst)
      .await('Y', 5000)
      .block("kb 1\r", 100)
      .paced("xy", 10, Pace::GapBefore);
  EXPECT_EQ(exchange.mandatedMs(), 8 * 25 + 100 + 2 * 10);
  ASSERT_EQ(console.Run(exchange), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), arrivals({{1000, 'r'},
                                                    {1025, 'u'},
                                                    {1050, 'A'},
                                                    {1075, 'l'},
                                                    {1100, 'i'},
                                                    {1125, 'v'},
                                                    {1150, 'e'},
                                                    {1175, '\r'},
                                                    {1200, 'k'},
                                                    {1200, 'b'},
                                                    {1200, ' '},
                                                    {1200, '1'},
                                                    {1200, '\r'},
                                                    {1310, 'x'},
                                                    {1320, 'y'}}));
  EXPECT_EQ(rig.clock.nowMs(), 1320);
}

// Each write costs 3 ms here; the pauses after it shrink so that the bytes
// stay 25 ms apart.
TEST(PacedExchange, aSlowWriteDoesNotLengthenTheGaps) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  rig.port.beforeWrite = [&](int) { rig.clock.advanceMs(3); };
  Console console(rig.context);
  PacedExchange exchange;
  exchange.paced("abcd", 25);
  ASSERT_EQ(console.Run(exchange), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver),
            arrivals({{1003, 'a'}, {1028, 'b'}, {1053, 'c'}, {1078, 'd'}}));
  EXPECT_EQ(rig.clock.nowMs(), 1100);
}

TEST(PacedExchange, aMarkerThatDoesNotComeStopsTheExchange) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  PacedExchange exchange;
  exchange.block("a", 0).ack(1000).block("b", 0);
  EXPECT_EQ(console.Run(exchange), Outcome::Silent);
  EXPECT_EQ(receiver.receivedText(), "a");
  EXPECT_GE(rig.clock.nowMs(), 2000);
}

// An ACK already waiting is thrown away by a flush before the next byte.
TEST(PacedExchange, flushFirstPurgesWhatCameBefore) {
  const struct {
    Pace pace;
    Outcome outcome;
  } cases[] = {{Pace::GapAfter, Outcome::Ok}, {Pace::FlushFirst, Outcome::Silent}};
  for (const auto &c : cases) {
    VirtualClock clock;
    ByteScriptPort port(clock);
    ScriptedUser user;
    AppContext context("/nonexistent", port, clock, user);
    port.queue(std::string(1, '\x06'));
    Console console(context);
    PacedExchange exchange;
    exchange.paced("a", 5, c.pace).ack(500);
    EXPECT_EQ(console.Run(exchange), c.outcome);
    EXPECT_EQ(port.written(), "a");
  }
}

TEST(PacedExchange, aCancelledConsoleWritesNothing) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  CancelToken cancel;
  cancel.cancel();
  Console console(rig.context, &cancel);
  PacedExchange exchange;
  exchange.block("abc", 100);
  EXPECT_EQ(console.Run(exchange), Outcome::Cancelled);
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

} // namespace
} // namespace tarnwick
