// The exit statuses of tarnwick-cli.
#pragma once

namespace tarnwick::cli {

enum ExitStatus : int {
  kExitDone = 0,
  kExitFailed = 1,        // the operation ended with a failure message
  kExitUsage = 2,         // the command line was wrong or incomplete
  kExitNoPort = 3,        // no port could be opened
  kExitInterrupted = 130, // Ctrl-C ended the command at its next wait
};

} // namespace tarnwick::cli
