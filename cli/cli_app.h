// tarnwick-cli's grammar: the global options, then one command. Command
// groups register their sub-commands here (see command_groups.h); each
// command body runs against a started session and returns the exit status.
#pragma once

#include "cli_session.h"
#include "global_options.h"
#include "run_cli.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::cli {

using CommandBody = std::function<int(CliSession &)>;

struct CommandSpec {
  std::string name;
  std::string description;
  bool usesReceiver = true; // binds the serial library and reports a failure
};

class CliApp {
public:
  explicit CliApp(CliEnvironment &environment);

  // Adds a sub-command; its own options go on the returned app.
  CLI::App *addCommand(const CommandSpec &spec, CommandBody body);

  // Parses and runs; returns the exit status.
  int run(int argc, const char *const *argv);

  const GlobalOptions &options() const { return options_; }

private:
  struct Command {
    CommandSpec spec;
    CommandBody body;
  };

  void addGlobalOptions();
  int parse(int argc, const char *const *argv);
  int runSelected();

  CliEnvironment &environment_;
  CLI::App app_;
  GlobalOptions options_;
  bool yes_ = false;
  bool no_ = false;
  bool demo_ = false;
  std::map<std::string, Command> commands_;
};

} // namespace tarnwick::cli
