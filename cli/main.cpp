// tarnwick-cli: the receiver tools without a window.
#include "cli_app.h"
#include "port_discovery.h"
#include "serial_backend.h"
#include "terminal.h"

#include <iostream>

int main(int argc, char **argv) {
  using namespace tarnwick::cli;
  SystemTerminal terminal;
  SystemSerialBackend serial;
  CliEnvironment environment{std::cout, std::cerr, terminal, serial,
                             tarnwick::portsFromEnvironment()};
  return runCli({argv, argv + argc}, environment);
}
