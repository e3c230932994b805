#include "receiver.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tarnwick::sim {

Receiver::Receiver(ReceiverSettings settings, Faults faults)
    : settings_(std::move(settings)), faults_(std::move(faults)), records_(*this),
      console_(*this, faults_), downloads_(*this, faults_.downloads) {
  downloads_.install();
  console_.addCommand("rc", [](Receiver &receiver, const CommandArgs &, std::int64_t nowMs) {
    receiver.records().upload(RecordSet::ReadMarkers, nowMs);
  });
  console_.addCommand("pc", [](Receiver &receiver, const CommandArgs &, std::int64_t nowMs) {
    receiver.records().upload(RecordSet::ProgrammedMarkers, nowMs);
  });
  addTemplateCommands(*this);
}

void Receiver::receive(std::uint8_t byte, std::int64_t nowMs) {
  log({nowMs, Direction::ToReceiver, byte});
  const std::size_t index = bytesReceived_++;
  if (faults_.silentFromByte && index >= *faults_.silentFromByte) {
    return;
  }
  if (restarting(nowMs)) {
    return;
  }
  activeMode().receive(byte, nowMs);
  left_.clear();
}

void Receiver::enterMode(std::unique_ptr<InputMode> mode) {
  if (mode) {
    entered_.push_back(std::move(mode));
  }
}

void Receiver::leaveMode() {
  if (entered_.empty()) {
    return; // the console has nowhere to go back to
  }
  left_.push_back(std::move(entered_.back()));
  entered_.pop_back();
}

void Receiver::addCommand(std::string word, CommandHandler handler) {
  console_.addCommand(std::move(word), std::move(handler));
}

// Bytes leave one after another: none overtakes one queued before it.
void Receiver::sendByte(std::uint8_t byte, std::int64_t dueMs) {
  if (!outgoing_.empty()) {
    dueMs = std::max(dueMs, outgoing_.back().dueMs);
  }
  outgoing_.push_back({dueMs, byte});
  log({dueMs, Direction::FromReceiver, byte});
}

void Receiver::send(std::string_view bytes, std::int64_t dueMs) {
  for (const char c : bytes) {
    sendByte(static_cast<std::uint8_t>(c), dueMs);
  }
}

void Receiver::restart(std::int64_t nowMs) {
  ++restarts_;
  std::move(entered_.begin(), entered_.end(), std::back_inserter(left_));
  entered_.clear();
  const std::int64_t bannerFromMs = nowMs + settings_.restartDelayMs;
  console_.greet(bannerFromMs);
  listeningFromMs_ = outgoing_.empty() ? bannerFromMs : outgoing_.back().dueMs;
}

std::optional<std::int64_t> Receiver::nextDueMs() const {
  if (outgoing_.empty()) {
    return std::nullopt;
  }
  return outgoing_.front().dueMs;
}

std::optional<std::uint8_t> Receiver::takeDue(std::int64_t nowMs) {
  if (outgoing_.empty() || outgoing_.front().dueMs > nowMs) {
    return std::nullopt;
  }
  const std::uint8_t byte = outgoing_.front().byte;
  outgoing_.pop_front();
  return byte;
}

void Receiver::discardDue(std::int64_t nowMs) {
  while (takeDue(nowMs)) {
  }
}

std::vector<TranscriptEntry> Receiver::transcript() const {
  std::vector<TranscriptEntry> entries(log_.begin(), log_.end());
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const TranscriptEntry &a, const TranscriptEntry &b) { return a.timeMs < b.timeMs; });
  return entries;
}

std::string Receiver::receivedText() const {
  std::string text;
  for (const TranscriptEntry &entry : log_) {
    if (entry.dir == Direction::ToReceiver) {
      text.push_back(static_cast<char>(entry.byte));
    }
  }
  return text;
}

std::string Receiver::sentText() const {
  std::string text;
  for (const TranscriptEntry &entry : log_) {
    if (entry.dir == Direction::FromReceiver) {
      text.push_back(static_cast<char>(entry.byte));
    }
  }
  return text;
}

void Receiver::clearTranscript() {
  log_.clear();
  console_.clearLines();
}

std::string Receiver::startupBanner() const {
  return console_.startupBanner();
}

InputMode &Receiver::activeMode() {
  return entered_.empty() ? static_cast<InputMode &>(console_) : *entered_.back();
}

void Receiver::log(TranscriptEntry entry) {
  log_.push_back(entry);
  while (settings_.transcriptLimit != 0 && log_.size() > settings_.transcriptLimit) {
    log_.pop_front();
  }
}

} // namespace tarnwick::sim
