#include "demo_templates.h"
#include "download_rig.h"
#include "glossary_download.h"
#include "port_settings.h"
#include "user_list_store.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarnwick {
namespace {

using testing::appendPaced;
using testing::bytesOf;
using testing::DownloadRig;
using testing::Piece;
using testing::piecesFrom;

const std::string kDownloading = "Downloading... Please wait !";
const std::string kComplete = "Download complete!";
const std::string kListProblem = "Labellist or term list download problem. Try again!";

std::vector<std::uint16_t> refsOf(const std::vector<GlossaryRef> &refs) {
  return {refs.begin(), refs.end()};
}

TEST(GlossaryDownload, sendsEveryGroupBothListsAndTheVersionAsTheReceiverKeepsThem) {
  for (const Glossary &glossary : {demoEnglishGlossary(), demoGermanGlossary()}) {
    DownloadRig rig;
    const sim::Receiver &receiver = rig.openReceiver();
    GlossaryDownload download(rig.context, glossary);
    ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);

    const sim::Downloads &got = receiver.downloads();
    EXPECT_EQ(got.errors(), std::vector<std::string>{});
    ASSERT_EQ(got.groups().size(), 20U);
    for (std::size_t ordinal = 0; ordinal < kGlossarySendOrder.size(); ++ordinal) {
      const GlossaryGroup &group =
          kGlossaryGroups[static_cast<std::size_t>(kGlossarySendOrder[ordinal])];
      const sim::ReceivedGroup &sent = got.groups()[ordinal];
      EXPECT_EQ(sent.code, group.code);
      EXPECT_EQ(sent.indexBits, group.indexBits);
      ASSERT_EQ(sent.items.size(), static_cast<std::size_t>(group.count));
      for (int index = 0; index < group.count; ++index) {
        EXPECT_EQ(sent.items[static_cast<std::size_t>(index)], glossary.text(group.code, index));
      }
    }
    EXPECT_EQ(got.lists(),
              (std::vector<sim::ReceivedList>{{"All", refsOf(allLabelsOf(glossary))}}));
    std::vector<sim::ReceivedTable> tables;
    for (const TermRecord &record : glossaryTermRecords(glossary)) {
      tables.push_back({record.tag, refsOf(record.values), false});
    }
    EXPECT_EQ(got.tables(), tables);
    EXPECT_EQ(got.glossaryVersion(), "11");

    const DownloadSnapshot shown = download.snapshot();
    EXPECT_EQ(shown.statusLog, (std::vector<std::string>{kDownloading, kComplete}));
    EXPECT_EQ(shown.progressMax, 22);
    EXPECT_EQ(shown.progressPosition, 22);
    EXPECT_EQ(shown.itemsDone, shown.itemsTotal);
    EXPECT_EQ(shown.itemsTotal, 416U + 2U + 4U + 1U); // the items, two lists, the version
    EXPECT_FALSE(shown.busy);
    // The receiver answers at once, so the download takes its pacing and no more.
    EXPECT_EQ(rig.clock.nowMs() - 1000, download.mandatedMs());
  }
}

TEST(GlossaryDownload, termListHoldsEveryDescriptionThenTheDateFormats) {
  const Glossary glossary = demoEnglishGlossary();
  const std::vector<TermRecord> records = glossaryTermRecords(glossary);
  ASSERT_EQ(records.size(), 2U);
  EXPECT_EQ(records[0].tag, 0xFF00);
  std::vector<GlossaryRef> descriptions;
  for (const GlossaryItem &item : glossary.descriptionItems()) {
    descriptions.push_back(item.ref);
  }
  EXPECT_EQ(records[0].values, descriptions);
  // "M/D/Y" and "D/M/Y" are entries 2 and 3 of the group with code 14.
  EXPECT_EQ(records[1], (TermRecord{0x0805, {0x0E02, 0x0E03}}));
}

// Group 0 takes items of up to 8 characters: one of 8 is complete without
// the end byte, one of 7 is closed by it, and an empty one is the end byte.
TEST(GlossaryDownload, groupHeaderAndItemsArePacedAndTerminatedAsTheirLengthSays) {
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  Glossary glossary;
  glossary.setEntry(7, 0, "Material");
  glossary.setEntry(7, 1, "Utility");
  GlossaryDownload download(rig.context, glossary);
  ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);

  std::vector<Piece> expected;
  appendPaced(expected, 0, "gn 7 3 8\r", 50);
  expected.push_back({450, "gdata\r"});
  appendPaced(expected, 675, "Material", 25); // 25 ms before each character
  appendPaced(expected, 875, "Utility", 25);
  expected.back().bytes += '\x7F';    // at once after the last character
  expected.push_back({1050, "\x7F"}); // the third item, empty
  EXPECT_EQ(piecesFrom(receiver, "gn 7", expected.size()), expected);
  EXPECT_EQ(receiver.downloads().groups().front().items,
            (std::vector<std::string>{"Material", "Utility", "", "", "", "", "", ""}));
}

TEST(GlossaryDownload, listsAndVersionKeepTheirPieces) {
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  Glossary glossary;
  glossary.setEntry(7, 2, "Owner");  // 0x0702
  glossary.setEntry(14, 2, "M/D/Y"); // 0x0E02
  glossary.setEntry(15, 1, "Gas");   // 0x0F01
  GlossaryDownload download(rig.context, glossary);
  ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);

  std::vector<Piece> labels = {{0, "pcll "}, {200, "3 "}, {400, "3"}, {600, " "}};
  appendPaced(labels, 700, "All", 100);
  labels.push_back({1000, "\r"});
  labels.push_back({1100, "ldata\r"});
  appendPaced(labels, 1200, bytesOf({0x0A, 0x1E, 0x07, 0x02, 0x0A, 0x1F, 0x7F}), 25);
  EXPECT_EQ(piecesFrom(receiver, "pcll", labels.size()), labels);

  std::vector<Piece> terms = {{0, "pctl "}, {200, "3 "}, {400, "255 "},
                              {600, "0"},   {800, "\r"}, {900, "tdata\r"}};
  appendPaced(terms, 1000, bytesOf({0x19, 0x1E, 0x0F, 0x01, 0x19, 0x1F, 0x7F}), 25);
  terms.push_back({1175, "pctl "});
  terms.push_back({1375, "3 "});
  terms.push_back({1575, "8 "});
  terms.push_back({1775, "5"});
  terms.push_back({1975, "\r"});
  terms.push_back({2075, "tdata\r"});
  appendPaced(terms, 2175, bytesOf({0x19, 0x1E, 0x0E, 0x02, 0x19, 0x1F, 0x7F}), 25);
  EXPECT_EQ(piecesFrom(receiver, "pctl", terms.size()), terms);

  EXPECT_EQ(piecesFrom(receiver, "gloss"), (std::vector<Piece>{{0, "gloss 11\r"}}));
}

TEST(GlossaryDownload, cancellingThePortDialogSendsNothing) {
  DownloadRig rig;
  sim::Receiver &receiver = rig.sim.addReceiver(DownloadRig::kDevice);
  rig.user.queuePortChoice(std::nullopt);
  const Glossary glossary = demoEnglishGlossary();
  GlossaryDownload download(rig.context, glossary);
  EXPECT_EQ(download.download(CancelToken{}), DownloadResult::PortNotOpen);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{"Please select a port and try again !"});
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

struct FailureCase {
  const char *name;
  sim::Faults faults;
  DownloadResult result;
  std::string status; // the last one
  bool listsSent;
};

sim::Faults withDownloadFault(void (*set)(sim::DownloadFaults &)) {
  sim::Faults faults;
  set(faults.downloads);
  return faults;
}

TEST(GlossaryDownload, aWithheldAckStopsTheDownloadWithItsOwnText) {
  const FailureCase cases[] = {
      // Item 10 over all groups: the second group sent (code 8), its item 2.
      {"item", withDownloadFault([](sim::DownloadFaults &f) { f.noAckForItem = 10; }),
       DownloadResult::NotAcknowledged, "Problem in downloadi :1, j :2", false},
      {"label list header", withDownloadFault([](sim::DownloadFaults &f) { f.noAckForList = 0; }),
       DownloadResult::NotAcknowledged, kListProblem, true},
      {"term record data",
       withDownloadFault([](sim::DownloadFaults &f) { f.noAckForEntryData = 1; }),
       DownloadResult::NotAcknowledged, kListProblem, true},
      {"version", withDownloadFault([](sim::DownloadFaults &f) { f.noAckForVersion = true; }),
       DownloadResult::NotAcknowledged, "Problem sending glossary version", true},
  };
  const Glossary glossary = demoEnglishGlossary();
  for (const FailureCase &c : cases) {
    SCOPED_TRACE(c.name);
    DownloadRig rig;
    const sim::Receiver &receiver = rig.openReceiver(c.faults);
    GlossaryDownload download(rig.context, glossary);
    EXPECT_EQ(download.download(CancelToken{}), c.result);
    const DownloadSnapshot shown = download.snapshot();
    ASSERT_FALSE(shown.statusLog.empty());
    EXPECT_EQ(shown.statusLog.back(), c.status);
    EXPECT_EQ(receiver.receivedText().find("pcll") != std::string::npos, c.listsSent);
    EXPECT_FALSE(receiver.downloads().glossaryVersion().has_value());
    EXPECT_TRUE(rig.sim.isOpen());
  }
}

TEST(GlossaryDownload, aSilentReceiverEndsItAtTheLivenessCheck) {
  DownloadRig rig;
  sim::Faults faults;
  faults.silentFromByte = 0;
  rig.openReceiver(faults);
  const Glossary glossary = demoEnglishGlossary();
  GlossaryDownload download(rig.context, glossary);
  EXPECT_EQ(download.download(CancelToken{}), DownloadResult::NoAnswer);
  EXPECT_EQ(
      rig.user.messages(),
      std::vector<std::string>{"Error Communicating to receiver. Verify serial cable "
                               "connection between PC and receiver. Verify Receiver is on.."});
  EXPECT_FALSE(rig.sim.isOpen());
}

// Cancel Download only warns; closing the dialog ends the worker at its next
// wait and says so.
TEST(GlossaryDownload, cancelWarnsAndClosingEndsAtTheNextWait) {
  const Glossary glossary = demoEnglishGlossary();
  {
    DownloadRig rig;
    rig.openReceiver();
    GlossaryDownload download(rig.context, glossary);
    int writes = 0;
    rig.port.beforeWrite = [&] {
      if (++writes == 100) {
        download.warnCancel();
      }
    };
    EXPECT_EQ(download.download(CancelToken{}), DownloadResult::Completed);
    EXPECT_EQ(rig.user.messages(),
              std::vector<std::string>{"Interruption to the Download may leave the Unit non "
                                       "functioning. Press OK to Continue to Download."});
  }
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  GlossaryDownload download(rig.context, glossary);
  CancelToken closed;
  int writes = 0;
  int writesAfterClosing = 0;
  rig.port.beforeWrite = [&] {
    if (closed.cancelled()) {
      ++writesAfterClosing;
    } else if (++writes == 100) {
      closed.cancel(); // this write still goes out
    }
  };
  EXPECT_EQ(download.download(closed), DownloadResult::Cancelled);
  EXPECT_EQ(download.snapshot().statusLog.back(), "Download canceled by user...");
  EXPECT_EQ(writesAfterClosing, 0);
  EXPECT_FALSE(receiver.downloads().glossaryVersion().has_value());
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(GlossaryDownload, aSecondDownloadWhileOneRunsIsRefused) {
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  const Glossary glossary = demoEnglishGlossary();
  GlossaryDownload download(rig.context, glossary);
  ASSERT_TRUE(rig.context.portLease.tryAcquire()); // the first one holds the port
  EXPECT_EQ(download.download(CancelToken{}), DownloadResult::Busy);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Download already in progress... Please wait.."});
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

TEST(GlossaryDownload, progressGivesTheStepItemsRateAndPacingLeft) {
  DownloadRig rig;
  rig.openReceiver();
  const Glossary glossary = demoEnglishGlossary();
  GlossaryDownload download(rig.context, glossary);
  std::vector<DownloadSnapshot> seen;
  int writes = 0;
  rig.port.beforeWrite = [&] {
    if (++writes % 500 == 0) {
      seen.push_back(download.snapshot());
    }
  };
  ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);
  ASSERT_GE(seen.size(), 3U);
  for (std::size_t i = 1; i < seen.size(); ++i) {
    EXPECT_GE(seen[i].progressPosition, seen[i - 1].progressPosition);
    EXPECT_GT(seen[i].itemsDone, seen[i - 1].itemsDone);
    EXPECT_LT(seen[i].msLeft, seen[i - 1].msLeft);
    EXPECT_GT(seen[i].itemsPerSecond, 0.0);
    EXPECT_TRUE(seen[i].busy);
    EXPECT_TRUE(seen[i].progressVisible);
  }
  EXPECT_EQ(download.snapshot().msLeft, 0);
}

} // namespace
} // namespace tarnwick
