#include "app_context.h"
#include "demo_templates.h"
#include "scripted_user.h"
#include "sim_port.h"
#include "temp_dir.h"
#include "template_download.h"
#include "template_file.h"
#include "template_staging.h"
#include "template_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Result = TemplateDownload::ReadResult;
using Download = TemplateDownload::DownloadResult;
using testing::TempDir;

constexpr const char *kDevice = "/dev/ttyUSB0";
const std::string kErrorCommunicating = "Error Communicating to receiver. Verify serial cable "
                                        "connection between PC and receiver. Verify Receiver is "
                                        "on..";
const std::string kDownloading = "Downloading... Please wait !";
const std::string kSendError =
    "Error in sending template. Please select template(s) and try again..";

std::string retry(int number) {
  return "Data was not written successfully. Retry number.. " + std::to_string(number) + "...";
}

std::string sent(int count) {
  return "Sent " + std::to_string(count) + " template(s) ";
}

Bytes padded(Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

Bytes text(const std::string &s) {
  return Bytes(s.begin(), s.end());
}

// A user template's data: first byte 1, then the encoded bytes.
Bytes userData(std::initializer_list<std::uint8_t> encoded) {
  Bytes data{kUserTemplateMarker};
  data.insert(data.end(), encoded);
  return data;
}

// A scratch installation with a receiver on the simulator, port open.
struct TransferRig {
  explicit TransferRig(sim::ReceiverSettings settings = {}, sim::Faults faults = {})
      : receiver(sim.addReceiver(kDevice, settings, std::move(faults))) {
    sim.setBaudRate(38400);
    sim.openPort(kDevice);
    context.portState.markOpen(kDevice, 38400);
  }

  fs::path staging() const { return stagingFolderOf(work.path()); }
  std::string received() const { return receiver.receivedText(); }
  // The bytes the receiver got after the first occurrence of marker.
  std::vector<sim::TranscriptEntry> receivedAfter(const std::string &marker) const {
    std::vector<sim::TranscriptEntry> entries;
    for (const auto &entry : receiver.transcript()) {
      if (entry.dir == sim::Direction::ToReceiver) {
        entries.push_back(entry);
      }
    }
    const std::size_t at = received().find(marker);
    return at == std::string::npos ? std::vector<sim::TranscriptEntry>{}
                                   : std::vector<sim::TranscriptEntry>(
                                         entries.begin() + static_cast<long>(at), entries.end());
  }
  std::vector<std::string> stagedNames() const {
    std::vector<std::string> names;
    for (const TemplateEntry &entry : ListStagedTemplates(staging())) {
      names.push_back(entry.fileName);
    }
    return names;
  }

  TempDir work;
  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  ScriptedUser user;
  AppContext context{work.path(), sim, clock, user};
  sim::Receiver &receiver;
};

// entries start with bytes, each gapMs after the one before.
void expectPaced(const std::vector<sim::TranscriptEntry> &entries, const Bytes &bytes,
                 std::int64_t gapMs) {
  ASSERT_GE(entries.size(), bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_EQ(entries[i].byte, bytes[i]) << "byte " << i;
    if (i > 0) {
      EXPECT_EQ(entries[i].timeMs - entries[i - 1].timeMs, gapMs) << "byte " << i;
    }
  }
}

// ---- Names, records and the staging folder.

TEST(TemplateStaging, receiverNamesBecomeSafeFileStems) {
  const struct {
    std::string name;
    std::string stem;
  } cases[] = {
      {"Gas Valve", "Gas Valve"},
      {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
      {"../x", "_._x"},
      {"a/b\\c:d", "a_b_c_d"},
      {"...", "___"},
      {"end.", "end_"},
      {"tab\there\x7F", "tab_here_"},
      {"", "unnamed"},
      {"Gr\xF6\xDF"
       "e",
       "Gr\xC3\xB6\xC3\x9F"
       "e"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(safeTemplateStem(c.name), c.stem) << c.name;
  }
}

TEST(TemplateStaging, aClashGetsANumberedNameOfAtMost15Characters) {
  const struct {
    std::string stem;
    std::vector<std::string> taken;
    std::string result;
  } cases[] = {
      {"Gas", {}, "Gas"},
      {"Gas", {"gas"}, "Gas~2"},
      {"Gas", {"Gas", "Gas~2"}, "Gas~3"},
      {"ABCDEFGHIJKLMNO", {"ABCDEFGHIJKLMNO"}, "ABCDEFGHIJKLM~2"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(unusedTemplateStem(c.stem, c.taken), c.result) << c.stem;
  }
}

TEST(TemplateStaging, aFileGoesOutAsItsNameFieldAndItsPaddedData) {
  TempDir dir;
  const Bytes trace100 = concat({{kTracePrefix}, Bytes(100, 0x5A)});
  const struct {
    const char *what;
    std::string file;
    Bytes bytes;
    TemplateKind kind;
    Bytes record;
  } cases[] = {
      {"a 10-character name is padded with 5 zero bytes", "ABCDEFGHIJ.utl", userData({7, 8}),
       TemplateKind::Marker,
       concat({text("ABCDEFGHIJ"), Bytes(5, 0), padded(userData({7, 8}), kUserTemplateData)})},
      {"a trace file of 1 + 100 bytes: 100 data bytes and 45 zero bytes", "Trace.utl", trace100,
       TemplateKind::Trace, concat({padded(text("Trace"), 15), Bytes(100, 0x5A), Bytes(45, 0)})},
      {"a user file keeps a leading 0xFF as data",
       "Odd.utl",
       {0xFF, 3},
       TemplateKind::Marker,
       concat({padded(text("Odd"), 15), padded({0xFF, 3}, kUserTemplateData)})},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const PreparedTemplate prepared = prepareTemplate(dir.write(c.file, c.bytes), c.kind);
    ASSERT_TRUE(prepared.outgoing);
    EXPECT_EQ(prepared.outgoing->record, c.record);
  }
}

TEST(TemplateStaging, whatCannotBeSentWholeIsRefusedWithItsReason) {
  TempDir dir;
  const struct {
    const char *what;
    std::string file;
    Bytes bytes;
    TemplateKind kind;
    StringId message;
  } cases[] = {
      {"a name of 16 characters", "ABCDEFGHIJKLMNOP.utl", userData({}), TemplateKind::Marker,
       sid::kTemplateNameTooLong},
      {"user data beyond 113 bytes", "Big.utl", Bytes(114, 1), TemplateKind::Marker,
       sid::kTemplateDataTooLong},
      {"trace data beyond 145 bytes", "Big.utl", concat({{kTracePrefix}, Bytes(146, 1)}),
       TemplateKind::Trace, sid::kTemplateDataTooLong},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const PreparedTemplate prepared = prepareTemplate(dir.write(c.file, c.bytes), c.kind);
    ASSERT_TRUE(prepared.refusal);
    EXPECT_EQ(prepared.refusal->message, c.message);
    EXPECT_FALSE(prepared.outgoing);
  }
  const PreparedTemplate missing = prepareTemplate(dir.path() / "none.utl", TemplateKind::Marker);
  ASSERT_TRUE(missing.refusal);
  EXPECT_EQ(missing.refusal->message, sid::kTemplateFileUnreadable);
}

TEST(TemplateStaging, clearingRemovesLinksButNeverWhatTheyPointTo) {
  TempDir dir;
  const fs::path outside = dir.write("Templates/Keep.utl", userData({1}));
  const fs::path staging = stagingFolderOf(dir.path());
  fs::create_directories(staging);
  fs::create_symlink(outside, staging / "Link.utl");
  fs::create_directory_symlink(outside.parent_path(), staging / "Folder");
  dir.write("LocDrive/Gas.utl", userData({2}));
  EXPECT_FALSE(ClearStaging(staging));
  EXPECT_FALSE(fs::exists(staging));
  EXPECT_TRUE(fs::exists(outside));

  // A link in the folder's place goes, the folder it names stays whole.
  fs::create_directory_symlink(outside.parent_path(), staging);
  EXPECT_FALSE(ClearStaging(staging));
  EXPECT_FALSE(fs::exists(fs::symlink_status(staging)));
  EXPECT_TRUE(fs::exists(outside));
  EXPECT_FALSE(ClearStaging(staging)); // nothing there: nothing to do
}

TEST(TemplateStaging, theDemoReceiversTemplatesFitTheirRecords) {
  TempDir dir;
  ASSERT_TRUE(writeDemoReceiverTemplates(dir.path()));
  const std::pair<const char *, TemplateKind> folders[] = {{"User", TemplateKind::Marker},
                                                           {"Trace", TemplateKind::Trace}};
  std::size_t count = 0;
  for (const auto &[folder, kind] : folders) {
    for (const TemplateEntry &entry : listTemplateFolder(dir.path() / folder, kind)) {
      EXPECT_TRUE(prepareTemplate(entry.path, kind).outgoing) << entry.fileName;
      ++count;
    }
  }
  EXPECT_EQ(count, 4u); // three user templates and one trace template, each of its kind
}

// ---- Reading the receiver's templates.

struct ReadCase {
  const char *what;
  TemplateKind kind;
  int modelCode;
  int softwareVersion;
  int shippedVersion; // of the model's slot
  sim::TemplateMemory memory;
  sim::Faults faults;
  Result result;
  std::vector<std::string> listed;
  std::string commands;
  std::vector<std::string> messages;
};

sim::Faults firstNamed(const std::string &name) {
  sim::Faults faults;
  faults.templates.firstName = name;
  return faults;
}

sim::Faults silent() {
  sim::Faults faults;
  faults.silentFromByte = 0;
  return faults;
}

const sim::TemplateMemory kMemory = {
    {{"ABCDEFGHIJKLMNO", userData({0x41})}, {"Gas", userData({0x42})}},
    {{"Fiber", {0, 0x43}}},
};
const std::string kUserRead = "ruAlive\rkb 12\rlocsw\rlocut\r";
const std::string kTraceRead = "ruAlive\rkb 12\rlocsw\rttdata\r";

const ReadCase kReadCases[] = {
    {"user templates: one staged file each, a 15-character name whole",
     TemplateKind::Marker,
     48,
     23,
     23,
     kMemory,
     {},
     Result::Read,
     {"ABCDEFGHIJKLMNO.utl", "Gas.utl"},
     kUserRead,
     {}},
    {"trace templates",
     TemplateKind::Trace,
     48,
     23,
     23,
     kMemory,
     {},
     Result::Read,
     {"Fiber.utl"},
     kTraceRead,
     {}},
    {"a count of 0 lists nothing",
     TemplateKind::Marker,
     48,
     23,
     23,
     {},
     {},
     Result::Read,
     {},
     kUserRead,
     {}},
    {"a receiver name \"../x\" stays inside the staging folder",
     TemplateKind::Marker,
     48,
     23,
     23,
     {{{"Gas", userData({})}}, {}},
     firstNamed("../x"),
     Result::Read,
     {"_._x.utl"},
     kUserRead,
     {}},
    {"two templates of one name",
     TemplateKind::Marker,
     48,
     23,
     23,
     {{{"Gas", userData({1})}, {"Gas", userData({2})}}, {}},
     {},
     Result::Read,
     {"Gas.utl", "Gas~2.utl"},
     kUserRead,
     {}},
    {"family 1 gives no trace templates",
     TemplateKind::Trace,
     12,
     23,
     0,
     kMemory,
     {},
     Result::NotRead,
     {},
     "ruAlive\rkb 12\rlocsw\r",
     {}},
    {"family 3 gives trace templates only from version 18",
     TemplateKind::Trace,
     48,
     17,
     0,
     kMemory,
     {},
     Result::NotRead,
     {},
     "ruAlive\rkb 12\rlocsw\r",
     {}},
    {"older software than shipped",
     TemplateKind::Marker,
     48,
     23,
     24,
     kMemory,
     {},
     Result::VersionLower,
     {},
     "ruAlive\rkb 12\rlocsw\r",
     {"Trace Templates are not supported. Please Upgrade the Locator Software."}},
    {"a model code of no family ends silently",
     TemplateKind::Marker,
     20,
     23,
     0,
     kMemory,
     {},
     Result::UnknownModel,
     {},
     "ruAlive\rkb 12\rlocsw\r",
     {}},
    {"a silent receiver",
     TemplateKind::Marker,
     48,
     23,
     23,
     kMemory,
     silent(),
     Result::NoAnswer,
     {},
     "ruAlive\r",
     {kErrorCommunicating}},
};

TEST(TemplateDownloadRead, stagesAndListsTheReceiversTemplatesByTheFamilyRules) {
  for (const ReadCase &c : kReadCases) {
    SCOPED_TRACE(c.what);
    sim::ReceiverSettings settings;
    settings.modelCode = static_cast<std::uint8_t>(c.modelCode);
    settings.softwareVersion = static_cast<std::uint8_t>(c.softwareVersion);
    TransferRig rig(settings, c.faults);
    rig.receiver.templates() = c.memory;
    if (const auto family = templateFamilyOf(c.modelCode)) {
      rig.context.shippedVersions.setVersion(family->slot, c.shippedVersion);
    }
    TemplateDownload dialog(rig.context, c.kind, rig.work.path() / "Templates");
    dialog.open();
    EXPECT_EQ(dialog.readReceiver(CancelToken()), c.result);
    std::vector<std::string> listed;
    for (const TemplateEntry &entry : dialog.snapshot().inReceiver) {
      listed.push_back(entry.fileName);
      EXPECT_EQ(entry.path.parent_path(), rig.staging());
    }
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(rig.received(), c.commands);
    EXPECT_EQ(rig.user.messages(), c.messages);
    // Only the staged files were written.
    std::size_t files = 0;
    for (const auto &entry : fs::recursive_directory_iterator(rig.work.path())) {
      files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, c.result == Result::Read ? c.listed.size() : 0);
  }
}

TEST(TemplateDownloadRead, stagedFilesHoldTheDataAndATraceFileItsMarker) {
  TransferRig rig;
  rig.receiver.templates() = kMemory;
  TemplateDownload user(rig.context, TemplateKind::Marker, rig.work.path());
  ASSERT_EQ(user.readReceiver(CancelToken()), Result::Read);
  EXPECT_EQ(text(rig.work.read("LocDrive/Gas.utl")), padded(userData({0x42}), kUserTemplateData));
  // "locut" at 25 ms a byte and 25 ms after, then the reply.
  expectPaced(rig.receivedAfter("locut"), text("locut\r"), 25);

  TemplateDownload trace(rig.context, TemplateKind::Trace, rig.work.path());
  ASSERT_EQ(trace.readReceiver(CancelToken()), Result::Read);
  EXPECT_EQ(rig.stagedNames(), std::vector<std::string>{"Fiber.utl"}); // the user ones are gone
  EXPECT_EQ(text(rig.work.read("LocDrive/Fiber.utl")),
            concat({{kTracePrefix}, padded({0, 0x43}, kTraceTemplateData)}));
}

TEST(TemplateDownloadRead, aSilentReceiverLeavesWhatWasStagedAlone) {
  TransferRig rig({}, silent());
  rig.work.write("LocDrive/Saved.utl", userData({9}));
  TemplateDownload dialog(rig.context, TemplateKind::Marker, rig.work.path());
  EXPECT_EQ(dialog.readReceiver(CancelToken()), Result::NoAnswer);
  EXPECT_EQ(rig.stagedNames(), std::vector<std::string>{"Saved.utl"});
  EXPECT_FALSE(rig.context.portState.isOpen());
}

// ---- Composing the set.

TEST(TemplateDownloadCompose, theReceiversLimitStopsTheNextTemplateWithItsMessage) {
  const struct {
    TemplateKind kind;
    Bytes file;
    std::size_t limit;
    std::string message;
  } cases[] = {
      {TemplateKind::Marker, userData({}), 32,
       "Maximum number of templates in the Locator is :32!!!"},
      {TemplateKind::Trace,
       {kTracePrefix, 0},
       4,
       "Maximum number of templates in the Locator is :4!!!"},
  };
  for (const auto &c : cases) {
    TransferRig rig;
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i <= c.limit; ++i) {
      rig.work.write("Templates/T" + std::to_string(100 + i) + ".utl", c.file);
      all.push_back(i);
    }
    rig.work.write("Templates/Other.utl", Bytes{2, 0}); // neither kind's first byte
    TemplateDownload dialog(rig.context, c.kind, rig.work.path() / "Templates");
    dialog.open();
    ASSERT_EQ(dialog.snapshot().available.size(), c.limit + 1);
    EXPECT_FALSE(dialog.addSelected(all));
    EXPECT_EQ(dialog.snapshot().inReceiver.size(), c.limit);
    EXPECT_EQ(rig.user.messages(), std::vector<std::string>{c.message});
    EXPECT_TRUE(dialog.addSelected({0})); // already there: nothing to add, no message
  }
}

// ---- The download.

struct DownloadRig : TransferRig {
  using TransferRig::TransferRig;
  // count template files of the kind, T0.utl, T1.utl ..., each with its index as data.
  std::vector<fs::path> files(TemplateKind kind, std::size_t count) {
    std::vector<fs::path> paths;
    for (std::size_t i = 0; i < count; ++i) {
      const auto index = static_cast<std::uint8_t>(i);
      const Bytes bytes =
          kind == TemplateKind::Trace ? Bytes{kTracePrefix, 0, index} : userData({index});
      paths.push_back(work.write("Templates/T" + std::to_string(i) + ".utl", bytes));
    }
    return paths;
  }
  // The data field of file i as it goes out.
  static Bytes dataOf(TemplateKind kind, std::size_t i) {
    const auto index = static_cast<std::uint8_t>(i);
    return kind == TemplateKind::Trace ? padded({0, index}, kTraceTemplateData)
                                       : padded(userData({index}), kUserTemplateData);
  }
  static Bytes recordOf(TemplateKind kind, std::size_t i) {
    return concat({padded(text("T" + std::to_string(i)), kTemplateNameField), dataOf(kind, i)});
  }
  std::vector<std::string> statuses(const TemplateDownload &dialog) const {
    return dialog.snapshot().statusLog;
  }
};

std::string asText(const Bytes &bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(TemplateDownloadSend, eachTemplateFollowsItsDataLineAt25msAByte) {
  const struct {
    TemplateKind kind;
    sim::TemplateTable table;
    std::string count;
    std::string data;
  } cases[] = {
      {TemplateKind::Marker, sim::TemplateTable::User, "pcut 2\r", "fdata\r"},
      {TemplateKind::Trace, sim::TemplateTable::Trace, "pcttlen 2\r", "pcttd\r"},
  };
  for (const auto &c : cases) {
    DownloadRig rig;
    TemplateDownload dialog(rig.context, c.kind, rig.work.path());
    ASSERT_TRUE(dialog.chooseFiles(rig.files(c.kind, 2)));
    EXPECT_EQ(dialog.download(CancelToken()), Download::Completed);

    const Bytes first = DownloadRig::recordOf(c.kind, 0);
    EXPECT_EQ(rig.received(), "ruAlive\rkb 12\r" + c.count + c.data + asText(first) + c.data +
                                  asText(DownloadRig::recordOf(c.kind, 1)));
    expectPaced(rig.receivedAfter(c.count), text(c.count), 25);
    const auto afterData = rig.receivedAfter(c.data);
    expectPaced({afterData.begin() + static_cast<long>(c.data.size()), afterData.end()}, first, 25);
    const std::vector<sim::StoredTemplate> stored = {{"T0", DownloadRig::dataOf(c.kind, 0)},
                                                     {"T1", DownloadRig::dataOf(c.kind, 1)}};
    EXPECT_EQ(rig.receiver.templates().of(c.table), stored);

    const auto shown = dialog.snapshot();
    EXPECT_EQ(shown.statusLog, (std::vector<std::string>{kDownloading, sent(1), sent(2)}));
    EXPECT_EQ(shown.itemsDone, 2u);
    EXPECT_FALSE(shown.progressVisible);
    EXPECT_FALSE(shown.busy);
    EXPECT_GT(shown.bytesPerSecond, 0);
    EXPECT_EQ(shown.msLeft, 0);
  }
}

TEST(TemplateDownloadSend, refusedRecordsGoAgainWithinThreeResendsForTheWholeDownload) {
  const struct {
    const char *what;
    std::size_t refuseFirst;
    std::vector<std::size_t> refuseArrivals;
    std::size_t templates;
    Download result;
    std::vector<std::string> statuses;
    std::size_t stored;
  } cases[] = {
      {"two refusals, then the ACK",
       2,
       {},
       1,
       Download::Completed,
       {kDownloading, retry(1), retry(2), sent(1)},
       1},
      {"the retry number continues from an earlier template",
       0,
       {1, 3},
       3,
       Download::Completed,
       {kDownloading, sent(1), retry(1), sent(2), retry(2), sent(3)},
       3},
      {"four refusals end the download",
       4,
       {},
       2,
       Download::NotAcknowledged,
       {kDownloading, retry(1), retry(2), retry(3), kSendError},
       0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    sim::Faults faults;
    faults.templates.refuseRecords = c.refuseFirst;
    faults.templates.refuseArrivals = c.refuseArrivals;
    DownloadRig rig({}, faults);
    TemplateDownload dialog(rig.context, TemplateKind::Marker, rig.work.path());
    ASSERT_TRUE(dialog.chooseFiles(rig.files(TemplateKind::Marker, c.templates)));
    EXPECT_EQ(dialog.download(CancelToken()), c.result);
    EXPECT_EQ(rig.statuses(dialog), c.statuses);
    EXPECT_EQ(rig.receiver.templates().user.size(), c.stored);
    EXPECT_EQ(dialog.snapshot().itemsDone, c.stored);
    EXPECT_EQ(dialog.snapshot().progressPosition, 0);
    EXPECT_TRUE(rig.user.messages().empty());
  }
}

TEST(TemplateDownloadSend, aResendIsTheRecordAloneAfterAFlush) {
  sim::Faults faults;
  faults.templates.refuseRecords = 1;
  DownloadRig rig({}, faults);
  TemplateDownload dialog(rig.context, TemplateKind::Marker, rig.work.path());
  ASSERT_TRUE(dialog.chooseFiles(rig.files(TemplateKind::Marker, 1)));
  EXPECT_EQ(dialog.download(CancelToken()), Download::Completed);
  const std::string record = asText(DownloadRig::recordOf(TemplateKind::Marker, 0));
  EXPECT_EQ(rig.received(), "ruAlive\rkb 12\rpcut 1\rfdata\r" + record + record);
}

TEST(TemplateDownloadSend, whatCannotGoWholeStopsTheDownloadBeforeAnyByte) {
  const struct {
    const char *what;
    std::vector<std::pair<std::string, Bytes>> files;
    std::string message;
    Download result;
  } cases[] = {
      {"nothing on the right", {}, "No files selected for download!", Download::NothingSelected},
      {"a name of 16 characters",
       {{"Fine.utl", userData({})}, {"ABCDEFGHIJKLMNOP.utl", userData({})}},
       "The template name is longer than 15 characters and cannot be sent to the receiver: "
       "ABCDEFGHIJKLMNOP",
       Download::Refused},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    DownloadRig rig;
    std::vector<fs::path> paths;
    for (const auto &[name, bytes] : c.files) {
      paths.push_back(rig.work.write(name, bytes));
    }
    TemplateDownload dialog(rig.context, TemplateKind::Marker, rig.work.path());
    ASSERT_TRUE(dialog.chooseFiles(paths));
    EXPECT_EQ(dialog.download(CancelToken()), c.result);
    EXPECT_EQ(rig.user.messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(rig.received(), "");
  }
}

TEST(TemplateDownloadSend, aSecondDownloadIsRefusedWhileAToolHoldsThePort) {
  DownloadRig rig;
  TemplateDownload dialog(rig.context, TemplateKind::Marker, rig.work.path());
  ASSERT_TRUE(dialog.chooseFiles(rig.files(TemplateKind::Marker, 1)));
  ASSERT_TRUE(rig.context.portLease.tryAcquire()); // the download under way
  EXPECT_EQ(dialog.download(CancelToken()), Download::Busy);
  EXPECT_EQ(rig.received(), "");
}

// ---- Saving before an upgrade and restoring afterwards.

TEST(TemplateUpgrade, theSaveAsksForLocutAt10msAByteAndStagesEachTemplate) {
  TransferRig rig;
  rig.receiver.templates() = kMemory;
  Console console(rig.context);
  const StageReport saved = SaveUserTemplatesBeforeUpgrade(console, rig.work.path());
  EXPECT_EQ(saved.end, StageReport::End::Staged);
  EXPECT_EQ(rig.received(), "locut\r");
  expectPaced(rig.receivedAfter("locut"), text("locut\r"), 10);
  EXPECT_EQ(rig.stagedNames(), (std::vector<std::string>{"ABCDEFGHIJKLMNO.utl", "Gas.utl"}));
}

TEST(TemplateUpgrade, theRestoreSendsEveryStagedTemplateThenClearsTheFolder) {
  TransferRig rig;
  rig.receiver.templates() = kMemory;
  Console console(rig.context);
  ASSERT_EQ(SaveUserTemplatesBeforeUpgrade(console, rig.work.path()).end, StageReport::End::Staged);
  rig.receiver.templates() = {}; // the upgrade lost them
  rig.receiver.clearTranscript();

  const RestoreReport restored = SendSavedUserTemplates(console, rig.work.path());
  EXPECT_TRUE(restored.restored());
  EXPECT_EQ(restored.staged, 2u);
  const Bytes first = concat({text("ABCDEFGHIJKLMNO"), padded(userData({0x41}), 113)});
  const Bytes second = concat({padded(text("Gas"), 15), padded(userData({0x42}), 113)});
  EXPECT_EQ(rig.received(), "pcut 2\rfdata\r" + asText(first) + "fdata\r" + asText(second));
  expectPaced(rig.receivedAfter("pcut"), text("pcut 2\r"), 10);
  const auto afterData = rig.receivedAfter("fdata");
  expectPaced(afterData, text("fdata\r"), 10);
  expectPaced({afterData.begin() + 6, afterData.end()}, first, 25);
  EXPECT_EQ(rig.receiver.templates().user,
            (std::vector<sim::StoredTemplate>{{"ABCDEFGHIJKLMNO", padded(userData({0x41}), 113)},
                                              {"Gas", padded(userData({0x42}), 113)}}));
  EXPECT_FALSE(fs::exists(rig.staging()));
  EXPECT_EQ(restoreFailureText(rig.context.strings, restored, rig.work.path()), "");
}

TEST(TemplateUpgrade, aRestoreTheReceiverRefusesKeepsTheStagedTemplates) {
  sim::Faults faults;
  faults.templates.refuseRecords = 4;
  TransferRig rig({}, faults);
  rig.receiver.templates() = kMemory;
  Console console(rig.context);
  ASSERT_EQ(SaveUserTemplatesBeforeUpgrade(console, rig.work.path()).end, StageReport::End::Staged);
  const RestoreReport restored = SendSavedUserTemplates(console, rig.work.path());
  EXPECT_FALSE(restored.restored());
  EXPECT_EQ(restored.send.end, SendReport::End::NotAcknowledged);
  EXPECT_EQ(rig.stagedNames(), (std::vector<std::string>{"ABCDEFGHIJKLMNO.utl", "Gas.utl"}));
  EXPECT_EQ(restoreFailureText(rig.context.strings, restored, rig.work.path()),
            "Not every saved user template was sent back to the receiver. They are kept in " +
                rig.staging().string());
}

} // namespace
} // namespace tarnwick
