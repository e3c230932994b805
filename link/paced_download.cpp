#include "paced_download.h"

#include "port_settings.h"

#include <utility>

namespace tarnwick {

PacedExchange commandLineExchange(std::string_view text, int gapMs) {
  PacedExchange line;
  line.paced(std::string(text) + std::string(cmd::kLineEnd), gapMs);
  return line.pause(gapMs);
}

PacedExchange DownloadPlan::opening() const {
  PacedExchange opening;
  if (flushBeforeAlive) {
    opening.flush();
  }
  opening.append(commandLineExchange(cmd::kRuAlive, cmd::kGapDefaultMs))
      .await(cmd::kAliveReply, cmd::kAliveBoundMs)
      .append(commandLineExchange(cmd::kKb12, cmd::kGapDefaultMs));
  return opening.pause(settleMs);
}

std::int64_t DownloadPlan::mandatedMs() const {
  std::int64_t total = opening().mandatedMs() + pauseAfterCompletionMs;
  for (const DownloadStep &step : steps) {
    total += step.exchange.mandatedMs();
  }
  return total;
}

std::size_t DownloadPlan::acknowledgedItems() const {
  std::size_t count = 0;
  for (const DownloadStep &step : steps) {
    count += step.exchange.awaits() > 0 ? 1 : 0;
  }
  return count;
}

bool PacedDownload::begin() {
  if (!chosen()) {
    std::lock_guard lock(mutex_);
    snapshot_.result = DownloadResult::NothingChosen;
    return false;
  }
  if (!ensurePortOpen(context_, EnsureOpenForm::Standard)) {
    std::lock_guard lock(mutex_);
    snapshot_.result = DownloadResult::PortNotOpen;
    return false;
  }
  DownloadPlan plan = makePlan();
  std::lock_guard lock(mutex_);
  plan_ = std::move(plan);
  mandatedTotalMs_ = plan_.mandatedMs();
  DownloadSnapshot fresh;
  fresh.status = snapshot_.status; // the opening text stays until the download sets its own
  fresh.busy = true;
  fresh.itemsTotal = plan_.acknowledgedItems();
  fresh.msLeft = mandatedTotalMs_;
  snapshot_ = std::move(fresh);
  running_.store(true);
  return true;
}

DownloadResult PacedDownload::download(const CancelToken &cancel) {
  switch (runToCompletion(*this, context_.portLease, cancel)) {
  case ToolRun::Refused:
    refuse();
    return DownloadResult::Busy;
  case ToolRun::Ended:
  case ToolRun::Ran:
    break;
  }
  std::lock_guard lock(mutex_);
  return snapshot_.result.value_or(DownloadResult::Busy);
}

void PacedDownload::run(const CancelToken &cancel) {
  Console console(context_, &cancel);
  mandatedDoneMs_ = 0;
  const DownloadResult result = execute(console);
  if (result == DownloadResult::Cancelled) {
    setStatus(context_.text(sid::kDownloadCanceled));
  }
  finish(result);
}

DownloadResult PacedDownload::execute(Console &console) {
  const std::int64_t startMs = context_.clock.nowMs();
  const PacedExchange opening = plan_.opening();
  if (const Outcome opened = console.Run(opening); !succeeded(opened)) {
    return openingFailed(opened);
  }
  mandatedDoneMs_ += opening.mandatedMs();
  setStatus(context_.text(sid::kDownloadingPleaseWait));
  showProgress(0);
  for (const DownloadStep &step : plan_.steps) {
    if (step.progress) {
      showProgress(*step.progress);
    }
    if (const Outcome sent = console.Run(step.exchange); !succeeded(sent)) {
      return stepFailed(step, console.unlessCancelled(sent));
    }
    stepDone(step, startMs);
  }
  for (const std::string &text : plan_.completion) {
    setStatus(text);
  }
  // The download is complete; a dialog closed during this pause changes nothing.
  console.Pause(plan_.pauseAfterCompletionMs);
  return DownloadResult::Completed;
}

DownloadResult PacedDownload::openingFailed(Outcome outcome) {
  endExchange(context_, outcome, sid::kErrorCommunicating);
  switch (outcome) {
  case Outcome::Cancelled:
    return DownloadResult::Cancelled;
  case Outcome::WriteFailed:
    return DownloadResult::WriteFailed;
  default:
    break;
  }
  return DownloadResult::NoAnswer;
}

// A withheld ACK leaves the port open, as a receiver that stopped answering
// one item may still take the next attempt; a refused write closes it.
DownloadResult PacedDownload::stepFailed(const DownloadStep &step, Outcome outcome) {
  switch (outcome) {
  case Outcome::Cancelled:
    return DownloadResult::Cancelled;
  case Outcome::WriteFailed:
    endExchange(context_, outcome, sid::kFailedToWriteComport);
    return DownloadResult::WriteFailed;
  default:
    break;
  }
  setStatus(step.failure);
  return DownloadResult::NotAcknowledged;
}

void PacedDownload::stepDone(const DownloadStep &step, std::int64_t startMs) {
  mandatedDoneMs_ += step.exchange.mandatedMs();
  const std::int64_t elapsedMs = context_.clock.nowMs() - startMs;
  std::lock_guard lock(mutex_);
  if (step.exchange.awaits() > 0) {
    ++snapshot_.itemsDone;
  }
  snapshot_.itemsPerSecond =
      elapsedMs > 0 ? static_cast<double>(snapshot_.itemsDone) * 1000.0 / elapsedMs : 0.0;
  snapshot_.msLeft = mandatedTotalMs_ - mandatedDoneMs_;
}

void PacedDownload::showProgress(int position) {
  std::lock_guard lock(mutex_);
  snapshot_.progressVisible = true;
  snapshot_.progressMax = plan_.progressMax;
  snapshot_.progressPosition = position;
}

void PacedDownload::finish(DownloadResult result) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.result = result;
    snapshot_.busy = false;
    snapshot_.done = result == DownloadResult::Completed;
    if (plan_.hideProgressAtEnd) {
      snapshot_.progressVisible = false;
      snapshot_.progressPosition = 0;
    }
    if (snapshot_.done) {
      snapshot_.msLeft = 0;
    }
  }
  running_.store(false);
}

void PacedDownload::warnCancel() {
  context_.showMessage(sid::kInterruptionWarning);
}

void PacedDownload::refuse() {
  context_.showMessage(sid::kDownloadInProgress);
  std::lock_guard lock(mutex_);
  if (!running_.load()) {
    snapshot_.result = DownloadResult::Busy;
  }
}

DownloadSnapshot PacedDownload::snapshot() const {
  std::lock_guard lock(mutex_);
  DownloadSnapshot copy = snapshot_;
  copy.running = running_.load();
  return copy;
}

std::int64_t PacedDownload::mandatedMs() const {
  std::lock_guard lock(mutex_);
  return mandatedTotalMs_;
}

void PacedDownload::setStatus(std::string text) {
  std::lock_guard lock(mutex_);
  snapshot_.statusLog.push_back(text);
  snapshot_.status = std::move(text);
}

} // namespace tarnwick
