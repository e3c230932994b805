#include "cli_rig.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

const std::string kPermission =
    "permission denied — Your user is not in the dialout group. Add it with \"sudo usermod -aG "
    "dialout $USER\", then log out and log in again.";

const std::string kPseudoTerminals = "Pseudo-terminals (such as a simulated receiver) are listed "
                                     "only when named with --port DEVICE or in TARNWICK_PORTS.\n";

TEST(PortsCommand, listsThePortsThatOpenAndWhyTheOthersDoNot) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyACM0"};
  rig.serial.sim.addFailingDevice("/dev/ttyS0", EACCES);
  rig.serial.sim.addReceiver("/dev/ttyUSB0");
  rig.serial.sim.addFailingDevice("/dev/ttyS1", EBUSY);
  rig.serial.sim.addFailingDevice("/dev/ttyS2", EIO);
  rig.serial.sim.addSilentDevice("/dev/ttyACM0");
  EXPECT_EQ(rig.runIn({"ports"}), 0);
  EXPECT_EQ(rig.out.str(), "/dev/ttyUSB0\n/dev/ttyACM0\n");
  EXPECT_EQ(rig.err.str(), "/dev/ttyS0: " + kPermission + "\n" +
                               "/dev/ttyS1: busy — in use by another program\n"
                               "/dev/ttyS2: input/output error — no device answers behind it\n" +
                               kPseudoTerminals);
  // Every device was probed at 38400 and none is left open.
  for (const auto &attempt : rig.serial.sim.openAttempts()) {
    EXPECT_EQ(attempt.baud, 38400);
  }
  EXPECT_FALSE(rig.serial.sim.isOpen());
}

TEST(PortsCommand, namedDevicesComeFirst) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyUSB0"};
  rig.environmentPorts = {"/dev/pts/7"};
  rig.serial.sim.addReceiver("/dev/ttyUSB0");
  rig.serial.sim.addReceiver("/dev/pts/7");
  rig.serial.sim.addReceiver("/dev/pts/9");
  EXPECT_EQ(rig.runIn({"--port", "/dev/pts/9", "ports"}), 0);
  EXPECT_EQ(rig.out.str(), "/dev/pts/9\n/dev/pts/7\n/dev/ttyUSB0\n");
}

TEST(PortsCommand, aNamedDeviceThatDoesNotExistSaysSo) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"--port", "/dev/ttyUSB9", "ports"}), 3);
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_EQ(rig.err.str(), "/dev/ttyUSB9: no such device\n");
}

TEST(PortsCommand, noPortThatOpensEndsWithStatusThree) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyS1"};
  rig.serial.sim.addFailingDevice("/dev/ttyS1", EBUSY);
  EXPECT_EQ(rig.runIn({"ports"}), 3);
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_EQ(rig.err.str(), "/dev/ttyS1: busy — in use by another program\n" + kPseudoTerminals);
}

TEST(PortsCommand, otherErrorsAreNamedByTheSystem) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyS1"};
  rig.serial.sim.addFailingDevice("/dev/ttyS1", EINVAL);
  EXPECT_EQ(rig.runIn({"ports"}), 3);
  EXPECT_EQ(rig.err.str(), "/dev/ttyS1: invalid argument\n" + kPseudoTerminals);
}

TEST(PortsCommand, jsonListsPortsAndRefusals) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyUSB0", "/dev/ttyS1"};
  rig.serial.sim.addReceiver("/dev/ttyUSB0");
  rig.serial.sim.addFailingDevice("/dev/ttyS1", EBUSY);
  EXPECT_EQ(rig.runIn({"--json", "ports"}), 0);
  EXPECT_EQ(rig.out.str(), "{\"ports\":[\"/dev/ttyUSB0\"],\"refused\":[{\"device\":\"/dev/ttyS1\","
                           "\"error\":" +
                               std::to_string(EBUSY) +
                               ",\"reason\":\"busy — in use by another program\"}]}\n");
  EXPECT_EQ(rig.err.str(), "");
}

TEST(PortsCommand, jsonReplacesBytesThatAreNotUtf8) {
  CliRig rig;
  rig.serial.devices = {"/dev/ttyUSB\xB5"};
  rig.serial.sim.addReceiver("/dev/ttyUSB\xB5");
  EXPECT_EQ(rig.runIn({"--json", "ports"}), 0);
  EXPECT_EQ(rig.out.str(), "{\"ports\":[\"/dev/ttyUSB\xEF\xBF\xBD\"],\"refused\":[]}\n");
}

TEST(PortsCommand, aMissingSerialLibraryIsReportedAndNothingIsProbed) {
  CliRig rig;
  rig.serial.status = BindingStatus{};
  rig.serial.status.libraryPath = "/w/Quillport.so";
  rig.serial.status.missingExports = {"fnXCancel"};
  rig.serial.devices = {"/dev/ttyUSB0"};
  rig.serial.sim.addReceiver("/dev/ttyUSB0");
  EXPECT_EQ(rig.runIn({"ports"}), 1);
  EXPECT_EQ(rig.err.str(), "The serial library Quillport lacks the entry points: fnXCancel "
                           "(/w/Quillport.so). The receiver tools cannot run until the serial "
                           "library is installed correctly.\n");
  EXPECT_TRUE(rig.serial.sim.openAttempts().empty());
}

} // namespace
} // namespace tarnwick::cli
