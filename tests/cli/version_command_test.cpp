#include "cli_rig.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

constexpr const char *kDevice = "/dev/ttyUSB0";
const std::string kVersionFile = "A=23.0\r\nB=3.0\r\nC=31.0\r\nD=41.0\r\nE=51.0\r\nF=6.0\r\n"
                                 "G=7.0\r\nH=8.0\r\n";
const std::string kShippedLines = "6130, 8360M, 8385M (E, U, Tq models): 23\n"
                                  "9460, 9485 (E, U, Tq models): 31\n"
                                  "6130Kv Model: 3\n"
                                  "3130, 3260, 3285 (E, U models): 6\n"
                                  "8330M Series: 7\n"
                                  "RFID Glossary: 8\n";
const std::string kZeroShippedLines = "6130, 8360M, 8385M (E, U, Tq models): 0\n"
                                      "9460, 9485 (E, U, Tq models): 0\n"
                                      "6130Kv Model: 0\n"
                                      "3130, 3260, 3285 (E, U models): 0\n"
                                      "8330M Series: 0\n"
                                      "RFID Glossary: 0\n";
const std::string kNothingShown = "Receiver Model: --\n"
                                  "Receiver Main Software: --\n"
                                  "--\n" +
                                  kShippedLines;
const std::string kErrorCommunicating = "Error Communicating to receiver. Verify serial cable "
                                        "connection between PC and receiver. Verify Receiver is "
                                        "on..\n";

sim::ReceiverSettings receiverWith(std::uint8_t softwareVersion, std::uint8_t modelCode) {
  sim::ReceiverSettings settings;
  settings.softwareVersion = softwareVersion;
  settings.modelCode = modelCode;
  return settings;
}

TEST(VersionCommand, printsTheReceiverBesideTheShippedVersions) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  auto &receiver = rig.serial.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 0);
  EXPECT_EQ(rig.out.str(), "Receiver Model: 8360M-Tq/U\n"
                           "Receiver Main Software: 23\n"
                           "Path Mode Compatible with latest S/W\n" +
                               kShippedLines);
  EXPECT_EQ(rig.err.str(), "");
  EXPECT_EQ(receiver.commandLines(), (std::vector<std::string>{"ruAlive", "locsw"}));
  EXPECT_EQ(rig.serial.sim.openBaudRate(), 38400);
  EXPECT_EQ(rig.serial.boundFolders, std::vector<std::filesystem::path>{rig.work.path()});
}

TEST(VersionCommand, showsAModelThatIsNotPathModeCompatible) {
  CliRig rig;
  rig.serial.sim.addReceiver(kDevice, receiverWith(0x11, 0x06));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 0);
  EXPECT_EQ(rig.out.str(), "Receiver Model: 8360M-U\n"
                           "Receiver Main Software: 17\n"
                           "Path Mode Not Compatible !!!\n" +
                               kZeroShippedLines);
}

TEST(VersionCommand, anUnknownModelKeepsTheDashesAndFails) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  rig.serial.sim.addReceiver(kDevice, receiverWith(0x17, 0x0B));
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 1);
  EXPECT_EQ(rig.out.str(), kNothingShown);
  EXPECT_EQ(rig.err.str(), "The receiver reported a model code this program does not know.\n");
}

TEST(VersionCommand, aReplyWithoutTheValidByteKeepsTheDashesAndFails) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  sim::Faults faults;
  faults.statusHeader = 0x03;
  rig.serial.sim.addReceiver(kDevice, {}, faults);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 1);
  EXPECT_EQ(rig.out.str(), kNothingShown);
  EXPECT_EQ(rig.err.str(), "The receiver sent no valid reply to \"locsw\".\n");
}

TEST(VersionCommand, aSilentReceiverGivesTheCommunicationErrorAndClosesThePort) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  rig.serial.sim.addSilentDevice(kDevice);
  const auto start = rig.serial.virtualClock.nowMs();
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 1);
  EXPECT_EQ(rig.err.str(), kErrorCommunicating);
  EXPECT_EQ(rig.out.str(), kNothingShown);
  EXPECT_FALSE(rig.serial.sim.isOpen());
  // "ruAlive" and its gaps, then the five-second wait for "Y".
  EXPECT_GE(rig.serial.virtualClock.nowMs() - start, 5000);
}

TEST(VersionCommand, withoutPortItAsksForOneAndTouchesNoDevice) {
  CliRig rig;
  rig.serial.sim.addReceiver(kDevice);
  rig.serial.devices = {kDevice};
  EXPECT_EQ(rig.runIn({"version"}), 2);
  EXPECT_EQ(rig.err.str(), "Please select a port and try again !\nName the receiver's serial "
                           "device with --port DEVICE (tarnwick-cli ports lists them).\n");
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

TEST(VersionCommand, aPortThatWillNotOpenEndsWithStatusThree) {
  CliRig rig;
  rig.serial.sim.addFailingDevice(kDevice, EBUSY);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 3);
  EXPECT_EQ(rig.err.str(),
            "Failed to open port! Please connect and try again\n"
            "The port /dev/ttyUSB0 could not be opened: busy — in use by another program.\n");
  EXPECT_EQ(rig.out.str(), "Receiver Model: --\n"
                           "Receiver Main Software: --\n"
                           "--\n" +
                               kZeroShippedLines);
}

TEST(VersionCommand, thePortIsOpenedAtTheBaudRateGiven) {
  CliRig rig;
  rig.serial.sim.addReceiver(kDevice);
  rig.serial.sim.setDeviceBaud(kDevice, 115200);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "--baud", "115200", "version"}), 0);
  EXPECT_EQ(rig.serial.sim.openBaudRate(), 115200);
  // The probe runs at 38400, the open at the chosen rate.
  const auto attempts = rig.serial.sim.openAttempts();
  ASSERT_EQ(attempts.size(), 2U);
  EXPECT_EQ(attempts[0].baud, 38400);
  EXPECT_EQ(attempts[1].baud, 115200);
}

TEST(VersionCommand, aMissingSerialLibraryIsReportedOnceAndNothingRuns) {
  CliRig rig;
  rig.serial.status = BindingStatus{};
  rig.serial.status.tried = {"/w/Quillport.so", "/bin/Quillport.so"};
  rig.serial.sim.addReceiver(kDevice);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 1);
  EXPECT_EQ(rig.err.str(), "The serial library Quillport could not be loaded. Looked for: "
                           "/w/Quillport.so, /bin/Quillport.so. The receiver tools cannot run "
                           "until the serial library is installed correctly.\n");
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

TEST(VersionCommand, jsonGivesTheFieldsAndTheResult) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  rig.serial.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  EXPECT_EQ(rig.runIn({"--json", "--port", kDevice, "version"}), 0);
  EXPECT_EQ(rig.out.str(),
            "{\"result\":\"shown\",\"receiver\":{\"model\":\"8360M-Tq/U\",\"mainSoftware\":23,"
            "\"compatibility\":\"Path Mode Compatible with latest S/W\"},\"shipped\":["
            "{\"slot\":\"A\",\"label\":\"6130, 8360M, 8385M (E, U, Tq models):\",\"version\":23},"
            "{\"slot\":\"C\",\"label\":\"9460, 9485 (E, U, Tq models):\",\"version\":31},"
            "{\"slot\":\"B\",\"label\":\"6130Kv Model:\",\"version\":3},"
            "{\"slot\":\"F\",\"label\":\"3130, 3260, 3285 (E, U models):\",\"version\":6},"
            "{\"slot\":\"G\",\"label\":\"8330M Series:\",\"version\":7},"
            "{\"slot\":\"H\",\"label\":\"RFID Glossary:\",\"version\":8}]}\n");
}

TEST(VersionCommand, jsonGivesNullForTheFieldsTheDialogKeepsAtDashes) {
  CliRig rig;
  rig.serial.sim.addSilentDevice(kDevice);
  EXPECT_EQ(rig.runIn({"--json", "--port", kDevice, "version"}), 1);
  const std::string expected = "{\"result\":\"noAnswer\",\"receiver\":{\"model\":null,"
                               "\"mainSoftware\":null,\"compatibility\":null},\"shipped\":[";
  EXPECT_EQ(rig.out.str().substr(0, expected.size()), expected);
}

std::vector<std::string> traceLines(const std::filesystem::path &file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The bytes of the lines with the given direction, decoded from their hexadecimal column.
std::string tracedBytes(const std::vector<std::string> &lines, const std::string &direction) {
  std::string bytes;
  for (const std::string &line : lines) {
    std::istringstream fields(line);
    std::string ms, dir, hex;
    fields >> ms >> dir >> hex;
    if (dir == direction) {
      bytes.push_back(static_cast<char>(std::stoi(hex, nullptr, 16)));
    }
  }
  return bytes;
}

TEST(VersionCommand, traceRecordsEveryByteBothWaysWithItsTime) {
  CliRig rig;
  rig.serial.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  const auto trace = rig.work.path() / "trace.txt";
  EXPECT_EQ(rig.runIn({"--trace", trace.string(), "--port", kDevice, "version"}), 0);
  const auto lines = traceLines(trace);
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(lines[0], "0 TX 72 'r'");
  EXPECT_EQ(lines[1], "25 TX 75 'u'");
  EXPECT_EQ(tracedBytes(lines, "TX"), "ruAlive\rlocsw\r");
  EXPECT_EQ(tracedBytes(lines, "RX"), std::string("ruAlive\n\rYlocsw\n\r\xD5\x02\x00\x17\x30", 22));
}

TEST(VersionCommand, anUnwritableTraceIsAUsageError) {
  CliRig rig;
  rig.serial.sim.addReceiver(kDevice);
  const auto trace = rig.work.path() / "no-such-folder" / "trace.txt";
  EXPECT_EQ(rig.runIn({"--trace", trace.string(), "--port", kDevice, "version"}), 2);
  EXPECT_EQ(rig.err.str(), "Cannot write the trace file " + trace.string() + ".\n");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

} // namespace
} // namespace tarnwick::cli

namespace tarnwick::cli {
namespace {

// Ctrl-C during the query: the tool ends at its next wait, nothing more is
// sent, and the command says it was interrupted.
TEST(VersionCommand, anInterruptEndsTheQueryWithStatus130) {
  CliRig rig;
  rig.writeVersionFile(kVersionFile);
  auto &receiver = rig.serial.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  int bytes = 0;
  rig.serial.hooked.beforeWrite = [&] {
    if (++bytes == 3) {
      rig.interrupt.cancel();
    }
  };
  EXPECT_EQ(rig.runIn({"--port", kDevice, "version"}), 130);
  EXPECT_EQ(receiver.bytesReceived(), 3U);
  EXPECT_EQ(rig.err.str(), "");
}

} // namespace
} // namespace tarnwick::cli
