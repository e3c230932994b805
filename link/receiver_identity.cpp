#include "receiver_identity.h"

#include "model_catalogue.h"
#include "port_settings.h"

namespace tarnwick {

std::optional<ReceiverIdentity> identityFromPayload(const std::vector<std::uint8_t> &payload) {
  if (payload.size() < 3) {
    return std::nullopt;
  }
  return ReceiverIdentity{payload[2], payload[1], payload};
}

std::optional<ReceiverIdentity> readIdentity(Console &console, const IdentityQuery &query) {
  const auto payload =
      console.QueryStatus(cmd::kLocsw, query.gapMs, query.statusBoundMs, query.payloadBytes);
  return payload ? identityFromPayload(*payload) : std::nullopt;
}

std::optional<ReceiverIdentity> queryIdentity(Console &console, const IdentityQuery &query) {
  if (const Outcome alive = console.CheckAlive(query.aliveBoundMs); !succeeded(alive)) {
    endExchange(console.context(), alive, sid::kErrorCommunicating);
    return std::nullopt;
  }
  return readIdentity(console, query);
}

VersionComparison compareWithShipped(const ReceiverIdentity &identity,
                                     const ShippedVersions &shipped) {
  const auto model = findModel(identity.modelCode);
  if (!model || model->displayOnly) {
    return VersionComparison::NotChecked;
  }
  const int expected = shipped.version(model->slot);
  if (identity.softwareVersion < expected) {
    return VersionComparison::Lower;
  }
  return identity.softwareVersion > expected ? VersionComparison::Higher : VersionComparison::Equal;
}

std::optional<StringId> comparisonMessage(VersionComparison comparison) {
  switch (comparison) {
  case VersionComparison::Lower:
    return sid::kUpgradeReceiverSoftware;
  case VersionComparison::Higher:
    return sid::kDownloadLatestVersion;
  case VersionComparison::Equal:
  case VersionComparison::NotChecked:
    break;
  }
  return std::nullopt;
}

} // namespace tarnwick
