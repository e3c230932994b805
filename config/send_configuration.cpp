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

bool SendConfiguration::prepare(ConfigurationToSend configuration) {
  if (running_.load()) {
    return false;
  }
  configuration_ = std::move(configuration);
  return true;
}

bool SendConfiguration::begin() {
  if (ensurePortOpen(context_, EnsureOpenForm::Standard)) {
    running_.store(true);
    std::lock_guard lock(mutex_);
    snapshot_.statusLog.clear();
    return true;
  }
  std::lock_guard lock(mutex_);
  snapshot_.result = Result::PortNotOpen;
  return false;
}

SendConfiguration::Result SendConfiguration::send(const ConfigurationToSend &configuration,
                                                  const CancelToken &cancel) {
  if (!prepare(configuration)) {
    return Result::Busy;
  }
  switch (runToCompletion(*this, context_.portLease, cancel)) {
  case ToolRun::Refused:
    return Result::Busy;
  case ToolRun::Ended:
    return Result::PortNotOpen;
  case ToolRun::Ran:
    break;
  }
  std::lock_guard lock(mutex_);
  return snapshot_.result.value_or(Result::Busy);
}

void SendConfiguration::run(const CancelToken &cancel) {
  Console console(context_, &cancel);
  const Result result = execute(console);
  finish(console.cancelled() ? Result::Cancelled : result);
}

void SendConfiguration::finish(Result result) {
  {
    std::lock_guard lock(mutex_);
    snapshot_.result = result;
  }
  running_.store(false);
}

SendConfiguration::Result SendConfiguration::execute(Console &console) {
  if (const Outcome alive = console.CheckAlive(cmd::kAliveBoundMs); !succeeded(alive)) {
    endExchange(context_, alive, sid::kErrorCommunicating);
    return alive == Outcome::WriteFailed ? Result::WriteFailed : Result::NoAnswer;
  }
  if (const auto refused = checkIdentity(console)) {
    return *refused;
  }
  const Result sent = sendLines(console);
  return sent == Result::Completed ? restart(console) : sent;
}

// A receiver without a valid status reply gets the configuration unchecked.
std::optional<SendConfiguration::Result> SendConfiguration::checkIdentity(Console &console) {
  IdentityQuery query;
  query.statusBoundMs = kIdentityBoundMs;
  const auto identity = readIdentity(console, query);
  if (!identity) {
    return console.cancelled() ? std::optional(Result::Cancelled) : std::nullopt;
  }
  const VersionComparison comparison = compareWithShipped(*identity, context_.shippedVersions);
  if (const auto message = comparisonMessage(comparison)) {
    context_.showMessage(*message);
    return comparison == VersionComparison::Lower ? Result::VersionLower : Result::VersionHigher;
  }
  if (comparison == VersionComparison::NotChecked) {
    return Result::VersionNotKnown;
  }
  if (!acceptsModelCode(configuration_.model, identity->modelCode)) {
    context_.user.message(mismatchMessage(identity->modelCode));
    return Result::ModelMismatch;
  }
  if (const Outcome sent = console.SendCommandLine(cmd::kKb12, kGapMs); !succeeded(sent)) {
    return failedSend(console, sent);
  }
  return std::nullopt;
}

std::string SendConfiguration::mismatchMessage(int code) const {
  return context_.text(sid::kReceiverModelPrefix) + " (" + modelNameForCode(code) + ") " +
         context_.text(sid::kModelDoesNotMatch);
}

SendConfiguration::Result SendConfiguration::sendLines(Console &console) {
  if (!console.Pause(kGapMs)) {
    return Result::Cancelled;
  }
  showProgress(true, 0);
  setStatus(sid::kDownloadingDotPleaseWait);
  for (const PlannedLine &line : planConfigurationLines(configuration_)) {
    const Outcome outcome = console.Pause(line.pauseBeforeMs)
                                ? console.SendAckedLine(line.text, kGapMs, kAckBoundMs)
                                : Outcome::Cancelled;
    if (!succeeded(outcome)) {
      return failedSend(console, outcome);
    }
    if (line.advancesProgress) {
      advanceProgress();
    }
  }
  return Result::Completed;
}

// A withheld ACK is "Problem in download"; a refused write closes the port as
// every other tool does; a cancelled send shows nothing.
SendConfiguration::Result SendConfiguration::failedSend(Console &console, Outcome outcome) {
  showProgress(false, 0);
  if (outcome == Outcome::Cancelled || console.cancelled()) {
    return Result::Cancelled;
  }
  if (outcome == Outcome::WriteFailed) {
    endExchange(context_, outcome, sid::kFailedToWriteComport);
    return Result::WriteFailed;
  }
  setStatus(sid::kProblemInDownload);
  return Result::ProblemInDownload;
}

SendConfiguration::Result SendConfiguration::restart(Console &console) {
  showProgress(false, 0);
  if (!console.Pause(kResetPauseMs)) {
    return Result::Cancelled;
  }
  if (const Outcome sent = console.SendCommandLine(cmd::kSwreset, kGapMs); !succeeded(sent)) {
    return failedSend(console, sent);
  }
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

SendConfiguration::Snapshot SendConfiguration::snapshot() const {
  std::lock_guard lock(mutex_);
  Snapshot copy = snapshot_;
  copy.running = running_.load();
  return copy;
}

void SendConfiguration::setStatus(StringId id) {
  const std::string &text = context_.text(id);
  std::lock_guard lock(mutex_);
  snapshot_.status = text;
  snapshot_.statusLog.push_back(text);
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
