// The library's port exports over a real pseudo-terminal: the test holds the
// master and plays the receiver.
#include "packet_reference.h"
#include "pty.h"
#include "quillport_library.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/file.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using quillport::peer::PtyPair;
using quillport::peer::QuillportLibrary;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

using quillport::testing::reference::kAck;
using quillport::testing::reference::kCan;
using quillport::testing::reference::kEot;
using quillport::testing::reference::kNak;

QuillportLibrary &library() {
  static QuillportLibrary lib = [] {
    QuillportLibrary loaded;
    const std::string error = loaded.load(QUILLPORT_PATH);
    if (!error.empty()) {
      throw std::runtime_error(error);
    }
    return loaded;
  }();
  return lib;
}

long elapsedMs(Clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

class PortOverPty : public ::testing::Test {
protected:
  void SetUp() override {
    lib.setBaudRate(38400);
    ASSERT_EQ(lib.openPort(pty.slavePath().c_str()), 0);
  }
  void TearDown() override { lib.closePort(); }

  // Reads the slave's settings without disturbing them.
  termios currentSettings() const {
    termios tio{};
    tcgetattr(pty.master(), &tio);
    return tio;
  }

  QuillportLibrary &lib = library();
  PtyPair pty;
};

TEST(PortLifecycle, closeWithoutAnOpenPortReturns0) {
  QuillportLibrary &lib = library();
  EXPECT_EQ(lib.closePort(), 0);
  PtyPair pty;
  lib.setBaudRate(38400);
  ASSERT_EQ(lib.openPort(pty.slavePath().c_str()), 0);
  EXPECT_EQ(lib.closePort(), 1);
  EXPECT_EQ(lib.closePort(), 0);
}

TEST(PortLifecycle, missingDeviceGivesItsErrorAndLeavesNoPortOpen) {
  QuillportLibrary &lib = library();
  lib.setBaudRate(38400);
  EXPECT_EQ(lib.openPort("/dev/tarnwick-no-such-port"), ENOENT);
  EXPECT_EQ(lib.closePort(), 0);
  EXPECT_EQ(lib.writeByte('x'), 0);
  int count = -1;
  const auto started = Clock::now();
  EXPECT_EQ(lib.readChar(&count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_LT(elapsedMs(started), 100); // no port: nothing to wait for
  EXPECT_EQ(lib.flushReadBuffer(), 0);
  EXPECT_EQ(lib.setReadTimeout(100), 0);
}

TEST(PortLifecycle, refusedRateFailsTheOpenButLeavesThePortForTheCallerToClose) {
  QuillportLibrary &lib = library();
  PtyPair pty;
  lib.setBaudRate(12345);
  EXPECT_EQ(lib.openPort(pty.slavePath().c_str()), EINVAL);
  EXPECT_EQ(lib.closePort(), 1);
  EXPECT_EQ(lib.closePort(), 0);
}

TEST(PortLifecycle, notATerminalFailsAtTheLineSettings) {
  QuillportLibrary &lib = library();
  lib.setBaudRate(38400);
  EXPECT_EQ(lib.openPort("/dev/null"), ENOTTY);
  EXPECT_EQ(lib.closePort(), 1);
}

TEST(PortLifecycle, setBaudRateReturnsItsArgumentInBothForms) {
  QuillportLibrary &lib = library();
  EXPECT_EQ(lib.setBaudRate(115200), 115200);
  EXPECT_EQ(lib.setBaudRateL(9600), 9600);
  EXPECT_EQ(*lib.nQuillport, 0);
}

TEST_F(PortOverPty, opensRaw8N1WithoutFlowControlAtTheStoredRate) {
  const termios tio = currentSettings();
  EXPECT_EQ(cfgetospeed(&tio), B38400);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0U);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0U);
  EXPECT_EQ(tio.c_oflag & OPOST, 0U);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0U);
}

TEST_F(PortOverPty, everyRateOfTheListIsAccepted) {
  const std::pair<int, speed_t> rates[] = {{9600, B9600},     {19200, B19200},   {38400, B38400},
                                           {57600, B57600},   {115200, B115200}, {230400, B230400},
                                           {460800, B460800}, {921600, B921600}};
  for (const auto &[baud, speed] : rates) {
    lib.closePort();
    lib.setBaudRate(baud);
    ASSERT_EQ(lib.openPort(pty.slavePath().c_str()), 0) << baud;
    const termios tio = currentSettings();
    EXPECT_EQ(cfgetospeed(&tio), speed) << baud;
  }
}

TEST_F(PortOverPty, baudRateChangeWaitsForTheNextOpen) {
  lib.setBaudRate(115200);
  termios tio = currentSettings();
  EXPECT_EQ(cfgetospeed(&tio), B38400);
  lib.closePort();
  ASSERT_EQ(lib.openPort(pty.slavePath().c_str()), 0);
  tio = currentSettings();
  EXPECT_EQ(cfgetospeed(&tio), B115200);
}

TEST_F(PortOverPty, portIsHeldExclusively) {
  const int other = pty.openSlaveRaw();
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), -1);
  EXPECT_EQ(errno, EWOULDBLOCK);
  close(other);
}

TEST_F(PortOverPty, writeByteSendsTheLow8Bits) {
  EXPECT_EQ(lib.writeByte(0x1A5), 1);
  EXPECT_EQ(pty.readBytes(2, 200), Bytes{0xA5});
}

TEST_F(PortOverPty, writeToPortSendsTheBlockUnchanged) {
  const Bytes block = {'P', ' ', '1', '0', '0', '0', '0', '\r', '\n', 0x00, 0xFF, 0x11, 0x13};
  EXPECT_EQ(lib.writeToPort(block.data(), static_cast<int>(block.size())), 1);
  EXPECT_EQ(pty.readBytes(block.size() + 1, 200), block);
}

TEST_F(PortOverPty, silentReadWaitsTheReadConstantAndReturnsNothing) {
  int count = -1;
  const auto started = Clock::now();
  EXPECT_EQ(lib.readChar(&count), 0);
  const long waited = elapsedMs(started);
  EXPECT_EQ(count, 0);
  EXPECT_GE(waited, 350);
  EXPECT_LT(waited, 1500);
}

TEST_F(PortOverPty, waitingByteIsReturnedAtOnceAndUnchanged) {
  ASSERT_TRUE(pty.writeAll(Bytes{0xD5, 0x0A, 0x0D}));
  usleep(20000);
  const auto started = Clock::now();
  int count = 0;
  EXPECT_EQ(static_cast<std::uint8_t>(lib.readChar(&count)), 0xD5);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(lib.readChar(&count), '\n'); // no CR/LF translation on input
  EXPECT_EQ(lib.readChar(&count), '\r');
  EXPECT_LT(elapsedMs(started), 100);
}

TEST_F(PortOverPty, byteArrivingDuringTheWaitEndsItEarly) {
  std::thread receiver([this] {
    usleep(100000);
    pty.writeAll(Bytes{'Y'});
  });
  int count = 0;
  const auto started = Clock::now();
  EXPECT_EQ(lib.readChar(&count), 'Y');
  EXPECT_LT(elapsedMs(started), 340);
  receiver.join();
}

TEST_F(PortOverPty, readTimeoutCanBeChangedUntilTheNextOpen) {
  ASSERT_EQ(lib.setReadTimeout(1000), 1);
  int count = -1;
  auto started = Clock::now();
  lib.readChar(&count);
  EXPECT_GE(elapsedMs(started), 990);
  lib.closePort();
  ASSERT_EQ(lib.openPort(pty.slavePath().c_str()), 0);
  started = Clock::now();
  lib.readChar(&count);
  const long waited = elapsedMs(started);
  EXPECT_GE(waited, 350);
  EXPECT_LT(waited, 900);
}

TEST_F(PortOverPty, flushReadBufferDropsWhatHasArrived) {
  ASSERT_TRUE(pty.writeAll(Bytes{'s', 't', 'a', 'l', 'e'}));
  usleep(20000);
  EXPECT_EQ(lib.flushReadBuffer(), 1);
  EXPECT_EQ(lib.flushWriteBuffer(), 1);
  ASSERT_EQ(lib.setReadTimeout(50), 1);
  int count = -1;
  lib.readChar(&count);
  EXPECT_EQ(count, 0);
}

TEST_F(PortOverPty, lineThatGoesAwayReadsAsNothing) {
  pty.closeMaster();
  int count = -1;
  const auto started = Clock::now();
  EXPECT_EQ(lib.readChar(&count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_GE(elapsedMs(started), 300); // costs the read constant, no busy loop
  EXPECT_EQ(lib.writeByte('x'), 0);
}

// Packet transfer through the exports, the test acting as the receiver.
class PacketsOverPty : public PortOverPty {
protected:
  void parse(std::size_t size) {
    Bytes content(size);
    for (std::size_t i = 0; i < size; ++i) {
      content[i] = static_cast<std::uint8_t>(i * 13 + 1);
    }
    file = dir.write("image.bin", content);
    ASSERT_EQ(lib.parseFile(file.string().c_str()), 0);
  }
  tarnwick::testing::TempDir dir;
  std::filesystem::path file;
};

// Sends every packet of a file to a receiver that acknowledges each one, and
// returns what crossed the line.
Bytes sendAllAcknowledged(QuillportLibrary &lib, const PtyPair &pty, const Bytes &file) {
  Bytes line;
  for (int index = 0; index < lib.getNumberOfPackets(); ++index) {
    const bool last = index == lib.getNumberOfPackets() - 1;
    const std::size_t size =
        last && file.size() % 1024 != 0 && file.size() % 1024 <= 128 ? 133 : 1029;
    std::thread receiver([&] {
      const Bytes packet = pty.readBytes(size, 2000);
      line.insert(line.end(), packet.begin(), packet.end());
      pty.writeAll(Bytes{kAck});
    });
    EXPECT_EQ(lib.sendPacket(index), 0) << "packet " << index;
    receiver.join();
  }
  const Bytes rest = pty.readUntilQuiet(100);
  line.insert(line.end(), rest.begin(), rest.end());
  return line;
}

Bytes expectedLine(const Bytes &file) {
  Bytes line;
  for (std::size_t offset = 0, block = 1; offset < file.size(); offset += 1024, ++block) {
    const Bytes packet = quillport::testing::reference::expectedPacket(
        static_cast<std::uint8_t>(block % 256), file, offset,
        std::min<std::size_t>(1024, file.size() - offset));
    line.insert(line.end(), packet.begin(), packet.end());
  }
  line.push_back(kEot);
  return line;
}

TEST_F(PacketsOverPty, exactPacketsCrossTheLineForEachShapeOfFile) {
  for (const std::size_t size :
       {std::size_t{1024}, std::size_t{1025}, std::size_t{1300}, std::size_t{300 * 1024}}) {
    SCOPED_TRACE(size);
    const Bytes content = quillport::testing::reference::pattern(size);
    const auto path = dir.write("shape.bin", content);
    ASSERT_EQ(lib.parseFile(path.string().c_str()), 0);
    EXPECT_EQ(sendAllAcknowledged(lib, pty, content), expectedLine(content));
  }
}

TEST_F(PacketsOverPty, nakThenAckRetransmitsTheSamePacket) {
  parse(2048);
  std::thread receiver([this] {
    const Bytes first = pty.readBytes(1029, 2000);
    pty.writeAll(Bytes{kNak});
    const Bytes again = pty.readBytes(1029, 2000);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first.at(0), 0x02);
    EXPECT_EQ(first.at(1), 1);
    EXPECT_EQ(first.at(2), 254);
    pty.writeAll(Bytes{kAck});
  });
  EXPECT_EQ(lib.sendPacket(0), 0);
  receiver.join();
  EXPECT_TRUE(pty.readUntilQuiet(100).empty()); // no EOT: not the last packet
}

TEST_F(PacketsOverPty, lastPacketAckIsFollowedByExactlyOneEot) {
  parse(1025);
  std::thread receiver([this] {
    EXPECT_EQ(pty.readBytes(1029, 2000).size(), 1029U);
    pty.writeAll(Bytes{kAck});
    const Bytes last = pty.readBytes(133, 2000);
    EXPECT_EQ(last.size(), 133U);
    EXPECT_EQ(last.at(0), 0x01);
    EXPECT_EQ(last.at(1), 2);
    pty.writeAll(Bytes{kAck});
  });
  EXPECT_EQ(lib.sendPacket(0), 0);
  EXPECT_EQ(lib.sendPacket(1), 0);
  receiver.join();
  EXPECT_EQ(pty.readUntilQuiet(200), Bytes{kEot});
  EXPECT_EQ(lib.getCurrentPacketNumber(), 2);
}

TEST_F(PacketsOverPty, silentReceiverIsCancelledWithFourCans) {
  parse(100);
  constexpr int kReadMs = 10; // shortened so that 255 reads take seconds, not minutes
  ASSERT_EQ(lib.setReadTimeout(kReadMs), 1);
  const auto started = Clock::now();
  EXPECT_EQ(lib.sendPacket(0), 3);
  EXPECT_GE(elapsedMs(started), 255 * kReadMs);
  const Bytes received = pty.readUntilQuiet(200);
  ASSERT_EQ(received.size(), 137U);
  EXPECT_EQ(Bytes(received.begin() + 133, received.end()), Bytes(4, kCan));
}

TEST_F(PacketsOverPty, cancelAcknowledgedAfterTheSecondCan) {
  std::thread receiver([this] {
    EXPECT_EQ(pty.readByte(1000), kCan);
    EXPECT_EQ(pty.readByte(1000), kCan);
    pty.writeAll(Bytes{kAck});
  });
  EXPECT_EQ(lib.cancel(), 1);
  receiver.join();
  EXPECT_TRUE(pty.readUntilQuiet(100).empty());
}

} // namespace
