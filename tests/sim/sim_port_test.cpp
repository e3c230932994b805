#include "sim_port.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace tarnwick::sim {
namespace {

constexpr const char *kDevice = "/dev/ttyUSB0";

class SimPortTest : public ::testing::Test {
protected:
  SimPortTest() : port(clock) {}

  Receiver &openReceiver(ReceiverSettings settings = {}, Faults faults = {}) {
    Receiver &receiver = port.addReceiver(kDevice, std::move(settings), std::move(faults));
    port.setBaudRate(38400);
    EXPECT_EQ(port.openPort(kDevice), 0);
    return receiver;
  }

  // Paced like a command line: a pause after every byte.
  void sendLine(const std::string &text, std::int64_t gapMs) {
    for (const char c : text + "\r") {
      EXPECT_EQ(port.writeByte(static_cast<unsigned char>(c)), 1);
      clock.sleepMs(gapMs);
    }
  }

  std::string readAvailable() {
    std::string text;
    int count = 0;
    for (char c = port.readChar(&count); count == 1; c = port.readChar(&count)) {
      text.push_back(c);
    }
    return text;
  }

  VirtualClock clock{10'000};
  SimPort port;
};

TEST_F(SimPortTest, opensAtTheRateSetBefore) {
  port.addReceiver(kDevice);
  EXPECT_EQ(port.setBaudRate(115200), 115200);
  EXPECT_EQ(port.openPort(kDevice), 0);
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.openDevice(), kDevice);
  EXPECT_EQ(port.openBaudRate(), 115200);
  ASSERT_EQ(port.openAttempts().size(), 1U);
  EXPECT_EQ(port.openAttempts()[0].device, kDevice);
  EXPECT_EQ(port.openAttempts()[0].baud, 115200);
  EXPECT_EQ(port.openAttempts()[0].result, 0);
  EXPECT_EQ(port.counters().opens, 1);
}

TEST_F(SimPortTest, failingDevicesReportTheirErrorCode) {
  port.addFailingDevice("/dev/ttyS0", EBUSY);
  port.addFailingDevice("/dev/ttyS1", EACCES);
  port.setBaudRate(38400);
  EXPECT_EQ(port.openPort("/dev/ttyS0"), EBUSY);
  EXPECT_EQ(port.openPort("/dev/ttyS1"), EACCES);
  EXPECT_EQ(port.openPort("/dev/ttyS9"), ENOENT);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.receiver("/dev/ttyS0"), nullptr);
  EXPECT_EQ(port.openAttempts().size(), 3U);
  EXPECT_EQ(port.counters().opens, 0);
}

TEST_F(SimPortTest, unsupportedRateFailsTheOpenButLeavesThePortOpen) {
  port.addReceiver(kDevice);
  EXPECT_EQ(port.openPort(kDevice), EINVAL); // no rate set at all
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.closePort(), 1);
  port.setBaudRate(12345);
  EXPECT_EQ(port.openPort(kDevice), EINVAL);
}

TEST_F(SimPortTest, closeReportsWhetherAPortWasOpen) {
  openReceiver();
  EXPECT_EQ(port.closePort(), 1);
  EXPECT_EQ(port.closePort(), 0);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.openBaudRate(), std::nullopt);
}

TEST_F(SimPortTest, withoutAPortEverythingFailsAtOnce) {
  Receiver &receiver = port.addReceiver(kDevice);
  int count = 7;
  EXPECT_EQ(port.readChar(&count), '\0');
  EXPECT_EQ(count, 0);
  EXPECT_EQ(port.writeByte('r'), 0);
  const char block[] = "P\r";
  EXPECT_EQ(port.writeToPort(block, 2), 0);
  EXPECT_EQ(port.flushReadBuffer(), 0);
  EXPECT_EQ(port.flushWriteBuffer(), 0);
  EXPECT_EQ(port.setReadTimeout(100), 0);
  EXPECT_EQ(clock.nowMs(), 10'000);
  EXPECT_EQ(receiver.bytesReceived(), 0U);
  EXPECT_EQ(port.counters().reads, 0);
}

TEST_F(SimPortTest, writesReachTheReceiverAtClockTime) {
  Receiver &receiver = openReceiver();
  sendLine("ruAlive", 25);
  const auto entries = receiver.transcript();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front(), (TranscriptEntry{10'000, Direction::ToReceiver, 'r'}));
  EXPECT_EQ(receiver.receivedText(), "ruAlive\r");
  EXPECT_EQ(port.counters().bytesWritten, 8);
  const char block[] = "kb 12\r";
  EXPECT_EQ(port.writeToPort(block, 6), 1);
  EXPECT_EQ(port.writeToPort(nullptr, 0), 1);
  EXPECT_EQ(port.writeToPort(nullptr, 1), 0);
  EXPECT_EQ(port.writeToPort(block, -1), 0);
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rkb 12\r");
  EXPECT_EQ(port.counters().bytesWritten, 14);
}

TEST_F(SimPortTest, dueBytesAreReadWithoutTimePassing) {
  openReceiver();
  sendLine("ruAlive", 25);
  const std::int64_t before = clock.nowMs();
  EXPECT_EQ(readAvailable(), "ruAlive\n\rY");
  // The last, empty read waited the read time-out.
  EXPECT_EQ(clock.nowMs(), before + 360);
  EXPECT_EQ(port.counters().reads, 11);
  EXPECT_EQ(port.counters().emptyReads, 1);
  EXPECT_EQ(port.counters().bytesRead, 10);
}

TEST_F(SimPortTest, silentReadAdvancesTheReadTimeout) {
  port.addSilentDevice(kDevice);
  port.setBaudRate(38400);
  ASSERT_EQ(port.openPort(kDevice), 0);
  sendLine("ruAlive", 25);
  const std::int64_t before = clock.nowMs();
  int count = 1;
  EXPECT_EQ(port.readChar(&count), '\0');
  EXPECT_EQ(count, 0);
  EXPECT_EQ(clock.nowMs(), before + 360);
  EXPECT_EQ(port.receiver(kDevice)->receivedText(), "ruAlive\r");
}

TEST_F(SimPortTest, lateReplyArrivesWhenDue) {
  Faults faults;
  faults.replyDelayMs = 4000;
  openReceiver({}, faults);
  sendLine("ruAlive", 25); // CR written at 10'175
  const std::int64_t carriageReturnAt = 10'000 + 7 * 25;
  int count = 0;
  char c = 0;
  for (int reads = 0; reads < 100; ++reads) {
    c = port.readChar(&count);
    if (count == 1 && c == 'Y') {
      break;
    }
  }
  EXPECT_EQ(c, 'Y');
  EXPECT_EQ(clock.nowMs(), carriageReturnAt + 4000);
  // 10 echo bytes at once, then empty reads of 360 ms until the answer is
  // due within one: 3975 ms after the last echo byte takes 11 of them.
  EXPECT_EQ(port.counters().emptyReads, 11);
}

TEST_F(SimPortTest, readTimeoutCanBeChangedAndEveryOpenResetsIt) {
  openReceiver();
  EXPECT_EQ(port.readTimeoutMs(), 360);
  EXPECT_EQ(port.setReadTimeout(-1), 0);
  EXPECT_EQ(port.setReadTimeout(1000), 1);
  EXPECT_EQ(port.readTimeoutMs(), 1000);
  int count = 1;
  port.readChar(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(clock.nowMs(), 11'000);
  EXPECT_EQ(port.setReadTimeout(0), 1);
  port.readChar(&count);
  EXPECT_EQ(clock.nowMs(), 11'000);
  ASSERT_EQ(port.openPort(kDevice), 0);
  EXPECT_EQ(port.readTimeoutMs(), 360);
}

TEST_F(SimPortTest, flushDiscardsWhatHasArrivedOnly) {
  Faults faults;
  faults.replyDelayMs = 100;
  openReceiver({}, faults);
  sendLine("ruAlive", 0);
  EXPECT_EQ(port.flushReadBuffer(), 1);
  EXPECT_EQ(port.flushWriteBuffer(), 1);
  EXPECT_EQ(port.counters().readFlushes, 1);
  int count = 0;
  EXPECT_EQ(port.readChar(&count), 'Y');
  EXPECT_EQ(count, 1);
  EXPECT_EQ(clock.nowMs(), 10'100);
}

TEST_F(SimPortTest, bytesSentWhileClosedAreLost) {
  ReceiverSettings settings;
  settings.restartDelayMs = 1500;
  Receiver &receiver = openReceiver(settings);
  sendLine("swreset", 0);
  EXPECT_EQ(port.closePort(), 1);
  clock.sleepMs(2000);
  ASSERT_EQ(port.openPort(kDevice), 0);
  EXPECT_EQ(readAvailable(), "");
  EXPECT_EQ(receiver.pendingBytes(), 0U);
}

TEST_F(SimPortTest, bannerArrivesAfterTheRestartDelay) {
  ReceiverSettings settings;
  settings.restartDelayMs = 1500;
  Receiver &receiver = openReceiver(settings);
  sendLine("swreset", 50); // CR at 10'350
  port.flushReadBuffer();
  std::string text;
  int count = 0;
  while (text.find("Revision") == std::string::npos && clock.nowMs() < 20'000) {
    const char c = port.readChar(&count);
    if (count == 1) {
      text.push_back(c);
    }
  }
  EXPECT_NE(text.find("Revision"), std::string::npos);
  EXPECT_EQ(text, receiver.startupBanner().substr(0, text.size()));
  EXPECT_EQ(clock.nowMs(), 10'350 + 1500);
}

TEST_F(SimPortTest, wrongRateLetsNothingThrough) {
  Receiver &receiver = port.addReceiver(kDevice);
  port.setDeviceBaud(kDevice, 38400);
  port.setBaudRate(9600);
  ASSERT_EQ(port.openPort(kDevice), 0);
  sendLine("ruAlive", 25);
  EXPECT_EQ(receiver.bytesReceived(), 0U);
  EXPECT_EQ(readAvailable(), "");
  EXPECT_EQ(port.counters().bytesWritten, 8);
  port.setBaudRate(38400);
  ASSERT_EQ(port.openPort(kDevice), 0);
  sendLine("ruAlive", 25);
  EXPECT_EQ(readAvailable(), "ruAlive\n\rY");
}

TEST_F(SimPortTest, devicesKeepTheirOwnReceivers) {
  Receiver &first = port.addReceiver("/dev/ttyUSB0");
  ReceiverSettings settings;
  settings.modelCode = 12;
  Receiver &second = port.addReceiver("/dev/ttyUSB1", settings);
  EXPECT_EQ(port.receiver("/dev/ttyUSB0"), &first);
  EXPECT_EQ(port.receiver("/dev/ttyUSB1"), &second);
  port.setBaudRate(38400);
  ASSERT_EQ(port.openPort("/dev/ttyUSB1"), 0);
  sendLine("locsw", 5);
  EXPECT_EQ(first.bytesReceived(), 0U);
  EXPECT_EQ(second.receivedText(), "locsw\r");
  const std::string reply = readAvailable();
  ASSERT_EQ(reply.size(), 7U + 9U);
  EXPECT_EQ(static_cast<std::uint8_t>(reply[7]), 0xD5);
  EXPECT_EQ(reply[11], 12);
}

} // namespace
} // namespace tarnwick::sim
