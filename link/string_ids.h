// Resource ids of the texts shown by the receiver link. Language packs carry
// the same ids.
#pragma once

namespace tarnwick {

using StringId = int;

namespace sid {

inline constexpr StringId kSelectPortAndRetry = 61283;    // ensure-open: dialog cancelled
inline constexpr StringId kPortCouldNotOpen = 61284;      // ensure-open: port still closed
inline constexpr StringId kErrorCommunicating = 61285;    // liveness check failed
inline constexpr StringId kFailedToOpenPort = 61361;      // ensure-open, second form
inline constexpr StringId kFailedToWriteComport = 61274;  // echoed line: write failed
inline constexpr StringId kNoOrWrongResponse = 61377;     // echoed line: echo wrong or missing
inline constexpr StringId kRestartLocator = 61381;        // "swreset" without banner
inline constexpr StringId kUpgradeReceiverSoftware = 194; // receiver older than shipped
inline constexpr StringId kDownloadLatestVersion = 61339; // receiver newer than shipped

// Texts of the receiver link that had no id of their own; 61309-61316 were
// unused in the table.
inline constexpr StringId kPathModeCompatible = 61309;
inline constexpr StringId kPathModeNotCompatible = 61310;
inline constexpr StringId kLibraryNotLoaded = 61311;      // followed by the paths tried
inline constexpr StringId kLibraryMissingExports = 61312; // followed by the missing names
inline constexpr StringId kReceiverToolsUnavailable = 61313;
inline constexpr StringId kPortPermissionDenied = 61314; // followed by the device
inline constexpr StringId kDialoutGroupHint = 61315;

} // namespace sid
} // namespace tarnwick
