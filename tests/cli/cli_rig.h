// tarnwick-cli run in-process on the simulator: virtual time, captured
// output, a scripted terminal and a scratch working folder.
#pragma once

#include "cli_app.h"
#include "forwarding_port.h"
#include "serial_backend.h"
#include "sim_port.h"
#include "temp_dir.h"
#include "terminal.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarnwick::cli::testing {

// Answers prompts from queued lines; records each prompt and whether it hid the input.
class ScriptedTerminal final : public Terminal {
public:
  bool isInteractive = false;
  std::deque<std::optional<std::string>> lines; // nothing: end of input
  std::vector<std::string> prompts;
  std::vector<bool> hidden;
  int beeps = 0;

  bool interactive() const override { return isInteractive; }
  std::optional<std::string> readLine(const std::string &prompt, bool hide) override {
    prompts.push_back(prompt);
    hidden.push_back(hide);
    if (lines.empty()) {
      return std::nullopt;
    }
    auto line = lines.front();
    lines.pop_front();
    return line;
  }
  void beep() override { ++beeps; }
};

// Runs a hook before each byte reaches the simulator.
class HookedPort final : public ForwardingPort {
public:
  using ForwardingPort::ForwardingPort;
  std::function<void()> beforeWrite;
  int writeByte(int c) override {
    if (beforeWrite) {
      beforeWrite();
    }
    return ForwardingPort::writeByte(c);
  }
};

// The simulator as the serial library: every device it knows is listed.
class SimBackend final : public SerialBackend {
public:
  VirtualClock virtualClock{1000};
  sim::SimPort sim{virtualClock};
  HookedPort hooked{sim};
  BindingStatus status = boundStatus();
  std::vector<std::string> devices;                // listed after the named ones
  std::vector<std::filesystem::path> boundFolders; // each bind() call

  static BindingStatus boundStatus() {
    BindingStatus bound;
    bound.bound = true;
    return bound;
  }

  BindingStatus bind(const std::filesystem::path &workingFolder) override {
    boundFolders.push_back(workingFolder);
    return status;
  }
  PortApi &port() override { return hooked; }
  Clock &clock() override { return virtualClock; }
  std::unique_ptr<PortDiscovery> discovery(std::vector<std::string> named) override {
    for (const auto &device : devices) {
      if (std::find(named.begin(), named.end(), device) == named.end()) {
        named.push_back(device);
      }
    }
    return std::make_unique<FixedPortDiscovery>(std::move(named));
  }
};

struct CliRig {
  SimBackend serial;
  ScriptedTerminal terminal;
  std::ostringstream out;
  std::ostringstream err;
  std::vector<std::string> environmentPorts;
  tarnwick::testing::TempDir work;
  CancelToken interrupt;

  // The scratch folder is an installation whose shipped versions are all 0;
  // tests that need others write their own version file.
  CliRig() {
    writeVersionFile("A=0.0\r\nB=0.0\r\nC=0.0\r\nD=0.0\r\nE=0.0\r\nF=0.0\r\nG=0.0\r\nH=0.0\r\n");
  }

  // Runs tarnwick-cli with args (without the program name).
  int run(std::vector<std::string> args) {
    args.insert(args.begin(), "tarnwick-cli");
    CliEnvironment environment{out, err, terminal, serial, environmentPorts, interrupt};
    return runCli(args, environment);
  }
  // The same, in the scratch working folder.
  int runIn(std::vector<std::string> args) {
    args.insert(args.begin(), {"--workdir", work.path().string()});
    return run(std::move(args));
  }

  void writeVersionFile(const std::string &text) const {
    work.write("Cfg/BrimstelLocatorVersion.cfg", text);
  }
};

} // namespace tarnwick::cli::testing
