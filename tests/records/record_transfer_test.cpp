#include "demo_templates.h"
#include "record_bytes.h"
#include "record_file.h"
#include "record_transfer.h"
#include "sim_rig.h"
#include "temp_dir.h"
#include "write_history_capture.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Result = RecordTransfer::Result;

const Glossary &glossary() {
  static const Glossary g = demoEnglishGlossary();
  return g;
}

Bytes fileBytes(const fs::path &path) {
  std::error_code error;
  return readFileBytes(path, error).value_or(Bytes{});
}

std::vector<Bytes> markers(std::size_t count, std::size_t size = kMarkerRecordBytes) {
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < count; ++i) {
    Bytes record = serialRecord(static_cast<std::uint32_t>(1000 + i), 2);
    record.resize(size, 0xEE);
    records.push_back(record);
  }
  return records;
}

sim::ReceiverSettings settingsOf(std::uint8_t model, std::uint8_t version) {
  sim::ReceiverSettings settings;
  settings.modelCode = model;
  settings.softwareVersion = version;
  return settings;
}

struct TransferRig : SimRig {
  explicit TransferRig(sim::ReceiverSettings settings = {}, sim::Faults faults = {})
      : receiver(openReceiver("/dev/ttyUSB0", settings, std::move(faults))) {}

  void store(sim::RecordSet set, std::vector<Bytes> records, std::size_t size) {
    receiver.records().store(set, {std::move(records), size});
  }

  Result pull(RecordKind kind, DeletionChoice deletion = DeletionChoice::Keep,
              bool append = false) {
    RecordTransfer::Request request;
    request.kind = kind;
    request.destination = PullDestination{file, append};
    request.deletion = deletion;
    return transfer.pull(request, cancel);
  }

  std::string sentToReceiver() const { return receiver.receivedText(); }

  sim::Receiver &receiver;
  TempDir dir;
  fs::path file = dir.path() / "day";
  RecordWorkspace workspace;
  RecordTransfer transfer{context, workspace, glossary()};
  CancelToken cancel;
};

TEST(RecordTransfer, readMarkersExactBytesThenAVerifiedFile) {
  TransferRig rig;
  rig.store(sim::RecordSet::ReadMarkers, markers(3), 160);
  ASSERT_EQ(rig.pull(RecordKind::ReadMarkers), Result::Saved);
  EXPECT_EQ(rig.sentToReceiver(), "kb 12\rrc\r");
  // "kb 12" paced 25 ms with one gap more, then "rc" echoed byte by byte.
  const auto in = SimRig::toReceiver(rig.receiver);
  ASSERT_EQ(in.size(), 9U);
  EXPECT_EQ(in[6].timeMs - in[0].timeMs, 7 * 25);
  EXPECT_EQ(in[7].timeMs - in[6].timeMs, 25);
  const auto saved = rig.dir.path() / "day.rmrx";
  EXPECT_EQ(fileBytes(saved), recordFile(markers(3)));
  EXPECT_TRUE(rig.user.messages().empty());
  const auto snapshot = rig.transfer.snapshot();
  EXPECT_EQ(snapshot.recordsReceived, 3U);
  EXPECT_EQ(snapshot.recordsTotal, 3U);
  EXPECT_EQ(snapshot.deletion, DeletionResult::Declined);
}

TEST(RecordTransfer, recordSizesWidenOrCut) {
  for (const std::size_t size : {std::size_t{64}, std::size_t{160}, std::size_t{200}}) {
    TransferRig rig;
    rig.store(sim::RecordSet::ProgrammedMarkers, markers(2, size), size);
    ASSERT_EQ(rig.pull(RecordKind::ProgrammedMarkers), Result::Saved);
    EXPECT_EQ(rig.sentToReceiver(), "kb 12\rpc\r");
    const RecordList &list = rig.workspace.list(RecordKind::ProgrammedMarkers);
    ASSERT_EQ(list.size(), 2U);
    const Bytes sent = markers(2, size)[1];
    const Bytes expected =
        size == 64 ? widenLegacyRecord(sent) : Bytes(sent.begin(), sent.begin() + 160);
    EXPECT_EQ(list.entries()[1].raw, expected) << size;
  }
}

TEST(RecordTransfer, countZeroSavesTheHeaderOnly) {
  TransferRig rig;
  ASSERT_EQ(rig.pull(RecordKind::ReadMarkers, DeletionChoice::Delete), Result::NoRecords);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"No Read Data available on this receiver."});
  EXPECT_EQ(fileBytes(rig.dir.path() / "day.rmrx"), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(rig.sentToReceiver(), "kb 12\rrc\r"); // nothing to delete
}

TEST(RecordTransfer, cableCountAcrossTwoFieldsGivesThreeHundredRecords) {
  TransferRig rig(settingsOf(48, 40));
  std::vector<Bytes> records;
  for (int i = 0; i < 300; ++i) {
    CableFields fields;
    fields.seqId = "S" + std::to_string(i);
    fields.current = unsigned(i);
    records.push_back(cableRecord(fields));
  }
  rig.store(sim::RecordSet::CableRecords, records, 192);
  ASSERT_EQ(rig.pull(RecordKind::CableData), Result::Saved);
  EXPECT_EQ(rig.sentToReceiver(), "ruAlive\rlocsw\rkb 12\rer 54874 2 1\rer 54880 57600 1\r");
  // The count went out as "    1" and "   44".
  EXPECT_NE(rig.receiver.sentText().find("er 54874 2 1\n\r    1   44\n\r"), std::string::npos);
  const RecordList &list = rig.workspace.list(RecordKind::CableData);
  ASSERT_EQ(list.size(), 300U);
  EXPECT_EQ(list.entries()[299].raw, records[299]);
  const Bytes file = fileBytes(rig.dir.path() / "day.cdrx");
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0, 0, 1, 44}));
}

TEST(RecordTransfer, cableSupportByModelAndVersion) {
  struct Case {
    std::uint8_t model, version;
    Result result;
    std::string message;
  };
  const std::string older =
      "You are running an older version of software in the receiver that does "
      "not support date/time stamp for the saved data. Click Yes to upgrade now.";
  const Case cases[] = {
      {35, 20, Result::NotInstalled,
       "This feature is currently not installed. Please select the Software Upgrade option to "
       "install."},
      {35, 21, Result::NoCableData, older},
      {35, 22, Result::NoCableData, ""},
      {48, 38, Result::NotInstalled, ""},
      {48, 39, Result::NoCableData, older},
      {2, 99, Result::NotSupported,
       "Get Cable Data Records feature is not supported in this model."},
  };
  for (const Case &c : cases) {
    TransferRig rig(settingsOf(c.model, c.version));
    EXPECT_EQ(rig.pull(RecordKind::CableData), c.result) << int(c.model) << "/" << int(c.version);
    if (!c.message.empty()) {
      ASSERT_FALSE(rig.user.messages().empty());
      EXPECT_EQ(rig.user.messages().front(), c.message);
    }
    if (c.result == Result::NoCableData) {
      EXPECT_EQ(rig.user.messages().back(), "No Cable Data available on this receiver.");
      EXPECT_FALSE(fs::exists(rig.dir.path() / "day.cdrx"));
    }
  }
}

TEST(RecordTransfer, aMissingRecordByteShowsTheDiagnosticAndKeepsTheOldFile) {
  sim::Faults faults;
  faults.records.silentFromRecord = 1;
  TransferRig rig({}, faults);
  rig.store(sim::RecordSet::ReadMarkers, markers(3), 160);
  const fs::path old = rig.dir.write("day.rmrx", recordFile(markers(1)));
  ASSERT_EQ(rig.pull(RecordKind::ReadMarkers, DeletionChoice::Delete), Result::NoResponse);
  const auto messages = rig.user.messages();
  ASSERT_EQ(messages.size(), 2U);
  EXPECT_EQ(messages[0], "Index-> 1\nData->\n");
  EXPECT_EQ(messages[1], "No receiver response or wrong receiver response");
  EXPECT_EQ(fileBytes(old), recordFile(markers(1)));
  EXPECT_EQ(rig.workspace.list(RecordKind::ReadMarkers).size(), 1U); // kept, unsaved
  EXPECT_TRUE(rig.workspace.list(RecordKind::ReadMarkers).modified());
  EXPECT_EQ(rig.sentToReceiver().find("ew"), std::string::npos);
}

TEST(RecordTransfer, aMissingEchoEndsBeforeAnyRecord) {
  sim::Faults faults;
  faults.noEchoAtByte = 7; // the "c" of "rc", after "kb 12\r"
  TransferRig rig({}, faults);
  rig.store(sim::RecordSet::ReadMarkers, markers(2), 160);
  EXPECT_EQ(rig.pull(RecordKind::ReadMarkers), Result::NoResponse);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"No receiver response or wrong receiver response"});
  EXPECT_FALSE(fs::exists(rig.dir.path() / "day.rmrx"));
}

TEST(RecordTransfer, deletionComesOnlyAfterAVerifiedSave) {
  TransferRig rig;
  rig.store(sim::RecordSet::ReadMarkers, markers(2), 160);
  rig.user.queueAnswer(Answer::Yes);
  rig.user.queueAnswer(Answer::Yes);
  ASSERT_EQ(rig.pull(RecordKind::ReadMarkers, DeletionChoice::Ask), Result::Saved);
  EXPECT_EQ(rig.sentToReceiver(), "kb 12\rrc\rew 1 2 0 0\rswreset\r");
  EXPECT_EQ(rig.receiver.records().count(sim::RecordSet::ReadMarkers), 0U);
  EXPECT_EQ(rig.transfer.snapshot().deletion, DeletionResult::Deleted);
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 2U);
  EXPECT_EQ(events[0].text, "Do you want to Delete the Records from Locator?");
  EXPECT_EQ(events[1].text, "This operation can not be undone. Continue ?");
  EXPECT_EQ(fileBytes(rig.dir.path() / "day.rmrx"), recordFile(markers(2)));
}

TEST(RecordTransfer, aFailedSaveIsReportedAndDeletionIsNotOffered) {
  TransferRig rig;
  rig.store(sim::RecordSet::ReadMarkers, markers(2), 160);
  const fs::path notAFolder = rig.dir.write("plain", std::string("x"));
  rig.file = notAFolder / "day";
  EXPECT_EQ(rig.pull(RecordKind::ReadMarkers, DeletionChoice::Ask), Result::SaveFailed);
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 1U); // the report; no question
  EXPECT_EQ(
      events[0].text.rfind("The file could not be saved: " + (notAFolder / "day.rmrx").string(), 0),
      0U);
  EXPECT_EQ(rig.sentToReceiver(), "kb 12\rrc\r");
  EXPECT_EQ(rig.receiver.records().count(sim::RecordSet::ReadMarkers), 2U);
}

TEST(RecordTransfer, appendKeepsTheFileRecordsFirst) {
  TransferRig rig;
  rig.store(sim::RecordSet::ReadMarkers, markers(1), 160);
  rig.dir.write("day.rmrx", recordFile(markers(2), {"first", "second"}));
  ASSERT_EQ(rig.pull(RecordKind::ReadMarkers, DeletionChoice::Keep, true), Result::Saved);
  std::vector<Bytes> all = markers(2);
  all.push_back(markers(1)[0]);
  EXPECT_EQ(fileBytes(rig.dir.path() / "day.rmrx"), recordFile(all, {"first", "second"}));
}

TEST(RecordTransfer, noRevisionAfterTheClear) {
  sim::Faults faults;
  faults.noRevision = true;
  TransferRig rig({}, faults);
  rig.store(sim::RecordSet::ProgrammedMarkers, markers(1), 160);
  ASSERT_EQ(rig.pull(RecordKind::ProgrammedMarkers, DeletionChoice::Delete), Result::Saved);
  EXPECT_EQ(
      rig.user.messages(),
      std::vector<std::string>{"Please Restart the Locator for the changes to take effect.."});
  EXPECT_EQ(rig.transfer.snapshot().deletion, DeletionResult::RestartNotSeen);
}

TEST(WriteHistoryCapture, clearsOnlyAfterTheFileReadsBack) {
  TransferRig rig;
  rig.store(sim::RecordSet::ProgrammedMarkers, markers(2), 160);
  Console console(rig.context);
  const auto result = captureWriteHistory(console, rig.dir.path());
  EXPECT_TRUE(result.readCompletely && result.saved && result.cleared);
  EXPECT_EQ(rig.sentToReceiver(), "pc\rew 7 2 0 0\r");
  EXPECT_EQ(fileBytes(rig.dir.path() / "WriteHistory.pgrx"), recordFile(markers(2)));

  TransferRig failing;
  failing.store(sim::RecordSet::ProgrammedMarkers, markers(2), 160);
  Console again(failing.context);
  const fs::path notAFolder = failing.dir.write("plain", std::string("x"));
  const auto refused = captureWriteHistory(again, notAFolder);
  EXPECT_TRUE(refused.readCompletely);
  EXPECT_FALSE(refused.saved || refused.cleared);
  EXPECT_EQ(failing.sentToReceiver(), "pc\r");
}

} // namespace
} // namespace tarnwick
