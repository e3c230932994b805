#include "console.h"
#include "eeprom_lines.h"
#include "port_settings.h"
#include "sim_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarnwick {
namespace {

using sim::Direction;
using sim::TranscriptEntry;
using testing::ByteScriptPort;
using testing::SimRig;

constexpr const char *kDevice = "/dev/ttyUSB0";
const std::string kErrorCommunicating = "Error Communicating to receiver. Verify serial cable "
                                        "connection between PC and receiver. Verify Receiver is "
                                        "on..";

// The liveness check and the reset as the tools end them: on silence the
// message and (for the liveness check) the failure-close step.
bool aliveAsToolsEndIt(Console &console) {
  const Outcome outcome = console.CheckAlive();
  endExchange(console.context(), outcome, sid::kErrorCommunicating);
  return succeeded(outcome);
}

bool resetAsToolsEndIt(Console &console) {
  const Outcome outcome = console.SendReset();
  if (outcome != Outcome::Ok && outcome != Outcome::Cancelled) {
    console.context().showMessage(sid::kRestartLocator);
  }
  return succeeded(outcome);
}

std::vector<TranscriptEntry> expectedLine(const std::string &text, std::int64_t startMs,
                                          std::int64_t gapMs) {
  std::vector<TranscriptEntry> entries;
  std::int64_t at = startMs;
  for (char c : text) {
    entries.push_back({at, Direction::ToReceiver, static_cast<std::uint8_t>(c)});
    at += gapMs;
  }
  return entries;
}

TEST(Console, commandLineIsWrittenByteByByteWith25msGaps) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  ASSERT_EQ(console.SendCommandLine("ruAlive", 25), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("ruAlive\r", 1000, 25));
  EXPECT_EQ(rig.clock.nowMs(), 1000 + 9 * 25); // a gap after each byte and one more
}

TEST(Console, pacingKeepsToDeadlinesWhenWritesTakeTime) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  rig.port.beforeWrite = [&](int) { rig.clock.sleepMs(3); }; // a slow write
  Console console(rig.context);
  ASSERT_EQ(console.SendCommandLine("kb 12", 25), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("kb 12\r", 1003, 25));
  EXPECT_EQ(rig.clock.nowMs(), 1000 + 7 * 25);
}

TEST(Console, otherGapsPaceTheSameWay) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  ASSERT_EQ(console.SendCommandLine("swreset", 50), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("swreset\r", 1000, 50));
  EXPECT_EQ(rig.clock.nowMs(), 1000 + 9 * 50);
}

TEST(Console, commandLineStopsAtAFailedWrite) {
  SimRig rig;
  Console console(rig.context); // nothing open: every write fails
  EXPECT_EQ(console.SendCommandLine("ruAlive", 25), Outcome::WriteFailed);
  EXPECT_EQ(rig.clock.nowMs(), 1000);
}

TEST(Console, blockIsOneWriteWithItsCarriageReturn) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  ASSERT_EQ(console.SendBlock("P"), Outcome::Ok);
  EXPECT_EQ(rig.port.calls().back(), "writeToPort P\r");
  EXPECT_EQ(receiver.receivedText(), "P\r");
  EXPECT_EQ(rig.clock.nowMs(), 1000);
}

// The wait begins after the line's extra gap: the CR arrives at 1175, the
// wait begins at 1225. A reply delay counts from the CR.
TEST(Console, aliveAnswerFourSecondsIntoTheWaitPasses) {
  SimRig rig;
  sim::Faults faults;
  faults.replyDelayMs = 4050;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_TRUE(aliveAsToolsEndIt(console));
  EXPECT_EQ(rig.clock.nowMs(), 1225 + 4000);
  EXPECT_TRUE(rig.context.portState.isOpen());
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(Console, aliveAnswerJustInsideTheBoundPasses) {
  SimRig rig;
  sim::Faults faults;
  faults.replyDelayMs = 5049; // 4999 ms into the wait
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_TRUE(aliveAsToolsEndIt(console));
}

TEST(Console, aliveAnswerFiveSecondsIntoTheWaitFails) {
  SimRig rig;
  sim::Faults faults;
  faults.replyDelayMs = 5050;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_FALSE(aliveAsToolsEndIt(console));
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kErrorCommunicating});
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_EQ(rig.clock.nowMs(), 1225 + 5000);
}

TEST(Console, aSilentReceiverFailsTheLivenessCheck) {
  SimRig rig;
  rig.sim.addSilentDevice(kDevice);
  rig.sim.setBaudRate(38400);
  rig.sim.openPort(kDevice);
  rig.context.portState.markOpen(kDevice, 38400);
  Console console(rig.context);
  EXPECT_FALSE(aliveAsToolsEndIt(console));
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kErrorCommunicating});
  EXPECT_FALSE(rig.context.portState.isOpen());
  // Silent reads of 360 ms each until the bound has passed.
  EXPECT_EQ(rig.clock.nowMs(), 1225 + 14 * 360);
}

TEST(Console, statusReplySkipsNoiseBeforeTheHeader) {
  SimRig rig;
  sim::Faults faults;
  faults.statusNoise = {'x', 0x00, 0x02, 0x59, 0x17};
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  const auto payload = console.QueryStatus("locsw", 25, 35000, 7);
  ASSERT_TRUE(payload);
  EXPECT_EQ(*payload, (std::vector<std::uint8_t>{0x00, 23, 48, 0x00, 0x00, 0x00, 8}));
}

TEST(Console, headerNotFollowedBy02IsNoReply) {
  SimRig rig;
  sim::Faults faults;
  faults.statusHeader = 0x03;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_FALSE(console.QueryStatus("locsw", 25, 35000, 3));
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(Console, aPayloadCutShortIsNoReply) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::vector<std::uint8_t>{0xD5, 0x02, 0x00, 0x17});
  Console console(context);
  EXPECT_FALSE(console.ReadStatusReply(2000, 3));
}

TEST(Console, readBytesTakesExactlyTheCountAndEndsAtTheBoundWhenShort) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::vector<std::uint8_t>{1, 0, 2, 3});
  Console console(context);
  EXPECT_EQ(console.ReadBytes(3, 5000), (std::vector<std::uint8_t>{1, 0, 2}));
  const std::int64_t start = clock.nowMs();
  EXPECT_FALSE(console.ReadBytes(2, 2000)); // one byte left, then silence
  EXPECT_EQ(clock.nowMs() - start, 6 * 360);
}

TEST(Console, statusReplyWithoutHeaderEndsAtTheBound) {
  SimRig rig;
  sim::Faults faults;
  faults.silentFromByte = 0;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  const std::int64_t start = rig.clock.nowMs();
  EXPECT_FALSE(console.ReadStatusReply(2000, 3));
  EXPECT_EQ(rig.clock.nowMs() - start, 6 * 360);
}

TEST(Console, echoedLineAgainstTheSimulator) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  Console console(rig.context);
  EXPECT_EQ(console.SendEchoedLine("rc", 25), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("rc\r", 1000, 25));
}

TEST(Console, echoedRcLineExpectsR_C_LF_CR) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::string("rc\n\r"));
  Console console(context);
  EXPECT_EQ(console.SendEchoedLine("rc", 25), Outcome::Ok);
  EXPECT_EQ(port.written(), "rc\r");
  EXPECT_EQ(port.readCalls(), 4);
  EXPECT_EQ(clock.nowMs(), 3 * 25);
}

TEST(Console, echoedLineRefusesCrBeforeLf) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::string("rc\r\n"));
  Console console(context);
  EXPECT_EQ(console.SendEchoedLine("rc", 25), Outcome::WrongReply);
}

TEST(Console, echoedLineRefusesAWrongOrMissingEcho) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  Console console(context);
  port.queue(std::string("rx"));
  EXPECT_EQ(console.SendEchoedLine("rc", 25), Outcome::WrongReply);
  EXPECT_EQ(port.written(), "rc"); // stopped at the wrong echo
  port.flushReadBuffer();
  EXPECT_EQ(console.SendEchoedLine("pc", 25), Outcome::WrongReply); // silence
}

TEST(Console, echoedLineReportsAFailedWrite) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.failWrites(true);
  Console console(context);
  const Outcome result = console.SendEchoedLine("rc", 25);
  EXPECT_EQ(result, Outcome::WriteFailed);
  EXPECT_EQ(context.text(echoFailureMessage(result)), "Failed to write to the comport");
  EXPECT_EQ(context.text(echoFailureMessage(Outcome::WrongReply)),
            "No receiver response or wrong receiver response");
}

TEST(Console, resetAcceptsABannerArrivingInPieces) {
  SimRig rig;
  sim::Faults faults;
  faults.bannerChunkBytes = 3;
  faults.bannerChunkGapMs = 100;
  auto &receiver = rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_TRUE(resetAsToolsEndIt(console));
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_EQ(receiver.restarts(), 1);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("swreset\r", 1000, 50));
  // Collection stopped as soon as "Revision" was complete, with more to come.
  EXPECT_GT(receiver.pendingBytes(), 0U);
}

TEST(Console, resetWithoutBannerAsksForARestart) {
  SimRig rig;
  sim::Faults faults;
  faults.noRevision = true;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_FALSE(resetAsToolsEndIt(console));
  EXPECT_EQ(
      rig.user.messages(),
      std::vector<std::string>{"Please Restart the Locator for the changes to take effect.."});
  EXPECT_TRUE(rig.context.portState.isOpen()); // the port stays open
}

TEST(Console, collectionIgnoresZeroBytes) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::vector<std::uint8_t>{'R', 'e', 'v', 0, 'i', 's', 'i', 'o', 'n', '!'});
  Console console(context);
  const Collected collected = console.CollectUntil("Revision", 5000);
  EXPECT_TRUE(collected.found);
  EXPECT_EQ(collected.text, "Revision");
}

TEST(Console, aChatteringLineKeepsOnlyTheTailOfTheText) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  port.queue(std::string(200000, 'x') + "Revision");
  Console console(context);
  CancelToken open;
  const Collected collected = console.CollectUntil("Revision", open);
  EXPECT_TRUE(collected.found);
  EXPECT_LE(collected.text.size(), 64U * 1024U);
  EXPECT_EQ(collected.text.substr(collected.text.size() - 9), "xRevision");
}

TEST(Console, unboundedCollectionWaitsPastAnyBound) {
  SimRig rig;
  sim::ReceiverSettings settings;
  settings.restartDelayMs = 60000;
  rig.openReceiver(kDevice, settings);
  Console console(rig.context);
  ASSERT_EQ(console.SendCommandLine("swreset", 50), Outcome::Ok);
  EXPECT_FALSE(console.CollectUntil("Revision", 5000).found);
  CancelToken dialogOpen;
  const Collected late = console.CollectUntil("Revision", dialogOpen);
  EXPECT_TRUE(late.found);
  EXPECT_EQ(rig.clock.nowMs(), 1000 + 7 * 50 + 60000); // the banner is due 60 s after the CR
}

TEST(Console, unboundedCollectionEndsWhenCancelled) {
  SimRig rig;
  rig.sim.addSilentDevice(kDevice);
  rig.sim.setBaudRate(38400);
  rig.sim.openPort(kDevice);
  CancelToken dialogOpen;
  int reads = 0;
  rig.port.beforeRead = [&] {
    if (++reads == 10) {
      dialogOpen.cancel();
    }
  };
  Console console(rig.context);
  EXPECT_FALSE(console.CollectUntil("Revision", dialogOpen).found);
  EXPECT_EQ(reads, 10);
}

TEST(Console, aCancelledConsoleEndsItsWaitsSilently) {
  SimRig rig;
  rig.sim.addSilentDevice(kDevice);
  rig.sim.setBaudRate(38400);
  rig.sim.openPort(kDevice);
  rig.context.portState.markOpen(kDevice, 38400);
  CancelToken closed;
  int reads = 0;
  rig.port.beforeRead = [&] {
    if (++reads == 2) {
      closed.cancel();
    }
  };
  Console console(rig.context, &closed);
  EXPECT_FALSE(aliveAsToolsEndIt(console));
  EXPECT_EQ(reads, 2);
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_TRUE(rig.context.portState.isOpen());
}

TEST(Console, eepromReadAgainstTheSimulator) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  receiver.eeprom()[54874] = 1;
  receiver.eeprom()[54875] = 44;
  Console console(rig.context);
  ASSERT_EQ(console.SendEchoedLine(erLine(54874, 2), 25), Outcome::Ok);
  const auto high = console.ReadErField();
  const auto low = console.ReadErField();
  ASSERT_TRUE(high && low);
  EXPECT_EQ(erWord(*high, *low), 300);
  EXPECT_EQ(receiver.receivedText(), "er 54874 2 1\r");
}

TEST(Console, exactReadsAndLongEepromRepliesStopAtTheFirstMissingByte) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  Console console(context);
  port.queue(std::vector<std::uint8_t>{1, 2, 3});
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(console.ReadExactly(2, bytes), Outcome::Ok);
  EXPECT_EQ(console.ReadExactly(2, bytes), Outcome::Silent);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  // A field, a row break before the next one, a field that is no number.
  port.queue(std::string("  255\n\r  1 3  x12"));
  int value = 0;
  EXPECT_EQ(console.ReadErDumpValue(value), Outcome::Ok);
  EXPECT_EQ(value, 255);
  EXPECT_EQ(console.ReadErDumpValue(value), Outcome::Ok);
  EXPECT_EQ(value, 103);
  EXPECT_EQ(console.ReadErDumpValue(value), Outcome::WrongReply);
  EXPECT_EQ(console.ReadErDumpValue(value), Outcome::Silent);
}

TEST(Console, eepromWriteLineReachesTheImage) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  receiver.eeprom()[1] = 9;
  receiver.eeprom()[2] = 9;
  Console console(rig.context);
  ASSERT_EQ(console.SendCommandLine(ewLine(1, {0, 0}), 25), Outcome::Ok);
  EXPECT_EQ(receiver.eeprom()[1], 0);
  EXPECT_EQ(receiver.eeprom()[2], 0);
}

} // namespace
} // namespace tarnwick

namespace tarnwick {
namespace {

int countCalls(const std::vector<std::string> &calls, const std::string &name) {
  return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

TEST(ConsoleAckedLine, flushesBeforeEachByteThenTakesTheAck) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  rig.port.clearCalls();
  Console console(rig.context);
  EXPECT_EQ(console.SendAckedLine("units 0 1 0", 25, 35000), Outcome::Ok);
  EXPECT_EQ(SimRig::toReceiver(receiver), expectedLine("units 0 1 0\r", 1000, 25));
  EXPECT_EQ(countCalls(rig.port.calls(), "flushReadBuffer"), 12);
  EXPECT_EQ(receiver.lastArguments("units"), (std::vector<std::string>{"0", "1", "0"}));
}

TEST(ConsoleAckedLine, aWithheldAckIsSilenceAfterTheBound) {
  SimRig rig;
  sim::Faults faults;
  faults.noAckFor = "units";
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_EQ(console.SendAckedLine("units 0 1 0", 25, 35000), Outcome::Silent);
  EXPECT_GE(rig.clock.nowMs(), 1000 + 13 * 25 + 35000);
  EXPECT_TRUE(rig.user.messages().empty()); // the tool words the failure
}

TEST(ConsoleCancel, aLongPacedLineStopsAtTheNextByte) {
  SimRig rig;
  auto &receiver = rig.openReceiver(kDevice);
  CancelToken closed;
  int writes = 0;
  rig.port.beforeWrite = [&](int) {
    if (++writes == 3) {
      closed.cancel();
    }
  };
  Console console(rig.context, &closed);
  EXPECT_EQ(console.SendPaced(std::string(400, 'x'), 25), Outcome::Cancelled);
  EXPECT_EQ(SimRig::toReceiver(receiver).size(), 3U);
  EXPECT_LT(rig.clock.nowMs(), 1000 + 4 * 25);
}

// Real time: a sleep of ten seconds ends within a slice of the cancel.
TEST(ConsoleCancel, aSteadyClockSleepEndsSoonAfterTheCancel) {
  SteadyClock clock;
  CancelToken closed;
  const std::int64_t start = clock.nowMs();
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    closed.cancel();
  });
  EXPECT_FALSE(clock.sleepMs(10000, &closed));
  closer.join();
  EXPECT_LT(clock.nowMs() - start, 2000);
}

} // namespace
} // namespace tarnwick
