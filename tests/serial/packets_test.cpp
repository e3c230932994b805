// The packet transfer against an in-memory port: exact packets, the
// acknowledgement loop, the attempt limit and the cancel sequence.
#include "crc16.h"
#include "fake_port.h"
#include "packet_reference.h"
#include "quillport.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using quillport::testing::FakePort;
using quillport::testing::PortEvent;
using namespace quillport::testing::reference;

class PacketTransfer : public ::testing::Test {
protected:
  void SetUp() override { port().reset(); }
  static FakePort &port() { return FakePort::instance(); }

  int parse(const Bytes &content) {
    return fnXParseFile(dir.write("image.bin", content).string().c_str());
  }
  // Sends one packet whose receiver answers with the given bytes in turn.
  int sendWithAnswers(int index, std::initializer_list<std::optional<std::uint8_t>> answers) {
    port().events.clear();
    port().answers.assign(answers.begin(), answers.end());
    return fnXSendPacket(index);
  }

  tarnwick::testing::TempDir dir;
};

TEST(Crc16, checkValueOfTheNineDigitsIs31C3) {
  const char *digits = "123456789";
  const auto *data = reinterpret_cast<const std::uint8_t *>(digits);
  EXPECT_EQ(quillport::crc16(data, 9), 0x31C3);
  EXPECT_EQ(referenceCrc(data, 9), 0x31C3);
}

TEST_F(PacketTransfer, fileOf1024BytesIsOneStxPacketWithItsCrc) {
  const Bytes file = pattern(1024);
  ASSERT_EQ(parse(file), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 1);
  EXPECT_EQ(fnXGetBytes(), 1024);
  EXPECT_EQ(sendWithAnswers(0, {kAck}), 0);
  const auto writes = port().writes();
  ASSERT_EQ(writes.size(), 2U);
  EXPECT_EQ(writes[0], expectedPacket(1, file, 0, 1024));
  EXPECT_EQ(writes[0].size(), 1029U);
  EXPECT_EQ(writes[1], Bytes{kEot});
}

TEST_F(PacketTransfer, fileOf1025BytesEndsWithA133ByteSohPacket) {
  const Bytes file = pattern(1025);
  ASSERT_EQ(parse(file), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 2);
  EXPECT_EQ(fnXGetBytes(), 1152);
  EXPECT_EQ(sendWithAnswers(0, {kAck}), 0);
  EXPECT_EQ(port().writes(), std::vector<Bytes>{expectedPacket(1, file, 0, 1024)});
  EXPECT_EQ(sendWithAnswers(1, {kAck}), 0);
  const auto writes = port().writes();
  ASSERT_EQ(writes.size(), 2U);
  EXPECT_EQ(writes[0].size(), 133U);
  EXPECT_EQ(writes[0], expectedPacket(2, file, 1024, 1));
  EXPECT_EQ(writes[0][3], file[1024]);
  EXPECT_EQ(writes[1], Bytes{kEot});
}

TEST_F(PacketTransfer, fileOf1300BytesPadsTheSecondStxPacket) {
  const Bytes file = pattern(1300);
  ASSERT_EQ(parse(file), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 2);
  EXPECT_EQ(fnXGetBytes(), 2048);
  sendWithAnswers(0, {kAck});
  EXPECT_EQ(sendWithAnswers(1, {kAck}), 0);
  const Bytes second = port().writes().at(0);
  EXPECT_EQ(second, expectedPacket(2, file, 1024, 276));
  EXPECT_EQ(std::count(second.begin() + 3 + 276, second.begin() + 3 + 1024, kPad), 748);
}

TEST_F(PacketTransfer, lastChunkOf128BytesUsesSohAnd129UsesStx) {
  ASSERT_EQ(parse(pattern(1024 + 128)), 0);
  EXPECT_EQ(fnXGetBytes(), 1024 + 128);
  ASSERT_EQ(parse(pattern(1024 + 129)), 0);
  EXPECT_EQ(fnXGetBytes(), 2048);
  EXPECT_EQ(sendWithAnswers(1, {kAck}), 0);
  EXPECT_EQ(port().writes().at(0).size(), 1029U);
}

TEST_F(PacketTransfer, blockNumbersWrapFrom255To0) {
  const Bytes file = pattern(300 * 1024);
  ASSERT_EQ(parse(file), 0);
  ASSERT_EQ(fnXGetNumberOfPackets(), 300);
  for (int index = 0; index < 300; ++index) {
    ASSERT_EQ(sendWithAnswers(index, {kAck}), 0);
    const Bytes packet = port().writes().at(0);
    const auto expectedBlock = static_cast<std::uint8_t>((index + 1) % 256);
    ASSERT_EQ(packet[1], expectedBlock) << "packet " << index;
    ASSERT_EQ(packet[2], 255 - expectedBlock) << "packet " << index;
  }
  EXPECT_EQ(fnXGetCurrentPacketNumber(), 300);
}

TEST_F(PacketTransfer, newParseRestartsBlockNumberingAndReplacesTheFile) {
  ASSERT_EQ(parse(pattern(3000)), 0);
  ASSERT_EQ(parse(pattern(100)), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 1);
  EXPECT_EQ(fnXGetBytes(), 128);
  sendWithAnswers(0, {kAck});
  EXPECT_EQ(port().writes().at(0), expectedPacket(1, pattern(100), 0, 100));
}

TEST_F(PacketTransfer, emptyFileHasNoPackets) {
  EXPECT_EQ(parse({}), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 0);
  EXPECT_EQ(fnXGetBytes(), 0);
  EXPECT_EQ(sendWithAnswers(0, {kAck}), 2);
  EXPECT_TRUE(port().events.empty());
}

TEST_F(PacketTransfer, refusesFilesOverTheStorageAndUnreadableFiles) {
  EXPECT_EQ(parse(pattern(1024000)), 0);
  EXPECT_EQ(fnXGetNumberOfPackets(), 1000);
  EXPECT_EQ(fnXGetBytes(), 1024000);
  EXPECT_EQ(parse(pattern(1024001)), -1);
  EXPECT_EQ(fnXGetNumberOfPackets(), 0);
  EXPECT_EQ(fnXParseFile((dir.path() / "missing.bin").string().c_str()), -1);
  EXPECT_EQ(fnXParseFile(dir.path().string().c_str()), -1); // a folder: read error
  EXPECT_EQ(fnXParseFile(nullptr), -1);
  EXPECT_EQ(sendWithAnswers(0, {kAck}), 2);
  EXPECT_TRUE(port().events.empty());
}

TEST_F(PacketTransfer, nakCausesOneRetransmissionOfTheSameBytes) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  EXPECT_EQ(sendWithAnswers(0, {kNak, kAck}), 0);
  const auto writes = port().writes();
  ASSERT_EQ(writes.size(), 2U);
  EXPECT_EQ(writes[0], writes[1]);
  EXPECT_EQ(port().reads(), 2);
}

TEST_F(PacketTransfer, otherBytesAndSilenceAreCountedUntilTheAck) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  EXPECT_EQ(sendWithAnswers(0, {std::nullopt, 'C', std::nullopt, kAck}), 0);
  EXPECT_EQ(port().writes().size(), 1U);
  EXPECT_EQ(port().reads(), 4);
}

TEST_F(PacketTransfer, everyAckOfASinglePacketFileIsFollowedByEot) {
  ASSERT_EQ(parse(pattern(1)), 0);
  for (int copy = 0; copy < 3; ++copy) {
    EXPECT_EQ(sendWithAnswers(0, {kAck}), 0);
    const auto writes = port().writes();
    ASSERT_EQ(writes.size(), 2U);
    EXPECT_EQ(writes[0].size(), 133U);
    EXPECT_EQ(writes[1], Bytes{kEot});
  }
}

TEST_F(PacketTransfer, silentReceiverCancelsAfter251ReadsWithFourCans) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  EXPECT_EQ(sendWithAnswers(0, {}), 3);
  const auto &events = port().events;
  ASSERT_EQ(events.size(), 1U + 251U + 8U);
  EXPECT_EQ(events[0].kind, PortEvent::Kind::Write);
  for (std::size_t i = 1; i <= 251; ++i) {
    ASSERT_EQ(events[i].kind, PortEvent::Kind::Read) << i;
  }
  for (std::size_t i = 252; i < events.size(); i += 2) {
    EXPECT_EQ(events[i].kind, PortEvent::Kind::Write);
    EXPECT_EQ(events[i].bytes, Bytes{kCan});
    EXPECT_EQ(events[i + 1].kind, PortEvent::Kind::Read);
  }
}

TEST_F(PacketTransfer, attemptLimitCountsTheAckThatArrivesTooLate) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  std::deque<std::optional<std::uint8_t>> late(250, std::nullopt);
  late.push_back(kAck);
  port().answers = late;
  EXPECT_EQ(fnXSendPacket(0), 3);

  port().reset();
  std::deque<std::optional<std::uint8_t>> justInTime(249, std::nullopt);
  justInTime.push_back(kAck);
  port().answers = justInTime;
  EXPECT_EQ(fnXSendPacket(0), 0);
  EXPECT_EQ(port().reads(), 250);
}

TEST_F(PacketTransfer, endlessNaksEndAtTheAttemptLimit) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  port().answers.assign(400, kNak);
  EXPECT_EQ(fnXSendPacket(0), 3);
  const auto writes = port().writes();
  ASSERT_EQ(writes.size(), 1U + 251U + 4U);
  EXPECT_EQ(writes[251].size(), 1029U);
  EXPECT_EQ(writes[252], Bytes{kCan});
}

TEST_F(PacketTransfer, cancelStopsAtTheFirstAckAndReportsIt) {
  port().answers = {std::nullopt, kAck};
  EXPECT_EQ(fnXCancel(), 1);
  EXPECT_EQ(port().writes(), (std::vector<Bytes>{{kCan}, {kCan}}));

  port().reset();
  port().answers = {kNak, std::nullopt, 'x', kAck};
  EXPECT_EQ(fnXCancel(), 0); // an ACK after the fourth CAN is too late
  EXPECT_EQ(port().writes().size(), 4U);

  port().reset();
  EXPECT_EQ(fnXCancel(), 0);
  EXPECT_EQ(port().reads(), 4);
}

TEST_F(PacketTransfer, writeFailureReturns2WithoutCancelling) {
  ASSERT_EQ(parse(pattern(2048)), 0);
  port().failWrites = true;
  port().answers = {kAck};
  EXPECT_EQ(fnXSendPacket(1), 2);
  EXPECT_TRUE(port().events.empty());
  EXPECT_EQ(fnXGetCurrentPacketNumber(), 2);
}

TEST_F(PacketTransfer, byteCounterCanBeSetFromOutside) {
  ASSERT_EQ(parse(pattern(5000)), 0);
  EXPECT_EQ(fnXGetBytes(), 5120);
  EXPECT_EQ(fnXSetBytes(77), 77);
  EXPECT_EQ(fnXGetBytes(), 77);
  fnXResetFilePath();
  EXPECT_EQ(fnXGetNumberOfPackets(), 5);
}

} // namespace
