// The whole program, without the grammar: main() and the demo include this
// instead of cli_app.h, so that only the files registering options parse
// CLI11.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::cli {

struct CliEnvironment;

// Every command group registered, then run; returns the exit status. args[0]
// is the program name.
int runCli(const std::vector<std::string> &args, CliEnvironment &environment);

} // namespace tarnwick::cli
