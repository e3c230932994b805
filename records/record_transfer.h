// Pulling one record set off the receiver into its list and record file:
// the cable support check, the save-changes and file questions, "kb 12",
// the echoed upload command, the records, a verified save, and the deletion
// on the receiver, offered only once the file reads back as written.
//
// A tool (link/tool.h): begin() refuses a second transfer and opens the
// port; run() does the rest, asking its questions through the UserPort.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "console.h"
#include "glossary.h"
#include "record_files.h"
#include "record_upload.h"
#include "record_workspace.h"
#include "tool.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

// The minimum software for cable records by model code; nothing for a
// model without them.
std::optional<int> cableMinimumVersion(int modelCode);

enum class CableSupport {
  Supported,
  OlderSoftware, // exactly the minimum: records without date and time (110 asked)
  NoAnswer,      // no "Y": 61285, port closed
  NotSupported,  // 111
  NotInstalled,  // 109
  Cancelled,
};

// "ruAlive", "locsw" and the model's minimum version; the messages shown.
// upgrade: run on Yes to question 110; without one, 110 is shown as a
// message and the transfer goes on as after No.
CableSupport checkCableSupport(Console &console, const std::function<void()> &upgrade);

enum class DeletionResult {
  NotOffered,     // no records, or the save did not succeed
  Declined,       // an answer was No, or deletion was not asked for
  Deleted,        // cleared, and the banner came after "swreset"
  RestartNotSeen, // cleared, but no "Revision": 61381
  WriteFailed,    // the port refused a byte: 61274, port closed
  Cancelled,
};

// The clear command of the kind, 100 ms, "swreset" and the banner.
DeletionResult deleteReceiverRecords(Console &console, RecordKind kind);

// Where a transfer saves when the caller already knows (the command line):
// the questions 61376 and the file dialogs are then not asked.
struct PullDestination {
  std::filesystem::path file; // the kind's extension appended when it has no "."
  bool append = false;        // load file first (when it exists) and append
};

enum class DeletionChoice { Ask, Delete, Keep };

class RecordTransfer final : public Tool {
public:
  enum class Result {
    Saved,          // records read and the file verified
    NoRecords,      // count 0 (61383/61384); a marker list was still saved
    NoCableData,    // count 0 for cable records; nothing saved
    PortNotOpen,    // the Communication Options dialog was cancelled
    Refused,        // a transfer was already running: 61287
    Abandoned,      // the user cancelled a question or a file dialog
    FileUnreadable, // the file to append to could not be read: 61386
    NoAnswer,       // no "Y" to "ruAlive": 61285
    NotSupported,   // 111
    NotInstalled,   // 109
    NoResponse,     // wrong or missing echo or record byte: 61377
    WriteFailed,    // the port refused a byte: 61274
    SaveFailed,     // the file could not be written or did not read back the same
    Cancelled,      // the dialog was closed or Ctrl-C
  };

  struct Request {
    RecordKind kind = RecordKind::ReadMarkers;
    std::optional<PullDestination> destination; // nothing: ask as the dialog does
    DeletionChoice deletion = DeletionChoice::Ask;
    std::function<void()> upgrade; // for question 110; none: shown, answered No
  };

  struct Snapshot {
    std::optional<std::string> status;  // the last message shown
    std::vector<std::string> statusLog; // every message of the last transfer, in order
    bool progressVisible = false;
    std::size_t progressMax = 0;
    std::size_t progressPosition = 0;
    std::size_t recordsReceived = 0;
    std::size_t recordsTotal = 0;
    double recordsPerSecond = 0;       // since the count arrived
    std::optional<double> secondsLeft; // once a rate is known
    bool running = false;
    bool olderSoftware = false; // question 110 came up
    std::filesystem::path file; // where the records were saved
    std::optional<Result> result;
    DeletionResult deletion = DeletionResult::NotOffered;
  };

  RecordTransfer(AppContext &context, RecordWorkspace &workspace, const Glossary &glossary)
      : context_(context), workspace_(workspace), glossary_(glossary),
        files_(context, workspace, glossary) {}

  // What the next begin()/run() does; false while a transfer runs.
  bool prepare(Request request);
  // 61287 while a transfer runs; the Communication Options dialog when the
  // port is closed. False when the transfer ends here.
  bool begin() override;
  void run(const CancelToken &cancel) override;
  // prepare(), then everything on this thread holding the port lease.
  Result pull(Request request, const CancelToken &cancel);

  Snapshot snapshot() const;
  bool running() const { return running_.load(); }

private:
  Result execute(Console &console);
  std::optional<Result> cableCheck(Console &console);
  std::optional<Result> chooseFile();
  std::optional<Result> useDestination(const PullDestination &destination);
  std::optional<Result> askForFile();
  std::optional<Result> exchange(Console &console, std::string_view command);
  Result readRecords(Console &console);
  Result readCableRecords(Console &console);
  Result finishRead(Console &console, const UploadRead &read);
  Result saveAndOffer(Console &console, bool noRecords);
  bool deletionWanted();
  Result failed(Outcome outcome);

  void show(StringId id);
  void show(const std::string &text);
  void startProgress(std::size_t total);
  void recordArrived();
  void finish(Result result);

  AppContext &context_;
  RecordWorkspace &workspace_;
  const Glossary &glossary_;
  RecordFiles files_;
  Request request_;
  std::filesystem::path file_;
  std::atomic<bool> running_{false};
  std::int64_t startedMs_ = 0;
  mutable std::mutex mutex_;
  Snapshot snapshot_;
};

} // namespace tarnwick
