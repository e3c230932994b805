#include "template_download.h"

#include "error_reason.h"
#include "port_settings.h"
#include "receiver_identity.h"

#include <algorithm>
#include <utility>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr int kUiBusy = 0;
constexpr int kUiIdle = 1;

bool contains(const std::vector<TemplateEntry> &entries, const TemplateEntry &entry) {
  return std::any_of(entries.begin(), entries.end(),
                     [&entry](const TemplateEntry &e) { return e.text() == entry.text(); });
}

TemplateEntry entryFor(const fs::path &file) {
  return {file.filename().string(), file};
}

} // namespace

bool TemplateDownload::Snapshot::enabled(int controlId) const {
  switch (controlId) {
  case kDownloadButton:
  case kExitButton:
    return !busy;
  case kCancelDownloadButton:
    return busy;
  default:
    break;
  }
  return true;
}

TemplateDownload::TemplateDownload(AppContext &context, TemplateKind kind, fs::path templateFolder)
    : context_(context), kind_(kind == TemplateKind::Trace ? kind : TemplateKind::Marker),
      staging_(stagingFolderOf(context.workingFolder)) {
  snapshot_.kind = kind_;
  snapshot_.templateFolder = std::move(templateFolder);
}

void TemplateDownload::open() {
  setStatus(sid::kClickDownloadSelected);
  fillAvailable();
}

void TemplateDownload::setTemplateFolder(fs::path folder) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.templateFolder = std::move(folder);
  }
  fillAvailable();
}

void TemplateDownload::refresh() {
  setStatus(sid::kEstablishingConnection);
  std::lock_guard lock(mutex_);
  snapshot_.inReceiver.clear();
}

void TemplateDownload::fillAvailable() {
  fs::path folder;
  {
    std::lock_guard lock(mutex_);
    folder = snapshot_.templateFolder;
  }
  auto available = listTemplateFolder(folder, kind_);
  std::lock_guard lock(mutex_);
  snapshot_.available = std::move(available);
}

std::string TemplateDownload::limitText() const {
  return context_.text(sid::kMaxTemplatesInLocator) + std::to_string(receiverTemplateLimit(kind_)) +
         "!!!";
}

bool TemplateDownload::addSelected(const std::vector<std::size_t> &selected) {
  std::unique_lock lock(mutex_);
  for (const std::size_t position : selected) {
    if (position >= snapshot_.available.size()) {
      continue;
    }
    const TemplateEntry &entry = snapshot_.available[position];
    if (contains(snapshot_.inReceiver, entry)) {
      continue;
    }
    if (snapshot_.inReceiver.size() >= receiverTemplateLimit(kind_)) {
      lock.unlock();
      context_.user.message(limitText());
      return false;
    }
    snapshot_.inReceiver.push_back(entry);
  }
  return true;
}

void TemplateDownload::removeSelected(const std::vector<std::size_t> &selected) {
  std::lock_guard lock(mutex_);
  std::vector<TemplateEntry> kept;
  for (std::size_t i = 0; i < snapshot_.inReceiver.size(); ++i) {
    if (std::find(selected.begin(), selected.end(), i) == selected.end()) {
      kept.push_back(std::move(snapshot_.inReceiver[i]));
    }
  }
  snapshot_.inReceiver = std::move(kept);
}

void TemplateDownload::removeAll() {
  std::lock_guard lock(mutex_);
  snapshot_.inReceiver.clear();
}

bool TemplateDownload::chooseFiles(const std::vector<fs::path> &files) {
  if (files.size() > receiverTemplateLimit(kind_)) {
    context_.user.message(limitText());
    return false;
  }
  std::vector<TemplateEntry> entries;
  std::transform(files.begin(), files.end(), std::back_inserter(entries), entryFor);
  std::lock_guard lock(mutex_);
  snapshot_.inReceiver = std::move(entries);
  return true;
}

void TemplateDownload::cancelDownload() {
  context_.user.ask(context_.text(sid::kInterruptionWarning), Buttons::Ok);
}

TemplateDownload::ReadResult TemplateDownload::readReceiver(const CancelToken &cancel) {
  if (runToCompletion(reading_, context_.portLease, cancel) == ToolRun::Refused) {
    return ReadResult::Busy;
  }
  std::lock_guard lock(mutex_);
  return snapshot_.readResult.value_or(ReadResult::Busy);
}

TemplateDownload::DownloadResult TemplateDownload::download(const CancelToken &cancel) {
  if (runToCompletion(downloading_, context_.portLease, cancel) == ToolRun::Refused) {
    return DownloadResult::Busy;
  }
  std::lock_guard lock(mutex_);
  return snapshot_.downloadResult.value_or(DownloadResult::Busy);
}

// ---- Reading the receiver's templates.

bool TemplateDownload::Reading::begin() {
  if (ensurePortOpen(owner_.context_, EnsureOpenForm::Standard)) {
    return true;
  }
  owner_.setReadResult(ReadResult::PortNotOpen);
  std::lock_guard lock(owner_.mutex_);
  owner_.snapshot_.inReceiver.clear();
  return false;
}

void TemplateDownload::Reading::run(const CancelToken &cancel) {
  Console console(owner_.context_, &cancel);
  const ReadResult result = owner_.ReadReceiverTemplates(console);
  owner_.setReadResult(console.cancelled() ? ReadResult::Cancelled : result);
}

// Only a reading that emptied the staging folder for this receiver lists it:
// what an earlier reading or an upgrade left there is not this receiver's.
void TemplateDownload::Reading::onTimer() {
  std::vector<TemplateEntry> staged;
  const auto result = owner_.snapshot().readResult;
  if (result == ReadResult::Read || result == ReadResult::NotRead) {
    staged = ListStagedTemplates(owner_.staging_);
  }
  std::lock_guard lock(owner_.mutex_);
  owner_.snapshot_.inReceiver = std::move(staged);
}

// A silent receiver ends the reading before anything in the staging folder
// is touched, so that templates saved there are not lost to a loose cable.
TemplateDownload::ReadResult TemplateDownload::ReadReceiverTemplates(Console &console) {
  if (const Outcome alive = console.CheckAlive(cmd::kAliveBoundMs); !succeeded(alive)) {
    return communicationEnded(console, alive);
  }
  if (const Outcome sent = console.SendCommandLine(cmd::kKb12); !succeeded(sent)) {
    return communicationEnded(console, sent);
  }
  console.FlushInput();
  IdentityQuery query;
  query.statusBoundMs = cmd::kTemplateReplyBoundMs;
  const auto identity = readIdentity(console, query);
  if (!identity) {
    return communicationEnded(console, Outcome::Silent);
  }
  const auto family = templateFamilyOf(identity->modelCode);
  if (!family) {
    return ReadResult::UnknownModel;
  }
  if (identity->softwareVersion < context_.shippedVersions.version(family->slot)) {
    context_.showMessage(sid::kTraceTemplatesNotSupported);
    return ReadResult::VersionLower;
  }
  if (!readsTemplateTable(kind_, *family, identity->softwareVersion)) {
    const std::error_code error = ClearStaging(staging_);
    return error ? stagingFailed({StageReport::End::StagingFailed, {}, staging_, error})
                 : ReadResult::NotRead;
  }
  return readTable(console);
}

TemplateDownload::ReadResult TemplateDownload::readTable(Console &console) {
  console.FlushInput(); // what is left of the "locsw" reply
  TemplateTableHeader header;
  if (const Outcome asked = RequestTemplateTable(console, kind_, cmd::kGapDefaultMs, header);
      !succeeded(asked)) {
    return communicationEnded(console, asked);
  }
  const StageReport staged = StageTemplateTable(console, header, kind_, staging_);
  switch (staged.end) {
  case StageReport::End::Staged:
    return ReadResult::Read;
  case StageReport::End::StagingFailed:
    return stagingFailed(staged);
  case StageReport::End::WriteFailed:
    return communicationEnded(console, Outcome::WriteFailed);
  case StageReport::End::Silent:
  case StageReport::End::Cancelled:
    break;
  }
  return communicationEnded(console, Outcome::Silent);
}

TemplateDownload::ReadResult TemplateDownload::communicationEnded(Console &console,
                                                                  Outcome outcome) {
  outcome = console.unlessCancelled(outcome);
  if (outcome == Outcome::Cancelled) {
    return ReadResult::Cancelled;
  }
  endExchange(context_, outcome, sid::kErrorCommunicating);
  const bool writeFailed = outcome == Outcome::WriteFailed;
  setStatus(writeFailed ? sid::kFailedToWriteComport : sid::kErrorCommunicating);
  return writeFailed ? ReadResult::WriteFailed : ReadResult::NoAnswer;
}

TemplateDownload::ReadResult TemplateDownload::stagingFailed(const StageReport &report) {
  const std::string text = report.failedPath == staging_
                               ? context_.text(sid::kStagingNotCleared) + staging_.string() + " (" +
                                     fileFailureReason(report.error) + ")"
                               : notSavedText(context_.strings, report.failedPath, report.error);
  context_.user.message(text);
  setStatus(text);
  return ReadResult::StagingFailed;
}

// ---- The download.

bool TemplateDownload::Downloading::begin() {
  return owner_.beginDownload();
}

void TemplateDownload::Downloading::run(const CancelToken &cancel) {
  Console console(owner_.context_, &cancel);
  const DownloadResult result = owner_.runDownload(console);
  owner_.setDownloadResult(console.cancelled() ? DownloadResult::Cancelled : result);
  owner_.SetUiState(kUiIdle);
  owner_.downloadRunning_.store(false);
}

// Every file is read and checked before the first byte goes out: a template
// that cannot be sent whole stops the download here.
bool TemplateDownload::beginDownload() {
  if (downloadRunning_.load()) {
    context_.showMessage(sid::kDownloadInProgress);
    setDownloadResult(DownloadResult::InProgress);
    return false;
  }
  const std::vector<TemplateEntry> entries = snapshot().inReceiver;
  if (entries.empty()) {
    context_.showMessage(sid::kNoFilesSelected);
    setDownloadResult(DownloadResult::NothingSelected);
    return false;
  }
  std::vector<OutgoingTemplate> outgoing;
  for (const TemplateEntry &entry : entries) {
    PreparedTemplate prepared = prepareTemplate(entry.path, kind_);
    if (prepared.refusal) {
      context_.user.message(prepared.refusal->text(context_.strings));
      setDownloadResult(DownloadResult::Refused);
      return false;
    }
    outgoing.push_back(std::move(*prepared.outgoing));
  }
  if (!ensurePortOpen(context_, EnsureOpenForm::Standard)) {
    setDownloadResult(DownloadResult::PortNotOpen);
    return false;
  }
  outgoing_ = std::move(outgoing);
  downloadRunning_.store(true);
  SetUiState(kUiBusy);
  return true;
}

TemplateDownload::DownloadResult TemplateDownload::runDownload(Console &console) {
  Outcome outcome = console.CheckAlive(cmd::kAliveBoundMs);
  if (succeeded(outcome)) {
    outcome = console.SendCommandLine(cmd::kKb12);
  }
  if (!succeeded(outcome)) {
    outcome = console.unlessCancelled(outcome);
    if (outcome == Outcome::Cancelled) {
      return DownloadResult::Cancelled;
    }
    endExchange(context_, outcome, sid::kErrorCommunicating);
    return outcome == Outcome::WriteFailed ? DownloadResult::WriteFailed : DownloadResult::NoAnswer;
  }
  setStatus(sid::kDownloadingPleaseWait);
  {
    std::lock_guard lock(mutex_);
    snapshot_.itemsDone = 0;
    snapshot_.bytesPerSecond = 0;
    snapshot_.msLeft.reset();
  }
  downloadStartMs_ = context_.clock.nowMs();
  const SendReport report =
      SendTemplates(console, kind_, outgoing_, cmd::kGapDefaultMs, progressObserver());
  return downloadEnded(console, report);
}

TemplateDownload::DownloadResult TemplateDownload::downloadEnded(Console &console,
                                                                 const SendReport &report) {
  switch (report.end) {
  case SendReport::End::Sent:
    if (!console.Pause(cmd::kTemplateSettleMs)) {
      return DownloadResult::Cancelled;
    }
    showProgress(false, static_cast<int>(outgoing_.size()), 0);
    return DownloadResult::Completed;
  case SendReport::End::NotAcknowledged:
    setStatus(sid::kErrorSendingTemplate);
    showProgress(snapshot().progressVisible, static_cast<int>(outgoing_.size()), 0);
    return DownloadResult::NotAcknowledged;
  case SendReport::End::WriteFailed:
    showProgress(false, static_cast<int>(outgoing_.size()), 0);
    endExchange(context_, Outcome::WriteFailed, sid::kErrorCommunicating);
    return DownloadResult::WriteFailed;
  case SendReport::End::Cancelled:
    break;
  }
  showProgress(false, static_cast<int>(outgoing_.size()), 0);
  return DownloadResult::Cancelled;
}

SendObserver TemplateDownload::progressObserver() {
  SendObserver observer;
  observer.onCounted = [this](std::size_t count) {
    showProgress(true, static_cast<int>(count), 0);
  };
  observer.onResend = [this](int retry) {
    setStatus(context_.text(sid::kDataNotWrittenRetry) + std::to_string(retry) + "...");
  };
  observer.onSent = [this](std::size_t sent) {
    countSent(sent);
    setStatus(context_.text(sid::kSentPrefix) + std::to_string(sent) +
              context_.text(sid::kTemplatesSuffix));
  };
  return observer;
}

void TemplateDownload::countSent(std::size_t sent) {
  const std::size_t recordBytes = kTemplateNameField + templateDataField(kind_);
  const std::int64_t elapsed = std::max<std::int64_t>(1, context_.clock.nowMs() - downloadStartMs_);
  const double done = static_cast<double>(sent * recordBytes);
  const double left = static_cast<double>((outgoing_.size() - sent) * recordBytes);
  std::lock_guard lock(mutex_);
  snapshot_.itemsDone = sent;
  snapshot_.progressPosition = static_cast<int>(sent);
  snapshot_.bytesPerSecond = done * 1000.0 / static_cast<double>(elapsed);
  snapshot_.msLeft = static_cast<std::int64_t>(left * static_cast<double>(elapsed) / done);
}

void TemplateDownload::SetUiState(int mode) {
  std::lock_guard lock(mutex_);
  snapshot_.busy = mode == kUiBusy;
}

// ---- The snapshot.

TemplateDownload::Snapshot TemplateDownload::snapshot() const {
  std::lock_guard lock(mutex_);
  return snapshot_;
}

void TemplateDownload::setStatus(const std::string &text) {
  std::lock_guard lock(mutex_);
  snapshot_.status = text;
  snapshot_.statusLog.push_back(text);
}

void TemplateDownload::showProgress(bool visible, int max, int position) {
  std::lock_guard lock(mutex_);
  snapshot_.progressVisible = visible;
  snapshot_.progressMax = max;
  snapshot_.progressPosition = position;
}

void TemplateDownload::setReadResult(ReadResult result) {
  std::lock_guard lock(mutex_);
  snapshot_.readResult = result;
}

void TemplateDownload::setDownloadResult(DownloadResult result) {
  std::lock_guard lock(mutex_);
  snapshot_.downloadResult = result;
}

} // namespace tarnwick
