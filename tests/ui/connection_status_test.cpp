// The connection is visible: the main screen's status bar, "Port..." at any
// time, and Communication Options naming the simulated receiver and why the
// other ports did not open.
#include "communication_options_dialog.h"
#include "main_screen_window.h"
#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

namespace tarnwick::ui {
namespace {

using testing::TempDir;

struct StatusRig {
  StatusRig() {
    folder.write("Cfg/CountryFreqMask.cfg",
                 "[COUNTRY]\nGermany\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\nde.bmp\nde.bmp\n");
    sim.addReceiver("/dev/simA");
    sim.addFailingDevice("/dev/ttyS0", EBUSY);
    app.start();
    app.context().portDiscovery =
        std::make_unique<FixedPortDiscovery>(std::vector<std::string>{"/dev/simA", "/dev/ttyS0"});
  }
  TempDir folder;
  VirtualClock clock{0};
  sim::SimPort sim{clock};
  ScriptedUser user;
  Session app{folder.path(), sim, clock, user};
};

TEST(ConnectionStatus, theStatusBarShowsThePortTheReceiverAndTheActivity) {
  StatusRig rig;
  MainScreenWindow window(rig.app);
  EXPECT_EQ(window.statusTexts(), (QStringList{"No port open", "No receiver identified yet",
                                               "No tool is talking to the receiver"}));
  rig.app.context().portState.markOpen("/dev/simA", 38400);
  rig.app.context().activity.identified("8360M-Tq/U", 23);
  rig.app.context().activity.setTalking(true);
  rig.app.context().activity.setWaitingFor("Checking Connection with Locator.. Please Wait.");
  window.refreshStatus();
  EXPECT_EQ(window.statusTexts(),
            (QStringList{"Port /dev/simA at 38400 bps", "Receiver 8360M-Tq/U, software 23",
                         "Talking to the receiver: Checking Connection with Locator.. Please "
                         "Wait."}));
}

// "Port..." with a port open: Communication Options lists the ports; Cancel
// leaves the port that was open, OK opens the one chosen.
TEST(ConnectionStatus, thePortButtonChangesThePortOnPurposeAndCancelKeepsIt) {
  StatusRig rig;
  rig.sim.addReceiver("/dev/simB");
  rig.app.context().portDiscovery = std::make_unique<FixedPortDiscovery>(
      std::vector<std::string>{"/dev/simA", "/dev/simB", "/dev/ttyS0"});
  rig.sim.setBaudRate(38400);
  rig.sim.openPort("/dev/simA");
  rig.app.context().portState.markOpen("/dev/simA", 38400);
  MainScreenWindow window(rig.app);
  QPushButton &port = *window.findChild<QPushButton *>(QStringLiteral("9010"));
  ASSERT_TRUE(port.isEnabled());

  QTest::mouseClick(&port, Qt::LeftButton); // unscripted: Cancel
  ASSERT_EQ(rig.user.events().size(), 1U);
  EXPECT_EQ(rig.user.events()[0].ports, (std::vector<std::string>{"/dev/simA", "/dev/simB"}));
  EXPECT_TRUE(rig.app.context().portState.isOpen());
  EXPECT_EQ(rig.sim.openDevice(), "/dev/simA");

  rig.user.queuePortChoice(PortChoice{"/dev/simB", "38400"});
  QTest::mouseClick(&port, Qt::LeftButton);
  EXPECT_EQ(rig.sim.openDevice(), "/dev/simB");
  EXPECT_EQ(window.statusTexts().front(), "Port /dev/simB at 38400 bps");

  rig.app.context().portLease.tryAcquire(); // a tool talks to the receiver
  window.refreshStatus();
  EXPECT_FALSE(port.isEnabled());
}

TEST(ConnectionStatus, communicationOptionsMarksTheSimulatorAndSaysWhyPortsDidNotOpen) {
  const StringTable strings;
  const PortListing listing{
      {"/dev/pts/3", "/dev/ttyUSB0"},
      {"9600", "38400"},
      "38400",
      {"/dev/pts/3"},
      {{"/dev/ttyS0", EBUSY}, {"/dev/ttyACM0", EACCES}, {"/dev/ttyS9", ENOENT}}};
  CommunicationOptionsDialog dialog(listing, &strings);
  auto &ports = *dialog.findChild<QComboBox *>(QStringLiteral("1002"));
  EXPECT_EQ(ports.itemText(0), "/dev/pts/3 (simulated receiver)");
  EXPECT_EQ(ports.itemText(1), "/dev/ttyUSB0");
  EXPECT_EQ(dialog.choice().port, "/dev/pts/3");
  EXPECT_EQ(dialog.choice().rate, "38400");
  EXPECT_EQ(dialog.refusedText().toStdString(), "These ports cannot be opened:\n"
                                                "/dev/ttyS0: busy — in use by another program\n"
                                                "/dev/ttyACM0: permission denied — " +
                                                    strings.text(sid::kDialoutGroupHint) +
                                                    "\n"
                                                    "/dev/ttyS9: no such device");
}

} // namespace
} // namespace tarnwick::ui
