// tarnwick-cli: the receiver tools without a window.
#include "cli_session.h"
#include "demo.h"
#include "port_discovery.h"
#include "run_cli.h"
#include "serial_backend.h"
#include "terminal.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Ctrl-C cancels the running tool, which ends at its next wait; a second
// Ctrl-C ends the program at once.
tarnwick::CancelToken interrupted;

extern "C" void onInterrupt(int) {
  interrupted.cancel();
  std::signal(SIGINT, SIG_DFL);
}

} // namespace

int main(int argc, char **argv) {
  using namespace tarnwick::cli;
  std::signal(SIGINT, onInterrupt);
  SystemTerminal terminal;
  SystemSerialBackend serial;
  CliEnvironment environment{
      std::cout, std::cerr, terminal, serial, tarnwick::portsFromEnvironment(), interrupted};
  const std::vector<std::string> args(argv, argv + argc);
  if (isDemoRequest(args)) {
    return runDemo(args, environment);
  }
  return runCli(args, environment);
}
