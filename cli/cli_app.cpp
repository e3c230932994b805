#include "cli_app.h"

#include "command_groups.h"
#include "exit_status.h"
#include "port_settings.h"
#include "string_table.h"
#include "version.h"

namespace tarnwick::cli {

namespace {

std::vector<std::string> rateTexts() {
  return {kBaudRates.begin(), kBaudRates.end()};
}

} // namespace

CliApp::CliApp(CliEnvironment &environment)
    : environment_(environment), app_("Services locator receivers over a serial cable.") {
  app_.name("tarnwick-cli");
  app_.require_subcommand(1);
  app_.fallthrough(); // global options may also follow the command
  addGlobalOptions();
}

void CliApp::addGlobalOptions() {
  std::error_code error;
  options_.workdir = std::filesystem::current_path(error);
  app_.add_option("--workdir", options_.workdir,
                  "Working folder (the installation tree); default: the current directory")
      ->check(CLI::ExistingDirectory);
  app_.add_option("--port", options_.port, "Serial device of the receiver")->type_name("DEVICE");
  app_.add_option("--baud", options_.baud, "Baud rate")
      ->check(CLI::IsMember(rateTexts()))
      ->capture_default_str()
      ->type_name("RATE");
  auto *yes = app_.add_flag("--yes", yes_, "Answer Yes (or OK) to every question");
  auto *no = app_.add_flag("--no", no_, "Answer No (or Cancel) to every question");
  yes->excludes(no);
  app_.add_option("--trace", options_.trace,
                  "Write every byte sent and received, with its time, to this file")
      ->type_name("FILE");
  app_.add_flag("--json", options_.json, "Machine-readable output where the command offers it");
  app_.set_version_flag("--version", std::string(kVersionText),
                        "The version and the commit it was built from");
  // Handled before the grammar when it stands alone (see main); listed here
  // so that --help shows it.
  app_.add_flag("--demo", demo_,
                "Create a demo installation, start a simulated receiver and identify it "
                "(alone: tarnwick-cli --demo)");
}

CLI::App *CliApp::addCommand(const CommandSpec &spec, CommandBody body) {
  CLI::App *command = app_.add_subcommand(spec.name, spec.description);
  commands_[spec.name] = Command{spec, std::move(body)};
  return command;
}

int CliApp::run(int argc, const char *const *argv) {
  if (const int status = parse(argc, argv); status >= 0) {
    return status;
  }
  return runSelected();
}

// -1 when parsed and a command is to run; else the status to end with.
int CliApp::parse(int argc, const char *const *argv) {
  try {
    app_.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    const int code = app_.exit(error, environment_.out, environment_.err);
    return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitDone : kExitUsage;
  }
  options_.answer = yes_ ? PresetAnswer::Yes : no_ ? PresetAnswer::No : PresetAnswer::None;
  if (demo_) {
    environment_.err << StringTable().text(sid::kDemoTakesNoArguments) << '\n';
    return kExitUsage;
  }
  return -1;
}

int CliApp::runSelected() {
  const auto selected = app_.get_subcommands();
  const auto found =
      selected.empty() ? commands_.end() : commands_.find(selected.front()->get_name());
  if (found == commands_.end()) {
    return kExitUsage;
  }
  CliSession session(options_, environment_);
  if (const int status = session.start(found->second.spec.usesReceiver); status != kExitDone) {
    return status;
  }
  const int status = found->second.body(session);
  return environment_.interrupt.cancelled() ? kExitInterrupted : status;
}

int runCli(const std::vector<std::string> &args, CliEnvironment &environment) {
  CliApp app(environment);
  addPortsCommands(app);
  addVersionCommands(app);
  addTemplateCommands(app);
  addConfigCommands(app);
  addGlossaryCommands(app);
  addRecordsCommands(app);
  std::vector<const char *> argv;
  for (const std::string &arg : args) {
    argv.push_back(arg.c_str());
  }
  return app.run(static_cast<int>(argv.size()), argv.data());
}

} // namespace tarnwick::cli
