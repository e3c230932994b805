#include "demo_templates.h"
#include "description_list_download.h"
#include "download_rig.h"
#include "list_exchanges.h"
#include "user_list_download.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::appendPaced;
using testing::bytesOf;
using testing::DownloadRig;
using testing::Piece;
using testing::piecesFrom;

const std::string kDownloading = "Downloading... Please wait !";
const std::string kComplete = "Download complete!";

// A download of a plan made by the test, run as the tools run theirs.
class PlannedDownload final : public PacedDownload {
public:
  PlannedDownload(AppContext &context, DownloadPlan plan)
      : PacedDownload(context), plan_(std::move(plan)) {}

protected:
  DownloadPlan makePlan() override { return plan_; }

private:
  DownloadPlan plan_;
};

struct ListRig : DownloadRig {
  ListRig() {
    store.load();
    EXPECT_EQ(store.create("abc"), CreateListResult::Created);
    // 0x0A1F looks like the end of the block; the receiver counts values.
    EXPECT_TRUE(store.setLabels("abc", {0x0701, 0x0802, 0x0A1F}));
  }
  Glossary glossary = demoEnglishGlossary();
  UserListStore store{glossary, work.path() / "FavGlossary"};
};

DescriptionEntry entryOf(GlossaryRef header, std::initializer_list<GlossaryRef> codes,
                         GlossaryRef fill = 0) {
  DescriptionEntry entry;
  entry.header = header;
  std::copy(codes.begin(), codes.end(), entry.codes.begin());
  entry.fill = fill;
  return entry;
}

TEST(UserListDownload, sendsTheNameAndCodesWithTheirPauses) {
  ListRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  UserListDownload download(rig.context, rig.store);
  ASSERT_EQ(download.send("abc", CancelToken{}), DownloadResult::Completed);

  std::vector<Piece> expected;
  appendPaced(expected, 0, "ruAlive\r", 25);
  // A command line pauses once more after its last byte; "kb 12" is followed by
  // 500 ms more.
  appendPaced(expected, 225, "kb 12\r", 25);
  expected.insert(expected.end(), {{900, "linit\r"},
                                   {1100, "pcll "},
                                   {1300, "5 "},
                                   {1500, "3"},
                                   {1700, " "},
                                   {1800, "a"},
                                   {1900, "b"},
                                   {2000, "c"},
                                   {2100, "\r"},
                                   {2200, "ldata\r"}});
  appendPaced(expected, 2300,
              bytesOf({0x0A, 0x1E, 0x07, 0x01, 0x08, 0x02, 0x0A, 0x1F, 0x0A, 0x1F, 0x7F}), 25);
  EXPECT_EQ(piecesFrom(receiver, "ruAlive"), expected);
  EXPECT_EQ(receiver.downloads().lists(),
            (std::vector<sim::ReceivedList>{{"abc", {0x0701, 0x0802, 0x0A1F}}}));
  EXPECT_EQ(receiver.downloads().listStarts(), 1);

  const DownloadSnapshot shown = download.snapshot();
  EXPECT_EQ(shown.statusLog,
            (std::vector<std::string>{kDownloading, "Transferred  abcUser list", kComplete}));
  EXPECT_TRUE(shown.done);
  EXPECT_FALSE(shown.progressVisible);
  EXPECT_EQ(rig.clock.nowMs() - 1000, 2575 + 2000); // the 2000 ms after "Download complete!"
}

TEST(UserListDownload, aListSendsItsCodesUpToTheFirstZeroAndAtMost88) {
  std::vector<GlossaryRef> many;
  for (int i = 1; i <= 100; ++i) {
    many.push_back(static_cast<GlossaryRef>(0x1D00 + i));
  }
  const std::vector<GlossaryRef> first88(many.begin(), many.begin() + 88);
  EXPECT_EQ(listCodes(many), first88);
  EXPECT_EQ(listCodes({0x0701, 0x0702, 0, 0x0703}), (std::vector<GlossaryRef>{0x0701, 0x0702}));

  const DownloadPlan plan = planUserListDownload("abc", many, StringTable{});
  EXPECT_EQ(writtenBytes(plan.steps[1].exchange), "pcll 90 3 abc\r");
  const std::string data = writtenBytes(plan.steps[2].exchange);
  EXPECT_EQ(data.size(), 6U + 2U + 2U * 88U + 3U);
  EXPECT_EQ(data.substr(data.size() - 5), bytesOf({0x1D, 0x58, 0x0A, 0x1F, 0x7F}));
}

TEST(UserListDownload, aWithheldAckEndsItWithTheStepsText) {
  const struct {
    const char *name;
    void (*fault)(sim::DownloadFaults &);
    std::string status;
    bool dataSent;
  } cases[] = {
      {"header", [](sim::DownloadFaults &f) { f.noAckForList = 0; },
       "Problem in downloading list: abc", false},
      {"data", [](sim::DownloadFaults &f) { f.noAckForListData = 0; }, "Problem in download", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    ListRig rig;
    sim::Faults faults;
    c.fault(faults.downloads);
    const sim::Receiver &receiver = rig.openReceiver(faults);
    UserListDownload download(rig.context, rig.store);
    EXPECT_EQ(download.send("abc", CancelToken{}), DownloadResult::NotAcknowledged);
    EXPECT_EQ(download.snapshot().statusLog, (std::vector<std::string>{kDownloading, c.status}));
    EXPECT_EQ(receiver.receivedText().find("ldata") != std::string::npos, c.dataSent);
    EXPECT_FALSE(download.snapshot().done);
  }
}

TEST(DescriptionListDownload, anEntrySendsItsHeaderLineThenItsNonZeroCodes) {
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  PlannedDownload download(
      rig.context, planDescriptionListDownload({entryOf(0x0203, {5, 0, 7})}, StringTable{}));
  ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);

  std::vector<Piece> expected;
  appendPaced(expected, 0, "tinit\r", 25);
  appendPaced(expected, 350, "pctl 4 2 3\r", 50); // 25 ms after the "\r", then 200 ms
  appendPaced(expected, 900, "tdata\r", 50);
  appendPaced(expected, 1400, bytesOf({0x19, 0x1E, 0x00, 0x05, 0x00, 0x07, 0x19, 0x1F, 0x7F}), 50);
  expected.push_back({1850, "\r"});
  EXPECT_EQ(piecesFrom(receiver, "tinit"), expected);
  EXPECT_EQ(receiver.downloads().tables(),
            (std::vector<sim::ReceivedTable>{{0x0203, {5, 7}, false}}));
  EXPECT_EQ(download.snapshot().statusLog, (std::vector<std::string>{kDownloading, kComplete}));
  EXPECT_EQ(rig.clock.nowMs() - receiver.transcript().back().timeMs, 200);
}

TEST(DescriptionListDownload, aFillEntrySendsItsValue350Times) {
  DownloadRig rig;
  const sim::Receiver &receiver = rig.openReceiver();
  const DescriptionEntry fill = entryOf(DescriptionEntry::kFillHeader, {}, 0x1234);
  EXPECT_EQ(writtenBytes(descriptionHeaderExchange(fill)), "pctl 2 255 0\r");
  std::string values;
  for (int i = 0; i < 350; ++i) {
    values += bytesOf({0x12, 0x34});
  }
  EXPECT_EQ(writtenBytes(descriptionDataExchange(fill)),
            "tdata\r" + bytesOf({0x19, 0x1E}) + values + bytesOf({0x19, 0x1F, 0x7F}) + "\r");

  PlannedDownload download(rig.context, planDescriptionListDownload({fill}, StringTable{}));
  ASSERT_EQ(download.download(CancelToken{}), DownloadResult::Completed);
  ASSERT_EQ(receiver.downloads().tables().size(), 1U);
  EXPECT_EQ(receiver.downloads().tables()[0],
            (sim::ReceivedTable{0xFF00, std::vector<std::uint16_t>(350, 0x1234), true}));
}

// The store gives one entry per label with links, in list order.
TEST(DescriptionListDownload, sendsTheEntriesTheStoreBuildsFromTheLinks) {
  const struct {
    const char *name;
    LabelLinks links;
    std::vector<sim::ReceivedTable> sent;
  } cases[] = {
      {"no links", {}, {}},
      {"links",
       {{0x0701, {0x0F01, 0x0F02}}, {0x0802, {}}, {0x0A1F, {0x1000}}},
       {{0x0701, {0x0F01, 0x0F02}, false}, {0x0A1F, {0x1000}, false}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    ListRig rig;
    ASSERT_TRUE(rig.store.saveLinks("abc", c.links));
    const sim::Receiver &receiver = rig.openReceiver();
    DescriptionListDownload download(rig.context, rig.store);
    ASSERT_EQ(download.send("abc", CancelToken{}), DownloadResult::Completed);
    EXPECT_EQ(receiver.downloads().tables(), c.sent);
    EXPECT_EQ(receiver.downloads().tableStarts(), 1);
    EXPECT_EQ(download.snapshot().statusLog, (std::vector<std::string>{kDownloading, kComplete}));
    if (c.sent.empty()) {
      const std::string got = receiver.receivedText();
      EXPECT_EQ(got.substr(got.find("kb 12\r") + 6), "tinit\r");
    }
  }
}

TEST(DescriptionListDownload, aWithheldAckNamesTheEntrysHeaderValue) {
  const struct {
    const char *name;
    void (*fault)(sim::DownloadFaults &);
    std::string status;
  } cases[] = {
      {"data of the first", [](sim::DownloadFaults &f) { f.noAckForEntryData = 0; },
       "Problem in download after list :515"},
      {"header of the second", [](sim::DownloadFaults &f) { f.noAckForEntry = 1; },
       "Problem in download after list :1793"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    DownloadRig rig;
    sim::Faults faults;
    c.fault(faults.downloads);
    rig.openReceiver(faults);
    PlannedDownload download(
        rig.context,
        planDescriptionListDownload({entryOf(0x0203, {5}), entryOf(0x0701, {6})}, StringTable{}));
    EXPECT_EQ(download.download(CancelToken{}), DownloadResult::NotAcknowledged);
    EXPECT_EQ(download.snapshot().statusLog.back(), c.status);
  }
}

} // namespace
} // namespace tarnwick

namespace tarnwick {
namespace {

TEST(ListDownloads, aListTheStoreDoesNotHoldIsRefusedBeforeThePortStep) {
  for (const char *name : {"Nope", "*New"}) {
    SCOPED_TRACE(name);
    ListRig rig;
    const sim::Receiver &receiver = rig.openReceiver();
    UserListDownload list(rig.context, rig.store);
    DescriptionListDownload links(rig.context, rig.store);
    EXPECT_EQ(list.send(name, CancelToken{}), DownloadResult::NothingChosen);
    EXPECT_EQ(links.send(name, CancelToken{}), DownloadResult::NothingChosen);
    EXPECT_EQ(rig.user.messages(),
              std::vector<std::string>(2, "Please select a User List to Send"));
    EXPECT_EQ(receiver.bytesReceived(), 0U);
  }
}

} // namespace
} // namespace tarnwick
