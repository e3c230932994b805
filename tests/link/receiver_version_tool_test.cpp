#include "receiver_version_tool.h"
#include "sim_rig.h"

#include <gtest/gtest.h>

#include <future>
#include <utility>

namespace tarnwick {
namespace {

using Kind = ScriptedUser::Kind;
using Result = ReceiverVersionTool::QueryResult;
using sim::Direction;
using sim::TranscriptEntry;
using testing::ByteScriptPort;
using testing::SimRig;
using testing::TempFolder;

constexpr const char *kDevice = "/dev/ttyUSB0";
const std::string kErrorCommunicating = "Error Communicating to receiver. Verify serial cable "
                                        "connection between PC and receiver. Verify Receiver is "
                                        "on..";

struct Fields {
  std::string software;
  std::string model;
  std::string compatibility;
};

Fields fieldsOf(const ReceiverVersionTool &tool) {
  const auto snapshot = tool.snapshot();
  return {snapshot.text(1253), snapshot.text(1255), snapshot.text(1263)};
}

void expectUnchanged(const ReceiverVersionTool &tool) {
  const Fields fields = fieldsOf(tool);
  EXPECT_EQ(fields.software, "--");
  EXPECT_EQ(fields.model, "--");
  EXPECT_EQ(fields.compatibility, "--");
}

Result runOn(SimRig &rig, std::uint8_t softwareVersion, std::uint8_t modelCode,
             ReceiverVersionTool &tool) {
  sim::ReceiverSettings settings;
  settings.softwareVersion = softwareVersion;
  settings.modelCode = modelCode;
  rig.openReceiver(kDevice, settings);
  tool.open();
  CancelToken cancel;
  return tool.runQuery(cancel);
}

TEST(ReceiverVersionTool, opensWithTheShippedValuesAndDashes) {
  SimRig rig;
  auto &shipped = rig.context.shippedVersions;
  const int values[] = {12, 2, 3, 4, 5, 6, 7, 8};
  for (int slot = 0; slot < kVersionSlotCount; ++slot) {
    shipped.setVersion(static_cast<VersionSlot>(slot), values[slot]);
  }
  ReceiverVersionTool tool(rig.context);
  tool.open();
  const auto snapshot = tool.snapshot();
  EXPECT_EQ(snapshot.text(1257), "12"); // A
  EXPECT_EQ(snapshot.text(1258), "3");  // C
  EXPECT_EQ(snapshot.text(1259), "2");  // B
  EXPECT_EQ(snapshot.text(1260), "6");  // F
  EXPECT_EQ(snapshot.text(1261), "7");  // G
  EXPECT_EQ(snapshot.text(1262), "8");  // H
  expectUnchanged(tool);
  EXPECT_FALSE(snapshot.busy);
}

TEST(ReceiverVersionTool, shippedValuesComeFromTheVersionFile) {
  TempFolder work;
  work.write("Cfg/BrimstelLocatorVersion.cfg", "A=12.0\r\nB=3.0\r\nC=31.0\r\n");
  SimRig rig;
  rig.context.shippedVersions = ShippedVersions::readFile(work.path());
  ReceiverVersionTool tool(rig.context);
  tool.open();
  EXPECT_EQ(tool.snapshot().text(1257), "12");
  EXPECT_EQ(tool.snapshot().text(1258), "31");
  EXPECT_EQ(tool.snapshot().text(1259), "3");
  EXPECT_EQ(tool.snapshot().text(1260), "0");
}

TEST(ReceiverVersionTool, showsModel0x30Version0x17AsPathModeCompatible) {
  SimRig rig;
  ReceiverVersionTool tool(rig.context);
  EXPECT_EQ(runOn(rig, 0x17, 0x30, tool), Result::Shown);
  const Fields fields = fieldsOf(tool);
  EXPECT_EQ(fields.model, "8360M-Tq/U");
  EXPECT_EQ(fields.software, "23");
  EXPECT_EQ(fields.compatibility, "Path Mode Compatible with latest S/W");
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(ReceiverVersionTool, showsModel0x06Version0x11AsNotCompatible) {
  SimRig rig;
  ReceiverVersionTool tool(rig.context);
  EXPECT_EQ(runOn(rig, 0x11, 0x06, tool), Result::Shown);
  const Fields fields = fieldsOf(tool);
  EXPECT_EQ(fields.model, "8360M-U");
  EXPECT_EQ(fields.software, "17");
  EXPECT_EQ(fields.compatibility, "Path Mode Not Compatible !!!");
}

TEST(ReceiverVersionTool, unknownModel0x0BLeavesTheDashes) {
  SimRig rig;
  ReceiverVersionTool tool(rig.context);
  EXPECT_EQ(runOn(rig, 0x17, 0x0B, tool), Result::UnknownModel);
  expectUnchanged(tool);
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(ReceiverVersionTool, readsTheExactReplyBytes) {
  VirtualClock clock;
  ByteScriptPort port(clock);
  ScriptedUser user;
  AppContext context("/", port, clock, user);
  context.portState.markOpen("/dev/ttyUSB0", 38400);
  port.queue(std::vector<std::uint8_t>{'Y', 0xD5, 0x02, 0x00, 0x17, 0x30});
  ReceiverVersionTool tool(context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::Shown);
  EXPECT_EQ(fieldsOf(tool).model, "8360M-Tq/U");
  EXPECT_EQ(fieldsOf(tool).software, "23");
  EXPECT_EQ(port.written(), "ruAlive\rlocsw\r");
}

TEST(ReceiverVersionTool, sendsRuAliveThenLocswAt25msWithoutKb12) {
  SimRig rig;
  ReceiverVersionTool tool(rig.context);
  ASSERT_EQ(runOn(rig, 23, 48, tool), Result::Shown);
  std::vector<TranscriptEntry> expected;
  std::int64_t at = 1000;
  for (char c : std::string("ruAlive\r")) {
    expected.push_back({at, Direction::ToReceiver, static_cast<std::uint8_t>(c)});
    at += 25;
  }
  at += 25; // one more gap after the line; "Y" is already there when the wait begins
  for (char c : std::string("locsw\r")) {
    expected.push_back({at, Direction::ToReceiver, static_cast<std::uint8_t>(c)});
    at += 25;
  }
  EXPECT_EQ(SimRig::toReceiver(*rig.sim.receiver(kDevice)), expected);
}

TEST(ReceiverVersionTool, headerWithout02LeavesTheDashesSilently) {
  SimRig rig;
  sim::Faults faults;
  faults.statusHeader = 0x01;
  rig.openReceiver(kDevice, {}, faults);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::NoReply);
  expectUnchanged(tool);
  EXPECT_TRUE(rig.user.events().empty());
  EXPECT_TRUE(rig.context.portState.isOpen());
}

TEST(ReceiverVersionTool, noStatusReplyWaits35SecondsThenLeavesTheDashes) {
  SimRig rig;
  sim::Faults faults;
  faults.silentFromByte = 8; // answers "ruAlive", ignores "locsw"
  rig.openReceiver(kDevice, {}, faults);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::NoReply);
  expectUnchanged(tool);
  EXPECT_TRUE(rig.user.events().empty());
  // "locsw" ends at 1400; silent reads of 360 ms until 35 s have passed.
  EXPECT_EQ(rig.clock.nowMs(), 1400 + 98 * 360);
}

TEST(ReceiverVersionTool, silentReceiverGivesTheErrorAndClosesThePort) {
  SimRig rig;
  sim::Faults faults;
  faults.silentFromByte = 0;
  rig.openReceiver(kDevice, {}, faults);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::NoAnswer);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kErrorCommunicating});
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
  expectUnchanged(tool);
}

TEST(ReceiverVersionTool, afterAFailedLivenessCheckTheNextQueryShowsThePortDialog) {
  SimRig rig({kDevice});
  sim::Faults faults;
  faults.silentFromByte = 0;
  auto &receiver = rig.openReceiver(kDevice, {}, faults);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  ASSERT_EQ(tool.runQuery(cancel), Result::NoAnswer);

  receiver.faults().silentFromByte.reset(); // the cable is plugged back in
  rig.user.queuePortChoice(PortChoice{});
  EXPECT_EQ(tool.runQuery(cancel), Result::Shown);
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 2U);
  EXPECT_EQ(events[0].kind, Kind::Message);
  EXPECT_EQ(events[0].text, kErrorCommunicating);
  EXPECT_EQ(events[1].kind, Kind::ChoosePort);
  EXPECT_EQ(events[1].ports, std::vector<std::string>{kDevice});
  EXPECT_EQ(fieldsOf(tool).model, "8360M-Tq/U");
}

TEST(ReceiverVersionTool, cancelledPortDialogEndsSilently) {
  SimRig rig({kDevice});
  rig.sim.addReceiver(kDevice);
  rig.user.queuePortChoice(std::nullopt);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::PortNotOpen);
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_EQ(rig.sim.counters().bytesWritten, 0);
}

TEST(ReceiverVersionTool, portThatWillNotOpenGivesFailedToOpenPort) {
  SimRig rig({kDevice});
  rig.user.queuePortChoice(PortChoice{});
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::PortNotOpen);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Failed to open port! Please connect and try again"});
}

TEST(ReceiverVersionTool, closingTheDialogEndsTheWaitWithoutAMessage) {
  SimRig rig;
  sim::Faults faults;
  faults.silentFromByte = 8;
  rig.openReceiver(kDevice, {}, faults);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken closed;
  int writes = 0;
  rig.port.beforeWrite = [&](int) {
    if (++writes == 14) { // the CR of "locsw"
      closed.cancel();
    }
  };
  EXPECT_EQ(tool.runQuery(closed), Result::Cancelled);
  EXPECT_TRUE(rig.user.events().empty());
  EXPECT_EQ(rig.clock.nowMs(), 1350); // the CR went out; no gap and no read waited
  expectUnchanged(tool);
  EXPECT_FALSE(tool.snapshot().busy);
}

// As the dialog runs it: the query on a worker, the interface thread reading
// the snapshot meanwhile and closing the dialog.
TEST(ReceiverVersionTool, aQueryOnAWorkerIsWatchedAndClosedFromTheInterfaceThread) {
  SimRig rig;
  rig.openReceiver(kDevice);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken closed;
  std::promise<void> reading;
  std::promise<void> closedSeen;
  rig.port.beforeRead = [&, first = true]() mutable {
    if (std::exchange(first, false)) {
      reading.set_value();
      closedSeen.get_future().wait();
    }
  };
  std::future<Result> result =
      std::async(std::launch::async, [&] { return tool.runQuery(closed); });
  reading.get_future().wait();
  EXPECT_TRUE(tool.snapshot().busy);
  closed.cancel();
  closedSeen.set_value();
  EXPECT_EQ(result.get(), Result::Cancelled);
  EXPECT_TRUE(rig.user.events().empty());
  expectUnchanged(tool);
  EXPECT_FALSE(tool.snapshot().busy);
}

TEST(ReceiverVersionTool, aSecondQueryWhileOneRunsIsRefused) {
  SimRig rig;
  rig.openReceiver(kDevice);
  ReceiverVersionTool tool(rig.context);
  tool.open();
  CancelToken cancel;
  std::optional<Result> nested;
  bool busySeen = false;
  rig.port.beforeRead = [&] {
    if (!nested) {
      busySeen = tool.snapshot().busy;
      nested = tool.runQuery(cancel);
    }
  };
  EXPECT_EQ(tool.runQuery(cancel), Result::Shown);
  EXPECT_EQ(nested, Result::Busy);
  EXPECT_TRUE(busySeen);
  EXPECT_FALSE(tool.snapshot().busy);
}

TEST(ReceiverVersionTool, aFailedLaterQueryKeepsTheEarlierDisplay) {
  SimRig rig;
  ReceiverVersionTool tool(rig.context);
  ASSERT_EQ(runOn(rig, 23, 48, tool), Result::Shown);
  rig.sim.receiver(kDevice)->settings().modelCode = 11;
  CancelToken cancel;
  EXPECT_EQ(tool.runQuery(cancel), Result::UnknownModel);
  EXPECT_EQ(fieldsOf(tool).model, "8360M-Tq/U");
}

} // namespace
} // namespace tarnwick
