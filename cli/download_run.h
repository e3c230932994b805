// A download to the receiver on the command line: run on this thread as its
// dialog runs it, each status text printed as the dialog's status line would
// show it, and the outcome as the exit status.
#pragma once

#include "cli_session.h"
#include "paced_download.h"

#include <optional>

namespace tarnwick::cli {

// Before a download from a command that does not bind the serial library
// itself: the library's state, then the port. Nothing when it may go on.
std::optional<int> refuseDownload(CliSession &session);

// download.download() with its status texts printed; the exit status.
int runDownload(CliSession &session, PacedDownload &download);

} // namespace tarnwick::cli
