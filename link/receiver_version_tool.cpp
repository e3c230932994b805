#include "receiver_version_tool.h"

#include "console.h"
#include "port_settings.h"
#include "receiver_identity.h"

namespace tarnwick {

std::string ReceiverVersionTool::Snapshot::text(int controlId) const {
  switch (controlId) {
  case kMainSoftwareField:
    return mainSoftware;
  case kModelField:
    return model;
  case kCompatibilityField:
    return compatibility;
  default:
    break;
  }
  for (std::size_t i = 0; i < kShippedFields.size(); ++i) {
    if (kShippedFields[i].first == controlId) {
      return shipped[i];
    }
  }
  return {};
}

void ReceiverVersionTool::open() {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < kShippedFields.size(); ++i) {
    snapshot_.shipped[i] =
        std::to_string(context_.shippedVersions.version(kShippedFields[i].second));
  }
  snapshot_.mainSoftware = kNoValue;
  snapshot_.model = kNoValue;
  snapshot_.compatibility = kNoValue;
}

bool ReceiverVersionTool::begin() {
  if (!ensurePortOpen(context_, EnsureOpenForm::Second)) {
    result_.store(QueryResult::PortNotOpen);
    return false;
  }
  clearReceiverFields();
  setBusy(true);
  return true;
}

void ReceiverVersionTool::run(const CancelToken &cancel) {
  const QueryResult result = query(cancel);
  if (result != QueryResult::Shown) {
    restoreReceiverFields();
  }
  result_.store(result);
  {
    std::lock_guard lock(mutex_);
    snapshot_.status.clear();
  }
  setBusy(false);
}

void ReceiverVersionTool::clearReceiverFields() {
  std::lock_guard lock(mutex_);
  shownBefore_ = {snapshot_.model, snapshot_.mainSoftware, snapshot_.compatibility};
  snapshot_.model = kNoValue;
  snapshot_.mainSoftware = kNoValue;
  snapshot_.compatibility = kNoValue;
}

void ReceiverVersionTool::restoreReceiverFields() {
  std::lock_guard lock(mutex_);
  snapshot_.model = shownBefore_[0];
  snapshot_.mainSoftware = shownBefore_[1];
  snapshot_.compatibility = shownBefore_[2];
}

void ReceiverVersionTool::setStatus(StringId id) {
  std::lock_guard lock(mutex_);
  snapshot_.status = context_.text(id);
}

std::string ReceiverVersionTool::statusText() const {
  std::lock_guard lock(mutex_);
  return snapshot_.status;
}

ReceiverVersionTool::QueryResult ReceiverVersionTool::runQuery(const CancelToken &cancel) {
  if (runToCompletion(*this, context_.portLease, cancel) == ToolRun::Refused) {
    return QueryResult::Busy;
  }
  return result();
}

ReceiverVersionTool::QueryResult ReceiverVersionTool::query(const CancelToken &cancel) {
  Console console(context_, &cancel);
  setStatus(sid::kCheckingConnection);
  if (const Outcome alive = console.CheckAlive(cmd::kAliveBoundMs); !succeeded(alive)) {
    endExchange(context_, alive, sid::kErrorCommunicating);
    return alive == Outcome::Cancelled ? QueryResult::Cancelled : QueryResult::NoAnswer;
  }
  setStatus(sid::kReadingReceiverIdentity);
  const auto identity = readIdentity(console);
  if (!identity) {
    return cancel.cancelled() ? QueryResult::Cancelled : QueryResult::NoReply;
  }
  const auto model = findModel(identity->modelCode);
  if (!model) {
    return QueryResult::UnknownModel;
  }
  show(*model, identity->softwareVersion);
  return QueryResult::Shown;
}

void ReceiverVersionTool::setBusy(bool busy) {
  std::lock_guard lock(mutex_);
  snapshot_.busy = busy;
}

void ReceiverVersionTool::show(const ModelInfo &model, int softwareVersion) {
  context_.activity.identified(std::string(model.name), softwareVersion);
  std::lock_guard lock(mutex_);
  snapshot_.model = model.name;
  snapshot_.mainSoftware = std::to_string(softwareVersion);
  snapshot_.compatibility = context_.text(model.pathModeCompatible ? sid::kPathModeCompatible
                                                                   : sid::kPathModeNotCompatible);
}

ReceiverVersionTool::Snapshot ReceiverVersionTool::snapshot() const {
  std::lock_guard lock(mutex_);
  return snapshot_;
}

} // namespace tarnwick
