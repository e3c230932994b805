#include "gui_helpers.h"
#include "qt_user_port.h"
#include "receiver_version_dialog.h"
#include "sim_rig.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tarnwick::ui {
namespace {

using Result = ReceiverVersionTool::QueryResult;
using testing::control;
using testing::GuiSimRig;
using testing::ModalResponder;
using testing::waitFor;

constexpr const char *kDevice = "/dev/ttyUSB0";

QString field(const QWidget &dialog, int id) {
  auto *label = control<QLabel>(dialog, id);
  return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

bool finishes(ReceiverVersionDialog &dialog) {
  return waitFor([&] { return !dialog.queryRunning(); });
}

sim::ReceiverSettings receiverWith(std::uint8_t softwareVersion, std::uint8_t modelCode) {
  sim::ReceiverSettings settings;
  settings.softwareVersion = softwareVersion;
  settings.modelCode = modelCode;
  return settings;
}

TEST(ReceiverVersionDialog, showsTheShippedValuesInTheirFields) {
  GuiSimRig rig;
  const int values[] = {12, 2, 3, 4, 5, 6, 7, 8}; // slots A … H
  for (int slot = 0; slot < kVersionSlotCount; ++slot) {
    rig.context.shippedVersions.setVersion(static_cast<VersionSlot>(slot), values[slot]);
  }
  ReceiverVersionDialog dialog(rig.context);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Receiver Software Version"));
  EXPECT_EQ(dialog.objectName(), QStringLiteral("332"));
  EXPECT_EQ(field(dialog, 1257), QStringLiteral("12"));
  EXPECT_EQ(field(dialog, 1258), QStringLiteral("3"));
  EXPECT_EQ(field(dialog, 1259), QStringLiteral("2"));
  EXPECT_EQ(field(dialog, 1260), QStringLiteral("6"));
  EXPECT_EQ(field(dialog, 1261), QStringLiteral("7"));
  EXPECT_EQ(field(dialog, 1262), QStringLiteral("8"));
  EXPECT_EQ(field(dialog, 1253), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1263), QStringLiteral("--"));
  EXPECT_EQ(control<QPushButton>(dialog, 1254)->text(), QStringLiteral("Check Receiver Version"));
  EXPECT_TRUE(control<QPushButton>(dialog, 1254)->font().bold());
  EXPECT_TRUE(control<QLabel>(dialog, 1253)->font().bold());
}

TEST(ReceiverVersionDialog, opensAndShowsAGoodReply) {
  GuiSimRig rig;
  rig.openReceiver(kDevice, receiverWith(0x17, 0x30));
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(dialog.queryRunning() || dialog.lastResult() == Result::Shown);
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::Shown);
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("8360M-Tq/U"));
  EXPECT_EQ(field(dialog, 1253), QStringLiteral("23"));
  EXPECT_EQ(field(dialog, 1263), QStringLiteral("Path Mode Compatible with latest S/W"));
  EXPECT_TRUE(control<QPushButton>(dialog, 1254)->isEnabled());
}

// Another dialog's tool holds the port: the query is refused, not interleaved.
TEST(ReceiverVersionDialog, aQueryWhileAnotherToolHoldsThePortIsRefused) {
  GuiSimRig rig;
  sim::Receiver &receiver = rig.openReceiver(kDevice, receiverWith(0x17, 0x30));
  ASSERT_TRUE(rig.context.portLease.tryAcquire());
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  EXPECT_FALSE(dialog.queryRunning());
  EXPECT_TRUE(control<QPushButton>(dialog, 1254)->isEnabled());
  EXPECT_EQ(receiver.bytesReceived(), 0U);
  rig.context.portLease.release();
  dialog.checkVersion();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::Shown);
}

TEST(ReceiverVersionDialog, notCompatibleModel) {
  GuiSimRig rig;
  rig.openReceiver(kDevice, receiverWith(0x11, 0x06));
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("8360M-U"));
  EXPECT_EQ(field(dialog, 1253), QStringLiteral("17"));
  EXPECT_EQ(field(dialog, 1263), QStringLiteral("Path Mode Not Compatible !!!"));
}

TEST(ReceiverVersionDialog, badHeaderKeepsTheDashes) {
  GuiSimRig rig;
  sim::Faults faults;
  faults.statusHeader = 0x03;
  rig.openReceiver(kDevice, receiverWith(0x17, 0x30), faults);
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::NoReply);
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1253), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1263), QStringLiteral("--"));
  EXPECT_TRUE(rig.scripted.messages().empty());
}

TEST(ReceiverVersionDialog, unknownModelKeepsTheDashes) {
  GuiSimRig rig;
  rig.openReceiver(kDevice, receiverWith(0x17, 0x0B));
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::UnknownModel);
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1253), QStringLiteral("--"));
  EXPECT_EQ(field(dialog, 1263), QStringLiteral("--"));
}

TEST(ReceiverVersionDialog, silentReceiverGivesTheMessageAndClosesThePort) {
  GuiSimRig rig;
  rig.sim.addSilentDevice(kDevice);
  rig.sim.setBaudRate(38400);
  rig.sim.openPort(kDevice);
  rig.context.portState.markOpen(kDevice, 38400);
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::NoAnswer);
  EXPECT_EQ(
      rig.scripted.messages(),
      std::vector<std::string>{"Error Communicating to receiver. Verify serial cable "
                               "connection between PC and receiver. Verify Receiver is on.."});
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
}

TEST(ReceiverVersionDialog, checkButtonRunsTheQueryAgain) {
  GuiSimRig rig;
  sim::Receiver &receiver = rig.openReceiver(kDevice, receiverWith(0x17, 0x0B));
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
  receiver.settings().modelCode = 0x30;
  control<QPushButton>(dialog, 1254)->click();
  EXPECT_TRUE(dialog.queryRunning() || dialog.lastResult() == Result::Shown);
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("8360M-Tq/U"));
  EXPECT_EQ(receiver.commandLines().size(), 4u); // ruAlive, locsw, twice
}

// With the port closed, the worker's ensure-open step shows the real
// Communication Options dialog on the GUI thread.
TEST(ReceiverVersionDialog, closedPortAsksForThePortFromTheWorker) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  GuiSimRig rig(&user, {kDevice});
  rig.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  ReceiverVersionDialog dialog(rig.context);
  ModalResponder responder(
      [](QWidget &modal) {
        EXPECT_EQ(modal.objectName(), QStringLiteral("143"));
        EXPECT_EQ(control<QComboBox>(modal, 1002)->currentText(), QString(kDevice));
        control<QPushButton>(modal, 1)->click();
      },
      &dialog);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_TRUE(responder.handled());
  EXPECT_TRUE(rig.context.portState.isOpen());
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("8360M-Tq/U"));
}

TEST(ReceiverVersionDialog, cancelledPortDialogEndsSilently) {
  GuiSimRig rig({}, {kDevice});
  rig.sim.addReceiver(kDevice, receiverWith(0x17, 0x30));
  rig.scripted.queuePortChoice(std::nullopt);
  ReceiverVersionDialog dialog(rig.context);
  dialog.show();
  ASSERT_TRUE(finishes(dialog));
  EXPECT_EQ(dialog.lastResult(), Result::PortNotOpen);
  EXPECT_TRUE(rig.scripted.messages().empty());
  EXPECT_EQ(field(dialog, 1255), QStringLiteral("--"));
}

// A port whose reads take real time: without cancellation the liveness wait
// would last its full five seconds.
class SlowSilentPort final : public PortApi {
public:
  explicit SlowSilentPort(VirtualClock &clock) : clock_(clock) {}
  int openPort(const std::string &) override { return 0; }
  int closePort() override { return 1; }
  int setBaudRate(int) override { return 1; }
  int writeByte(int) override { return 1; }
  int writeToPort(const void *, int length) override { return length; }
  char readChar(int *count) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    clock_.advanceMs(2);
    *count = 0;
    return 0;
  }
  int flushReadBuffer() override { return 1; }
  int flushWriteBuffer() override { return 1; }
  int setReadTimeout(int) override { return 1; }
  int parseFile(const std::string &) override { return -1; }
  int getNumberOfPackets() override { return 0; }
  int getBytes() override { return 0; }
  int sendPacket(int) override { return 2; }
  int getCurrentPacketNumber() override { return 0; }
  int cancel() override { return 0; }
  void resetFilePath() override {}

private:
  VirtualClock &clock_;
};

TEST(ReceiverVersionDialog, closingCancelsTheRunningQuery) {
  VirtualClock clock(1000);
  SlowSilentPort port(clock);
  ScriptedUser user;
  AppContext context("/nonexistent-working-folder", port, clock, user);
  context.portState.markOpen(kDevice, 38400);
  ReceiverVersionDialog dialog(context);
  dialog.show();
  ASSERT_TRUE(dialog.queryRunning());
  const auto start = std::chrono::steady_clock::now();
  dialog.reject();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(dialog.queryRunning());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_LT(took, std::chrono::seconds(2));
  EXPECT_EQ(dialog.lastResult(), Result::Cancelled);
  EXPECT_TRUE(user.messages().empty()); // a cancelled wait is no communication failure
}

} // namespace
} // namespace tarnwick::ui
