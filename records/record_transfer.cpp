#include "record_transfer.h"

#include "commands.h"
#include "eeprom_lines.h"
#include "port_settings.h"
#include "receiver_identity.h"
#include "record_file.h"
#include "record_upload.h"

#include <filesystem>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr int kLineGapMs = cmd::kGapDefaultMs; // "kb 12", the upload commands, the clears

std::string_view clearCommand(RecordKind kind) {
  switch (currentKind(kind)) {
  case RecordKind::ProgrammedMarkers:
    return cmd::kClearProgrammedMarkers;
  case RecordKind::CableData:
    return cmd::kClearCableData;
  default:
    return cmd::kClearReadMarkers;
  }
}

} // namespace

std::optional<int> cableMinimumVersion(int modelCode) {
  if (modelCode >= 30 && modelCode <= 39) {
    return 21;
  }
  const bool newer = modelCode == 1 || modelCode == 3 || modelCode == 5 || modelCode == 7 ||
                     modelCode == 9 || (modelCode >= 40 && modelCode <= 50) || modelCode == 52 ||
                     modelCode == 53 || modelCode == 54;
  return newer ? std::optional(39) : std::nullopt;
}

CableSupport checkCableSupport(Console &console, const std::function<void()> &upgrade) {
  AppContext &context = console.context();
  if (const Outcome alive = console.CheckAlive(cmd::kAliveBoundMs); !succeeded(alive)) {
    endExchange(context, alive, sid::kErrorCommunicating);
    return alive == Outcome::Cancelled ? CableSupport::Cancelled : CableSupport::NoAnswer;
  }
  const auto identity = readIdentity(console);
  if (console.cancelled()) {
    return CableSupport::Cancelled;
  }
  const auto minimum = identity ? cableMinimumVersion(identity->modelCode) : std::nullopt;
  if (!minimum) {
    context.showMessage(sid::kCableDataNotSupported);
    return CableSupport::NotSupported;
  }
  if (identity->softwareVersion < *minimum) {
    context.showMessage(sid::kFeatureNotInstalled);
    return CableSupport::NotInstalled;
  }
  if (identity->softwareVersion > *minimum) {
    return CableSupport::Supported;
  }
  if (!upgrade) {
    context.showMessage(sid::kOlderSoftwareNoDateTime);
  } else if (context.user.ask(context.text(sid::kOlderSoftwareNoDateTime), Buttons::YesNo) ==
             Answer::Yes) {
    upgrade();
  }
  return CableSupport::OlderSoftware;
}

DeletionResult deleteReceiverRecords(Console &console, RecordKind kind) {
  AppContext &context = console.context();
  Outcome outcome = console.SendCommandLine(clearCommand(kind), kLineGapMs);
  if (succeeded(outcome)) {
    outcome = console.Pause(cmd::kEepromWritePauseMs) ? console.SendReset() : Outcome::Cancelled;
  }
  switch (outcome) {
  case Outcome::Ok:
    return DeletionResult::Deleted;
  case Outcome::Cancelled:
    return DeletionResult::Cancelled;
  case Outcome::WriteFailed:
    endExchange(context, outcome, sid::kFailedToWriteComport);
    return DeletionResult::WriteFailed;
  default:
    context.showMessage(sid::kRestartLocator);
    return DeletionResult::RestartNotSeen;
  }
}

bool RecordTransfer::prepare(Request request) {
  if (running_.load()) {
    return false;
  }
  request_ = std::move(request);
  return true;
}

bool RecordTransfer::begin() {
  if (running_.exchange(true)) {
    context_.showMessage(sid::kDownloadInProgress);
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    snapshot_ = Snapshot{};
  }
  if (!ensurePortOpen(context_, EnsureOpenForm::Standard)) {
    finish(Result::PortNotOpen);
    return false;
  }
  return true;
}

void RecordTransfer::run(const CancelToken &cancel) {
  Console console(context_, &cancel);
  const Result result = execute(console);
  finish(console.cancelled() ? Result::Cancelled : result);
}

RecordTransfer::Result RecordTransfer::pull(Request request, const CancelToken &cancel) {
  if (!prepare(std::move(request))) {
    context_.showMessage(sid::kDownloadInProgress);
    return Result::Refused;
  }
  if (runToCompletion(*this, context_.portLease, cancel) == ToolRun::Refused) {
    context_.showMessage(sid::kDownloadInProgress);
    return Result::Refused;
  }
  std::lock_guard lock(mutex_);
  return snapshot_.result.value_or(Result::Refused);
}

RecordTransfer::Result RecordTransfer::execute(Console &console) {
  if (const auto refused = cableCheck(console)) {
    return *refused;
  }
  if (const auto ended = chooseFile()) {
    return *ended;
  }
  if (const Outcome sent = console.SendCommandLine(cmd::kKb12, kLineGapMs); !succeeded(sent)) {
    return failed(sent);
  }
  switch (currentKind(request_.kind)) {
  case RecordKind::CableData:
    return readCableRecords(console);
  case RecordKind::ProgrammedMarkers:
    if (const auto ended = exchange(console, cmd::kProgrammedRecords)) {
      return *ended;
    }
    return readRecords(console);
  default:
    if (const auto ended = exchange(console, cmd::kReadRecords)) {
      return *ended;
    }
    return readRecords(console);
  }
}

std::optional<RecordTransfer::Result> RecordTransfer::cableCheck(Console &console) {
  if (!isCable(request_.kind)) {
    return std::nullopt;
  }
  switch (checkCableSupport(console, request_.upgrade)) {
  case CableSupport::Supported:
    return std::nullopt;
  case CableSupport::OlderSoftware: {
    std::lock_guard lock(mutex_);
    snapshot_.olderSoftware = true;
    return std::nullopt;
  }
  case CableSupport::NoAnswer:
    return Result::NoAnswer;
  case CableSupport::NotSupported:
    return Result::NotSupported;
  case CableSupport::NotInstalled:
    return Result::NotInstalled;
  case CableSupport::Cancelled:
    break;
  }
  return Result::Cancelled;
}

std::optional<RecordTransfer::Result> RecordTransfer::chooseFile() {
  return request_.destination ? useDestination(*request_.destination) : askForFile();
}

std::optional<RecordTransfer::Result>
RecordTransfer::useDestination(const PullDestination &destination) {
  RecordList &list = workspace_.list(request_.kind);
  list.reset(currentKind(request_.kind));
  file_ = withKindExtension(destination.file, request_.kind);
  std::error_code error;
  if (destination.append && fs::exists(file_, error)) {
    if (files_.load(list, file_) != RecordFiles::Outcome::Done) {
      return Result::FileUnreadable;
    }
  }
  list.bind(file_);
  return std::nullopt;
}

// The dialog's questions: unsaved changes, then a new file or one to add to.
std::optional<RecordTransfer::Result> RecordTransfer::askForFile() {
  RecordList &list = workspace_.list(request_.kind);
  if (!files_.askToSaveChanges(list)) {
    return Result::Abandoned;
  }
  const Answer add =
      context_.user.ask(context_.text(sid::kAddToExistingFile), Buttons::YesNoCancel);
  const RecordKindInfo &info = kindInfo(currentKind(request_.kind));
  const std::string folder = files_.startFolder().string();
  if (add == Answer::No) {
    list.reset(currentKind(request_.kind));
    const auto chosen = context_.user.saveFile(
        {"", std::string(info.saveFilter), folder, std::string(info.savePattern)});
    if (!chosen) {
      return Result::Abandoned;
    }
    file_ = withKindExtension(*chosen, request_.kind);
    workspace_.currentFolder = file_.parent_path();
    list.bind(file_);
    return std::nullopt;
  }
  if (add == Answer::Yes) {
    const std::string filter = std::string(info.saveFilter);
    const auto chosen = context_.user.openFile({"", filter, folder, std::string(info.savePattern)});
    if (!chosen) {
      return Result::Abandoned;
    }
    if (files_.load(list, *chosen) != RecordFiles::Outcome::Done) {
      return Result::FileUnreadable;
    }
    file_ = *chosen;
    return std::nullopt;
  }
  return Result::Abandoned;
}

std::optional<RecordTransfer::Result> RecordTransfer::exchange(Console &console,
                                                               std::string_view command) {
  console.FlushInput();
  if (const Outcome echoed = console.SendEchoedLine(command, kLineGapMs); !succeeded(echoed)) {
    return failed(echoed);
  }
  return std::nullopt;
}

RecordTransfer::Result RecordTransfer::readRecords(Console &console) {
  RecordList &list = workspace_.list(request_.kind);
  const RecordKind kind = list.kind();
  UploadSink sink;
  sink.announced = [&](std::size_t count) {
    startProgress(count);
    if (count == 0) {
      show(kind == RecordKind::ProgrammedMarkers ? sid::kNoProgrammedData : sid::kNoReadData);
    }
  };
  sink.record = [&](std::vector<std::uint8_t> record) {
    RecordEntry entry;
    entry.row = decodeMarkerRecord(record, glossary_);
    entry.raw = std::move(record);
    list.append(std::move(entry));
    recordArrived();
  };
  return finishRead(console, readMarkerUpload(console, sink));
}

RecordTransfer::Result RecordTransfer::readCableRecords(Console &console) {
  if (const auto ended = exchange(console, cmd::kReadCableCount)) {
    return *ended;
  }
  const auto high = console.ReadErField();
  const auto low = high ? console.ReadErField() : std::nullopt;
  if (!low) {
    return failed(console.unlessCancelled(Outcome::Silent));
  }
  const std::size_t count = cableCount(*high, *low);
  if (count == 0) {
    show(sid::kNoCableData);
    return Result::NoCableData;
  }
  const auto bytes = static_cast<std::uint32_t>(count * kCableRecordBytes);
  if (const auto ended = exchange(console, erLine(cmd::kCableDataAddress, bytes))) {
    return *ended;
  }
  RecordList &list = workspace_.list(request_.kind);
  UploadSink sink;
  sink.announced = [&](std::size_t total) { startProgress(total); };
  sink.record = [&](std::vector<std::uint8_t> record) {
    RecordEntry entry;
    entry.row = decodeCableRecord(record, glossary_);
    entry.raw = std::move(record);
    list.append(std::move(entry));
    recordArrived();
  };
  return finishRead(console, readCableUpload(console, count, sink));
}

RecordTransfer::Result RecordTransfer::finishRead(Console &console, const UploadRead &read) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.progressVisible = false;
    snapshot_.progressPosition = 0;
  }
  RecordList &list = workspace_.list(request_.kind);
  if (read.received > 0) {
    list.markModified(); // what arrived is kept in the list, saved or not
  }
  if (!succeeded(read.outcome)) {
    if (!read.diagnostic.empty() && read.outcome == Outcome::Silent) {
      show(read.diagnostic);
    }
    return failed(read.outcome);
  }
  for (std::size_t i = 0; i < cmd::kRecordPromptChars; ++i) {
    (void)console.ReadByte();
  }
  return saveAndOffer(console, read.announced == 0);
}

RecordTransfer::Result RecordTransfer::saveAndOffer(Console &console, bool noRecords) {
  RecordList &list = workspace_.list(request_.kind);
  list.markModified();
  if (files_.writeTo(list, file_) != RecordFiles::Outcome::Done) {
    return Result::SaveFailed;
  }
  {
    std::lock_guard lock(mutex_);
    snapshot_.file = file_;
  }
  if (!list.empty()) {
    const DeletionResult deletion =
        deletionWanted() ? deleteReceiverRecords(console, request_.kind) : DeletionResult::Declined;
    std::lock_guard lock(mutex_);
    snapshot_.deletion = deletion;
  }
  return noRecords ? Result::NoRecords : Result::Saved;
}

bool RecordTransfer::deletionWanted() {
  switch (request_.deletion) {
  case DeletionChoice::Delete:
    return true;
  case DeletionChoice::Keep:
    return false;
  case DeletionChoice::Ask:
    break;
  }
  UserPort &user = context_.user;
  return user.ask(context_.text(sid::kDeleteRecordsFromLocator), Buttons::YesNo) == Answer::Yes &&
         user.ask(context_.text(sid::kCannotBeUndone), Buttons::YesNo) == Answer::Yes;
}

RecordTransfer::Result RecordTransfer::failed(Outcome outcome) {
  switch (outcome) {
  case Outcome::Cancelled:
    return Result::Cancelled;
  case Outcome::WriteFailed:
    show(context_.text(sid::kFailedToWriteComport));
    failureClose(context_);
    return Result::WriteFailed;
  default:
    show(sid::kNoOrWrongResponse);
    return Result::NoResponse;
  }
}

void RecordTransfer::show(StringId id) {
  show(context_.text(id));
}

void RecordTransfer::show(const std::string &text) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.status = text;
    snapshot_.statusLog.push_back(text);
  }
  context_.user.message(text);
}

void RecordTransfer::startProgress(std::size_t total) {
  startedMs_ = context_.clock.nowMs();
  std::lock_guard lock(mutex_);
  snapshot_.progressVisible = true;
  snapshot_.progressMax = total;
  snapshot_.progressPosition = 0;
  snapshot_.recordsTotal = total;
  snapshot_.recordsReceived = 0;
}

void RecordTransfer::recordArrived() {
  const double seconds = static_cast<double>(context_.clock.nowMs() - startedMs_) / 1000.0;
  std::lock_guard lock(mutex_);
  const std::size_t done = ++snapshot_.recordsReceived;
  snapshot_.progressPosition = done;
  if (seconds > 0) {
    snapshot_.recordsPerSecond = static_cast<double>(done) / seconds;
    snapshot_.secondsLeft =
        static_cast<double>(snapshot_.recordsTotal - done) / snapshot_.recordsPerSecond;
  }
}

void RecordTransfer::finish(Result result) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.result = result;
    snapshot_.progressVisible = false;
  }
  running_.store(false);
}

RecordTransfer::Snapshot RecordTransfer::snapshot() const {
  std::lock_guard lock(mutex_);
  Snapshot copy = snapshot_;
  copy.running = running_.load();
  return copy;
}

} // namespace tarnwick
