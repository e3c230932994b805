// tarnwick-cli: the receiver tools without a window.
#include "cli_session.h"
#include "demo.h"
#include "port_discovery.h"
#include "run_cli.h"
#include "serial_backend.h"
#include "terminal.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv) {
  using namespace tarnwick::cli;
  SystemTerminal terminal;
  SystemSerialBackend serial;
  CliEnvironment environment{std::cout, std::cerr, terminal, serial,
                             tarnwick::portsFromEnvironment()};
  const std::vector<std::string> args(argv, argv + argc);
  if (isDemoRequest(args)) {
    return runDemo(args, environment);
  }
  return runCli(args, environment);
}
