// tarnwick-cli --demo: the demo installation and a simulated receiver, then
// the receiver identified as the version command does it.
#pragma once

#include "cli_session.h"

#include <string>
#include <vector>

namespace tarnwick::cli {

// Whether the arguments ask for the demo (args[0] is the program name).
bool isDemoRequest(const std::vector<std::string> &args);

// Runs the demo; returns the exit status.
int runDemo(const std::vector<std::string> &args, CliEnvironment &environment);

} // namespace tarnwick::cli
