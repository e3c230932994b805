// tarnwick-sim as a child process on a pseudo-terminal, for the demo: started
// with the demo receiver's settings, stopped when this object goes.
#pragma once

#include "demo_tree.h"

#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tarnwick::demo {

class SimulatorProcess {
public:
  SimulatorProcess(const SimulatorProcess &) = delete;
  SimulatorProcess &operator=(const SimulatorProcess &) = delete;
  ~SimulatorProcess(); // stops the simulator

  // Starts program with args and waits up to timeoutMs for the device path it
  // prints first. Nothing, with the reason in why, when that fails.
  static std::unique_ptr<SimulatorProcess> start(const std::filesystem::path &program,
                                                 const std::vector<std::string> &args,
                                                 std::string &why, int timeoutMs = 5000);

  // tarnwick-sim from folder, playing the demo receiver; with templates, it
  // holds the user and trace templates of that folder's "User" and "Trace".
  static std::unique_ptr<SimulatorProcess>
  startDemoReceiver(const std::filesystem::path &folder, std::string &why,
                    const DemoReceiver &receiver = kDemoReceiver,
                    const std::filesystem::path &templates = {});

  const std::string &device() const { return device_; }
  pid_t pid() const { return pid_; }
  // Whether the simulator is still running.
  bool running();

private:
  SimulatorProcess(pid_t pid, int output, std::string device)
      : pid_(pid), output_(output), device_(std::move(device)) {}

  pid_t pid_;
  int output_; // its standard output, kept open so that it never writes into a closed pipe
  std::string device_;
  bool reaped_ = false;
};

// The name of the simulator program beside the other programs.
inline constexpr const char *kSimulatorProgram = "tarnwick-sim";

} // namespace tarnwick::demo
