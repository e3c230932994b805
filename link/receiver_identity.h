// What a receiver is: its model code and main software version from the
// "locsw" status reply, and how that version compares with the shipped one.
#pragma once

#include "commands.h"
#include "console.h"
#include "shipped_versions.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

struct ReceiverIdentity {
  int modelCode = 0;       // payload byte 3
  int softwareVersion = 0; // payload byte 2
  std::vector<std::uint8_t> payload;
};

struct IdentityQuery {
  int gapMs = cmd::kGapDefaultMs;
  int aliveBoundMs = cmd::kAliveBoundMs;
  int statusBoundMs = cmd::kVersionStatusBoundMs;
  int payloadBytes = 3; // the version check reads three; the upgrade all seven
};

// Nothing when the payload is shorter than three bytes.
std::optional<ReceiverIdentity> identityFromPayload(const std::vector<std::uint8_t> &payload);

// "locsw" and its reply, without the liveness check.
std::optional<ReceiverIdentity> readIdentity(Console &console, const IdentityQuery &query = {});

// The liveness check (with its message and failure-close), then readIdentity.
std::optional<ReceiverIdentity> queryIdentity(Console &console, const IdentityQuery &query = {});

enum class VersionComparison {
  Lower,      // "Please upgrade the receiver software. "
  Equal,      // the tool goes on
  Higher,     // a newer release of this program is needed
  NotChecked, // no slot for the code, or a display-only slot
};

VersionComparison compareWithShipped(const ReceiverIdentity &identity,
                                     const ShippedVersions &shipped);
// The message for Lower (194) and Higher (61339); nothing otherwise.
std::optional<StringId> comparisonMessage(VersionComparison comparison);

} // namespace tarnwick
