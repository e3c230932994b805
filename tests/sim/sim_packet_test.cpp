// The serial library's packet code running over a SimPort: what the library
// writes reaches the simulated device, and what the device sends is what the
// library reads. The console receiver echoes, so a packet whose data begins
// with ACK or NAK gets those bytes back as answers.
#include "crc16.h"
#include "sim_port.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarnwick::sim {
namespace {

constexpr const char *kDevice = "/dev/ttyUSB0";
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr char kEot = 0x04;
constexpr char kCan = 0x18;

std::string expectedSmallPacket(const std::vector<std::uint8_t> &data) {
  std::vector<std::uint8_t> block(data);
  block.resize(128, 0x1A);
  const std::uint16_t crc = quillport::crc16(block.data(), block.size());
  std::string packet{'\x01', '\x01', static_cast<char>(0xFE)};
  packet.append(block.begin(), block.end());
  packet.push_back(static_cast<char>(crc >> 8));
  packet.push_back(static_cast<char>(crc & 0xFF));
  return packet;
}

class SimPacketTest : public ::testing::Test {
protected:
  SimPacketTest() : port(clock) {}

  ~SimPacketTest() override { std::filesystem::remove(path); }

  void writeFile(const std::vector<std::uint8_t> &data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(data.data()),
               static_cast<std::streamsize>(data.size()));
    ASSERT_EQ(port.parseFile(path.string()), 0);
    ASSERT_EQ(port.getNumberOfPackets(), 1);
    ASSERT_EQ(port.getBytes(), 128);
  }

  void open() {
    port.setBaudRate(115200);
    ASSERT_EQ(port.openPort(kDevice), 0);
  }

  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("tarnwick_sim_packet_" + std::to_string(getpid()) + ".bin");
  VirtualClock clock;
  SimPort port;
};

TEST_F(SimPacketTest, acknowledgedPacketIsFollowedByEndOfTransfer) {
  Receiver &receiver = port.addReceiver(kDevice);
  open();
  const std::vector<std::uint8_t> data{kAck, 'x', 'y'};
  writeFile(data);
  EXPECT_EQ(port.sendPacket(0), 0);
  EXPECT_EQ(port.getCurrentPacketNumber(), 1);
  EXPECT_EQ(receiver.receivedText(), expectedSmallPacket(data) + kEot);
  EXPECT_EQ(port.counters().bytesRead, 4); // SOH, number, complement, ACK
  EXPECT_EQ(clock.nowMs(), 0);
  EXPECT_EQ(SimPort::activePacketPort(), nullptr);
}

TEST_F(SimPacketTest, refusedPacketIsSentAgain) {
  Receiver &receiver = port.addReceiver(kDevice);
  open();
  const std::vector<std::uint8_t> data{kNak, kAck};
  writeFile(data);
  EXPECT_EQ(port.sendPacket(0), 0);
  const std::string packet = expectedSmallPacket(data);
  EXPECT_EQ(receiver.receivedText(), packet + packet + kEot);
}

TEST_F(SimPacketTest, silentDeviceEndsInCancelAfterReadTimeouts) {
  Receiver &receiver = port.addSilentDevice(kDevice);
  open();
  const std::vector<std::uint8_t> data{'a', 'b'};
  writeFile(data);
  EXPECT_EQ(port.sendPacket(0), 3);
  EXPECT_EQ(receiver.receivedText(), expectedSmallPacket(data) + std::string(4, kCan));
  const SimCounters counters = port.counters();
  EXPECT_GT(counters.reads, 250);
  EXPECT_EQ(counters.emptyReads, counters.reads);
  EXPECT_EQ(clock.nowMs(), 360LL * counters.reads);
}

TEST_F(SimPacketTest, cancelWritesCancelBytesThroughThePort) {
  Receiver &receiver = port.addSilentDevice(kDevice);
  open();
  EXPECT_EQ(port.cancel(), 0);
  EXPECT_EQ(receiver.receivedText(), std::string(4, kCan));
  EXPECT_EQ(clock.nowMs(), 4 * 360);
}

TEST_F(SimPacketTest, closedPortFailsTheWrite) {
  port.addReceiver(kDevice);
  writeFile({'a'});
  EXPECT_EQ(port.sendPacket(0), 2);
}

TEST_F(SimPacketTest, missingFileIsRefused) {
  EXPECT_EQ(port.parseFile((path.string() + ".missing")), -1);
  EXPECT_EQ(port.getNumberOfPackets(), 0);
}

} // namespace
} // namespace tarnwick::sim
