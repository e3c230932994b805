#include "port_settings.h"
#include "sim_rig.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tarnwick {
namespace {

using Kind = ScriptedUser::Kind;
using testing::SimRig;

const std::vector<std::string> kAllRates = {"9600",   "19200",  "38400",  "57600",
                                            "115200", "230400", "460800", "921600"};

TEST(CommunicationOptions, listsExactlyThePortsThatOpenAt38400) {
  SimRig rig({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyUSB1"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.sim.addReceiver("/dev/ttyUSB1");
  rig.sim.addFailingDevice("/dev/ttyS1", EBUSY); // held by another program
  CommunicationOptions dialog(rig.context);
  dialog.open();
  EXPECT_EQ(dialog.ports(), (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
  EXPECT_EQ(dialog.selectedPort(), "/dev/ttyUSB0");
  EXPECT_EQ(dialog.rates(), kAllRates);
  EXPECT_EQ(dialog.selectedRate(), "38400");
  EXPECT_EQ(rig.port.calls(), (std::vector<std::string>{
                                  "setBaudRate 38400",
                                  "closePort",
                                  "openPort /dev/ttyS0 -> " + std::to_string(ENOENT),
                                  "closePort",
                                  "openPort /dev/ttyUSB0 -> 0",
                                  "closePort",
                                  "openPort /dev/ttyS1 -> " + std::to_string(EBUSY),
                                  "closePort",
                                  "openPort /dev/ttyUSB1 -> 0",
                                  "closePort",
                              }));
  EXPECT_FALSE(rig.sim.isOpen());
}

TEST(CommunicationOptions, probingKeepsEveryRefusalWithItsError) {
  SimRig rig;
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.sim.addFailingDevice("/dev/ttyS1", EBUSY);
  rig.sim.addFailingDevice("/dev/ttyS2", EACCES);
  const auto probe =
      probePorts(rig.port, {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS2"});
  EXPECT_EQ(probe.ports, std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_EQ(probe.refused,
            (std::vector<RefusedPort>{
                {"/dev/ttyS0", ENOENT}, {"/dev/ttyS1", EBUSY}, {"/dev/ttyS2", EACCES}}));
  EXPECT_EQ(probe.permissionDenied, std::vector<std::string>{"/dev/ttyS2"});
}

TEST(CommunicationOptions, showsTheListedPortsWithTheFirstSelectedAnd38400) {
  SimRig rig({"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyUSB1"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.sim.addReceiver("/dev/ttyUSB1");
  rig.user.queuePortChoice(PortChoice{}); // OK with the dialog's selection
  ASSERT_TRUE(ensurePortOpen(rig.context));
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 1U);
  EXPECT_EQ(events[0].kind, Kind::ChoosePort);
  EXPECT_EQ(events[0].ports, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
  EXPECT_EQ(events[0].rates, kAllRates);
  EXPECT_EQ(events[0].selectedRate, "38400");
  EXPECT_EQ(rig.sim.openDevice(), "/dev/ttyUSB0");
  EXPECT_EQ(rig.sim.openBaudRate(), 38400);
}

TEST(CommunicationOptions, choosingAPortAnd115200OpensItAt115200) {
  SimRig rig({"/dev/ttyUSB0", "/dev/ttyUSB1"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.sim.addReceiver("/dev/ttyUSB1");
  rig.user.queuePortChoice(PortChoice{"/dev/ttyUSB1", "115200"});
  ASSERT_TRUE(ensurePortOpen(rig.context));
  EXPECT_TRUE(rig.context.portState.isOpen());
  EXPECT_EQ(rig.context.portState.port(), "/dev/ttyUSB1");
  EXPECT_EQ(rig.context.portState.baud(), 115200);
  EXPECT_EQ(rig.sim.openDevice(), "/dev/ttyUSB1");
  EXPECT_EQ(rig.sim.openBaudRate(), 115200);
  const auto calls = rig.port.calls();
  ASSERT_GE(calls.size(), 2U);
  EXPECT_EQ(calls[calls.size() - 2], "setBaudRate 115200");
  EXPECT_EQ(calls.back(), "openPort /dev/ttyUSB1 -> 0");
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(CommunicationOptions, cancelShowsSelectPortAndDoesNothingElse) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.user.queuePortChoice(std::nullopt);
  EXPECT_FALSE(ensurePortOpen(rig.context));
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Please select a port and try again !"}));
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_EQ(rig.port.calls().back(), "closePort"); // the probe's last step; nothing after it
  EXPECT_EQ(rig.sim.counters().bytesWritten, 0);
}

TEST(CommunicationOptions, cancelInTheSecondFormIsSilent) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.user.queuePortChoice(std::nullopt);
  EXPECT_FALSE(ensurePortOpen(rig.context, EnsureOpenForm::Second));
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(CommunicationOptions, aPortThatWillNotOpenIsClosedAndReported) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.user.queuePortChoice(PortChoice{"/dev/ttyUSB7", "38400"});
  EXPECT_FALSE(ensurePortOpen(rig.context));
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Port could not be open. Please try again !\n"
                                      "The port /dev/ttyUSB7 could not be opened: no such "
                                      "device."}));
  EXPECT_EQ(rig.port.calls().back(), "closePort");
  EXPECT_FALSE(rig.context.portState.isOpen());
}

TEST(CommunicationOptions, secondFormReportsFailedToOpenPort) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.user.queuePortChoice(PortChoice{}); // empty list: OK opens nothing
  EXPECT_FALSE(ensurePortOpen(rig.context, EnsureOpenForm::Second));
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Failed to open port! Please connect and try again"}));
}

TEST(CommunicationOptions, anUnsupportedRateLeavesThePortClosed) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  CommunicationOptions dialog(rig.context);
  dialog.open();
  EXPECT_FALSE(dialog.accept(PortChoice{"/dev/ttyUSB0", "12345"}));
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_FALSE(rig.context.portState.isOpen());
}

TEST(CommunicationOptions, anOpenPortSkipsTheDialog) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.openReceiver("/dev/ttyUSB0");
  rig.port.clearCalls();
  EXPECT_TRUE(ensurePortOpen(rig.context));
  EXPECT_TRUE(rig.user.events().empty());
  EXPECT_TRUE(rig.port.calls().empty());
}

TEST(CommunicationOptions, probingClosesAnOpenPortAndClearsTheFlag) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.openReceiver("/dev/ttyUSB0");
  CommunicationOptions dialog(rig.context);
  dialog.open();
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_FALSE(rig.context.portState.isOpen());
}

TEST(CommunicationOptions, permissionRefusalExplainsTheDialoutGroup) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addFailingDevice("/dev/ttyUSB0", EACCES);
  rig.user.queuePortChoice(std::nullopt);
  EXPECT_FALSE(ensurePortOpen(rig.context));
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 3U);
  EXPECT_EQ(events[0].kind, Kind::Message);
  EXPECT_EQ(events[0].text,
            "Access to the serial port was refused: /dev/ttyUSB0. Your user is not in the "
            "dialout group. Add it with \"sudo usermod -aG dialout $USER\", then log out and "
            "log in again.");
  EXPECT_EQ(events[1].kind, Kind::ChoosePort);
  EXPECT_TRUE(events[1].ports.empty());
  EXPECT_EQ(events[2].text, "Please select a port and try again !");
}

TEST(CommunicationOptions, permissionRefusalOnOkIsExplainedBeforeTheFailure) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.sim.addFailingDevice("/dev/ttyUSB9", EACCES);
  rig.user.queuePortChoice(PortChoice{"/dev/ttyUSB9", "38400"});
  EXPECT_FALSE(ensurePortOpen(rig.context));
  const auto messages = rig.user.messages();
  ASSERT_EQ(messages.size(), 2U);
  EXPECT_NE(messages[0].find("sudo usermod -aG dialout $USER"), std::string::npos);
  EXPECT_NE(messages[0].find("/dev/ttyUSB9"), std::string::npos);
  EXPECT_EQ(messages[1], "Port could not be open. Please try again !");
}

TEST(CommunicationOptions, otherRefusalsAreNotBlamedOnPermissions) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addFailingDevice("/dev/ttyUSB0", EBUSY);
  rig.user.queuePortChoice(std::nullopt);
  EXPECT_FALSE(ensurePortOpen(rig.context));
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Please select a port and try again !"}));
}

TEST(CommunicationOptions, anUnusableSerialLibraryStopsBeforeTheDialog) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  rig.context.serialLibrary = {false, "Quillport is missing."};
  EXPECT_FALSE(ensurePortOpen(rig.context));
  EXPECT_FALSE(ensurePortOpen(rig.context, EnsureOpenForm::Second));
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Quillport is missing.", "Quillport is missing."}));
  EXPECT_TRUE(rig.port.calls().empty());
}

TEST(CommunicationOptions, failureCloseClearsTheFlagAndClosesThePort) {
  SimRig rig({"/dev/ttyUSB0"});
  rig.openReceiver("/dev/ttyUSB0");
  failWithMessage(rig.context, sid::kErrorCommunicating);
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{"Error Communicating to receiver. Verify serial cable "
                                      "connection between PC and receiver. Verify Receiver is "
                                      "on.."}));
}

TEST(PortSettings, rateTextsConvertToTheirDecimalValue) {
  EXPECT_EQ(baudValue("921600"), 921600);
  EXPECT_EQ(baudValue("9600"), 9600);
  EXPECT_EQ(baudValue(""), 0);
  EXPECT_EQ(baudValue("38400 bps"), 0);
  EXPECT_EQ(deviceNameFor("/dev/ttyUSB0"), "/dev/ttyUSB0");
}

} // namespace
} // namespace tarnwick

namespace tarnwick {
namespace {

TEST(PortSettings, aFailedBindingIsReportedOnceAndStopsEveryTool) {
  testing::SimRig rig({"/dev/ttyUSB0"});
  rig.sim.addReceiver("/dev/ttyUSB0");
  BindingStatus status;
  status.tried = {"/work/Quillport.so"};
  EXPECT_FALSE(reportBinding(rig.context, status));
  const std::string expected = "The serial library Quillport could not be loaded. Looked for: "
                               "/work/Quillport.so. The receiver tools cannot run until the "
                               "serial library is installed correctly.";
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{expected});
  EXPECT_FALSE(ensurePortOpen(rig.context));
  EXPECT_EQ(rig.user.messages(), (std::vector<std::string>{expected, expected}));
  EXPECT_TRUE(rig.port.calls().empty());
}

TEST(PortSettings, aGoodBindingSaysNothing) {
  testing::SimRig rig;
  BindingStatus status;
  status.bound = true;
  EXPECT_TRUE(reportBinding(rig.context, status));
  EXPECT_TRUE(rig.context.serialLibrary.ready);
  EXPECT_TRUE(rig.user.events().empty());
}

} // namespace
} // namespace tarnwick
