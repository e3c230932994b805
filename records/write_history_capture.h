// Before an upgrade replaces the receiver's software: the programmed-marker
// history pulled into "WriteHistory.pgrx" in the current record path, and
// cleared on the receiver only once that file reads back exactly as written.
#pragma once

#include "console.h"

#include <filesystem>

namespace tarnwick {

inline constexpr std::string_view kWriteHistoryFile = "WriteHistory.pgrx";

struct WriteHistoryResult {
  bool echoed = false; // "pc" was echoed; false: nothing else happened
  bool readCompletely = false;
  std::size_t records = 0; // in the file (those read before a failure)
  bool saved = false;      // the file was written and read back the same
  bool cleared = false;    // "ew 7 2 0 0" was sent
};

// The port must be open. No count-0 messages; a missing byte shows the
// diagnostic box. A failed save is reported and nothing is cleared.
WriteHistoryResult captureWriteHistory(Console &console, const std::filesystem::path &folder);

} // namespace tarnwick
