#include "send_configuration.h"

#include "port_settings.h"
#include "receiver_identity.h"

#include <utility>

namespace tarnwick {

namespace {

using Encoder = bool (*)(SettingState);

void appendValue(std::string &line, bool value) {
  line += value ? " 1" : " 0";
}

// The word, then one value per entry, padded with " 0" to the count the
// receiver takes.
std::string valueLine(std::string_view word, const SettingList &list, int values, Encoder encode) {
  std::string line(word);
  for (int entry = 0; entry < values; ++entry) {
    appendValue(line, list.has(entry) && encode(list.at(entry).state));
  }
  return line;
}

struct ListCommands {
  ListId list;
  std::string_view plain;
  std::string_view mask;
};

// The lists sent as a plain line followed by a mask line, in order.
constexpr ListCommands kFrequencyPairs[] = {
    {ListId::LocateActive, cmd::kLocateActive, cmd::kMaskActive},
    {ListId::LocatePower, cmd::kLocatePower, cmd::kMaskPower},
    {ListId::LocatePassive, cmd::kLocatePassive, cmd::kMaskPassive},
    {ListId::ToneActive, cmd::kToneActive, cmd::kMaskToneActive},
    {ListId::TonePower, cmd::kTonePower, cmd::kMaskTonePower},
    {ListId::TonePassive, cmd::kTonePassive, cmd::kMaskTonePassive},
};

class Planner {
public:
  explicit Planner(const ConfigurationToSend &configuration) : lists_(configuration.lists) {}

  void line(std::string text, bool endsStep, int pauseBeforeMs = 0) {
    lines_.push_back({std::move(text), endsStep, pauseBeforeMs});
  }
  void plain(ListId list, std::string_view word, bool endsStep) {
    line(valueLine(word, listOf(lists_, list), sentValueCount(list), plainValue), endsStep);
  }
  void mask(ListId list, std::string_view word) {
    line(valueLine(word, listOf(lists_, list), sentValueCount(list), maskValue), true);
  }

  // "ludf"/"tudf": a set slot that is Enabled gives 1.
  std::string userLine(std::string_view word, ListId list, const std::vector<int> &order) const {
    const SettingList &locate = listOf(lists_, ListId::LocateUser);
    const SettingList &states = listOf(lists_, list);
    std::string text(word);
    for (int slot : order) {
      appendValue(text,
                  slotIsSet(locate, slot) && states.has(slot) && plainValue(states.at(slot).state));
    }
    return text;
  }

  // "pcmaux"/"pcmtaux": the auxiliary locks, padding, then the slot locks.
  std::string lockLine(std::string_view word, ListId aux, ListId user,
                       const std::vector<int> &order) const {
    std::string text = valueLine(word, listOf(lists_, aux), sentValueCount(aux), lockValue);
    const SettingList &states = listOf(lists_, user);
    for (int slot : order) {
      appendValue(text, states.has(slot) && lockValue(states.at(slot).state));
    }
    return text;
  }

  const SettingLists &lists() const { return lists_; }
  std::vector<PlannedLine> take() { return std::move(lines_); }

private:
  const SettingLists &lists_;
  std::vector<PlannedLine> lines_;
};

void planUserFrequencies(Planner &plan) {
  const SettingList &locate = listOf(plan.lists(), ListId::LocateUser);
  const auto order = userSlotOrder(locate);
  const auto udf = userFrequencyLine(locate);
  if (udf) {
    plan.line(*udf, false, SendConfiguration::kUserFrequencyPauseMs);
  }
  const int pause = udf ? 0 : SendConfiguration::kUserFrequencyPauseMs;
  plan.line(plan.userLine(cmd::kLocateUserDefined, ListId::LocateUser, order), true, pause);
  plan.line(plan.lockLine(cmd::kMaskAuxiliary, ListId::LocateAux, ListId::LocateUser, order), true);
  plan.line(plan.userLine(cmd::kToneUserDefined, ListId::ToneUser, order), true);
  plan.line(plan.lockLine(cmd::kMaskToneAuxiliary, ListId::ToneAux, ListId::ToneUser, order), true);
}

} // namespace

bool plainValue(SettingState state) {
  return state == SettingState::Enabled;
}

bool maskValue(SettingState state) {
  return state == SettingState::Masked || state == SettingState::Unavailable;
}

bool lockValue(SettingState state) {
  return state == SettingState::Masked;
}

int sentValueCount(ListId list) {
  switch (list) {
  case ListId::Units:
    return 3;
  case ListId::Date:
    return 2;
  case ListId::MarkerTypes:
  case ListId::LocateActive:
  case ListId::ToneActive:
    return 7;
  case ListId::LocatePower:
  case ListId::TonePower:
    return 8;
  case ListId::LocatePassive:
  case ListId::TonePassive:
  case ListId::LocateAux:
  case ListId::ToneAux:
    return 3;
  case ListId::LocateUser:
  case ListId::ToneUser:
    return kUserSlots;
  case ListId::Language:
    break;
  }
  return 0;
}

std::vector<int> userSlotOrder(const SettingList &locateUser) {
  std::vector<int> order;
  for (int pass = 0; pass < 2; ++pass) {
    const bool wantSet = pass == 0;
    for (int slot = 0; slot < kUserSlots; ++slot) {
      if (slotIsSet(locateUser, slot) == wantSet) {
        order.push_back(slot);
      }
    }
  }
  return order;
}

std::optional<std::string> userFrequencyLine(const SettingList &locateUser) {
  std::string values;
  int count = 0;
  for (int slot = 0; slot < kUserSlots; ++slot) {
    if (slotIsSet(locateUser, slot)) {
      values += ' ';
      values += locateUser.at(slot).name;
      ++count;
    }
  }
  if (count == 0) {
    return std::nullopt;
  }
  return std::string(cmd::kUserFrequency) + ' ' + std::to_string(count) + values;
}

std::vector<PlannedLine> planConfigurationLines(const ConfigurationToSend &configuration) {
  Planner plan(configuration);
  plan.plain(ListId::Units, cmd::kUnits, true);
  plan.plain(ListId::Date, cmd::kDate, true);
  plan.plain(ListId::MarkerTypes, cmd::kMarkerTypes, false);
  plan.mask(ListId::MarkerTypes, cmd::kMarkerTypesMask);
  if (!hasFrequencyLists(configuration.model)) {
    return plan.take();
  }
  for (const ListCommands &pair : kFrequencyPairs) {
    plan.plain(pair.list, pair.plain, false);
    plan.mask(pair.list, pair.mask);
  }
  plan.plain(ListId::LocateAux, cmd::kLocateAuxiliary, false);
  plan.plain(ListId::ToneAux, cmd::kToneAuxiliary, true);
  planUserFrequencies(plan);
  return plan.take();
}

bool SendConfiguration::openPort() {
  return ensurePortOpen(context_, EnsureOpenForm::Standard);
}

SendConfiguration::Result SendConfiguration::send(const ConfigurationToSend &configuration,
                                                  const CancelToken &cancel) {
  if (running_.load()) {
    return Result::Busy;
  }
  if (!openPort()) {
    std::lock_guard lock(mutex_);
    snapshot_.result = Result::PortNotOpen;
    return Result::PortNotOpen;
  }
  return run(configuration, cancel);
}

SendConfiguration::Result SendConfiguration::run(const ConfigurationToSend &configuration,
                                                 const CancelToken &cancel) {
  if (running_.exchange(true)) {
    return Result::Busy;
  }
  Console console(context_, &cancel);
  const Result result = execute(configuration, console);
  return finish(console.cancelled() ? Result::Cancelled : result);
}

SendConfiguration::Result SendConfiguration::finish(Result result) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.result = result;
  }
  running_.store(false);
  return result;
}

SendConfiguration::Result SendConfiguration::execute(const ConfigurationToSend &configuration,
                                                     Console &console) {
  if (!console.CheckAlive(cmd::kAliveBoundMs)) {
    return Result::NoAnswer;
  }
  if (const auto refused = checkIdentity(configuration, console)) {
    return *refused;
  }
  const Result sent = sendLines(configuration, console);
  return sent == Result::Completed ? restart(console) : sent;
}

// A receiver without a valid status reply gets the configuration unchecked.
std::optional<SendConfiguration::Result>
SendConfiguration::checkIdentity(const ConfigurationToSend &configuration, Console &console) {
  IdentityQuery query;
  query.statusBoundMs = kIdentityBoundMs;
  const auto identity = readIdentity(console, query);
  if (!identity) {
    return console.cancelled() ? std::optional(Result::Cancelled) : std::nullopt;
  }
  switch (compareWithShipped(*identity, context_.shippedVersions)) {
  case VersionComparison::Lower:
    context_.showMessage(sid::kUpgradeReceiverSoftware);
    return Result::VersionLower;
  case VersionComparison::Higher:
    context_.showMessage(sid::kDownloadLatestVersion);
    return Result::VersionHigher;
  case VersionComparison::NotChecked:
    return Result::VersionNotKnown;
  case VersionComparison::Equal:
    break;
  }
  if (!acceptsModelCode(configuration.model, identity->modelCode)) {
    context_.user.message(mismatchMessage(identity->modelCode));
    return Result::ModelMismatch;
  }
  console.SendCommandLine(cmd::kKb12, kGapMs);
  return std::nullopt;
}

std::string SendConfiguration::mismatchMessage(int code) const {
  return context_.text(sid::kReceiverModelPrefix) + " (" + modelNameForCode(code) + ") " +
         context_.text(sid::kModelDoesNotMatch);
}

SendConfiguration::Result SendConfiguration::sendLines(const ConfigurationToSend &configuration,
                                                       Console &console) {
  console.Pause(kGapMs);
  showProgress(true, 0);
  setStatus(sid::kDownloadingDotPleaseWait);
  for (const PlannedLine &line : planConfigurationLines(configuration)) {
    console.Pause(line.pauseBeforeMs);
    if (!AckWait(console, line.text)) {
      return Result::ProblemInDownload;
    }
    if (line.advancesProgress) {
      advanceProgress();
    }
  }
  return Result::Completed;
}

SendConfiguration::Result SendConfiguration::restart(Console &console) {
  showProgress(false, 0);
  console.Pause(kResetPauseMs);
  console.SendCommandLine(cmd::kSwreset, kGapMs);
  if (console.CollectUntil(cmd::kBanner, kRevisionBoundMs).found) {
    setStatus(sid::kDownloadCompleted);
    return Result::Completed;
  }
  if (console.cancelled()) {
    return Result::Cancelled;
  }
  setStatus(sid::kRestartUnitToContinue);
  return Result::RestartNotSeen;
}

bool SendConfiguration::AckWait(Console &console, std::string_view line) {
  std::string bytes(line);
  bytes += cmd::kLineEnd;
  bool written = true;
  for (std::size_t i = 0; i < bytes.size() && written; ++i) {
    console.FlushInput(); // what is read next answers this line, not an earlier echo
    written = console.SendPaced(std::string_view(bytes).substr(i, 1), kGapMs);
  }
  if (written) {
    console.Pause(kGapMs);
  }
  if (written && console.ReadUntil(cmd::kAck, kAckBoundMs)) {
    return true;
  }
  showProgress(false, 0);
  if (!console.cancelled()) {
    setStatus(sid::kProblemInDownload);
  }
  return false;
}

SendConfiguration::Snapshot SendConfiguration::snapshot() const {
  std::lock_guard lock(mutex_);
  Snapshot copy = snapshot_;
  copy.running = running_.load();
  return copy;
}

void SendConfiguration::setStatusListener(std::function<void(const std::string &)> listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void SendConfiguration::setStatus(StringId id) {
  const std::string &text = context_.text(id);
  std::function<void(const std::string &)> listener;
  {
    std::lock_guard lock(mutex_);
    snapshot_.status = text;
    listener = listener_;
  }
  if (listener) {
    listener(text);
  }
}

void SendConfiguration::showProgress(bool visible, int position) {
  std::lock_guard lock(mutex_);
  snapshot_.progressVisible = visible;
  snapshot_.progressMax = kProgressSteps;
  snapshot_.progressPosition = position;
}

void SendConfiguration::advanceProgress() {
  std::lock_guard lock(mutex_);
  ++snapshot_.progressPosition;
}

} // namespace tarnwick
