// tarnwick-cli version against tarnwick-sim on a pseudo-terminal, in real
// time, through the Quillport library found beside the programs.
#include "cli_processes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tarnwick::testing;

const std::vector<std::string> kShippedLines = {"6130, 8360M, 8385M (E, U, Tq models): 23",
                                                "9460, 9485 (E, U, Tq models): 31",
                                                "6130Kv Model: 3",
                                                "3130, 3260, 3285 (E, U models): 6",
                                                "8330M Series: 7",
                                                "RFID Glossary: 8"};

std::vector<std::string> expectedLines(std::vector<std::string> receiver) {
  receiver.insert(receiver.end(), kShippedLines.begin(), kShippedLines.end());
  return receiver;
}

class CliVersion : public ::testing::Test {
protected:
  CliVersion() {
    work.write("Cfg/BrimstelLocatorVersion.cfg",
               "A=23.0\r\nB=3.0\r\nC=31.0\r\nD=41.0\r\nE=51.0\r\nF=6.0\r\nG=7.0\r\nH=8.0\r\n");
  }
  TempDir work;
  TempDir scratch;
};

TEST_F(CliVersion, identifiesTheSimulatedReceiver) {
  Simulator sim({"--model", "48", "--software", "23"});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const auto trace = scratch.path() / "trace.txt";
  const CliRun run = runCli(
      {"--workdir", work.path().string(), "--port", device, "--trace", trace.string(), "version"},
      scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, expectedLines({"Receiver Model: 8360M-Tq/U", "Receiver Main Software: 23",
                                    "Path Mode Compatible with latest S/W"}));
  EXPECT_EQ(run.err, "");
  const auto traced = linesOf(fileText(trace));
  ASSERT_FALSE(traced.empty());
  EXPECT_NE(traced.front().find(" TX 72 'r'"), std::string::npos) << traced.front();
}

TEST_F(CliVersion, aSilentReceiverGivesTheCommunicationError) {
  Simulator sim({"--silent-from", "0"});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const CliRun run =
      runCli({"--workdir", work.path().string(), "--port", device, "version"}, scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Error Communicating to receiver. Verify serial cable connection between PC "
                     "and receiver. Verify Receiver is on..\n");
  EXPECT_EQ(run.out, expectedLines({"Receiver Model: --", "Receiver Main Software: --", "--"}));
}

TEST_F(CliVersion, withoutPortItAsksForOne) {
  const CliRun run = runCli({"--workdir", work.path().string(), "version"}, scratch);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Please select a port and try again !\nName the receiver's serial device with "
                     "--port DEVICE (tarnwick-cli ports lists them).\n");
  EXPECT_TRUE(run.out.empty());
}

TEST_F(CliVersion, aDeviceThatIsNotThereCannotBeOpened) {
  const auto missing = scratch.path() / "ttyUSB-none";
  const CliRun run =
      runCli({"--workdir", work.path().string(), "--port", missing.string(), "version"}, scratch);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, "Failed to open port! Please connect and try again\nThe port " +
                         missing.string() + " could not be opened: no such device.\n");
}

} // namespace
