// What both front ends do for --demo: a fresh demo tree and a simulated
// receiver whose device the port discovery offers first.
#pragma once

#include "demo_simulator.h"
#include "demo_tree.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tarnwick::demo {

struct DemoSession {
  std::filesystem::path folder;
  bool treeReady = false;
  std::unique_ptr<SimulatorProcess> simulator; // null when it could not start
  std::string problem;                         // what went wrong, for the user
};

// Beside the tree in the demo folder: the templates the simulated receiver holds.
inline constexpr const char *kReceiverTemplatesFolder = ".receiver";

// Creates the tree in folder and starts tarnwick-sim from programFolder,
// holding the demo receiver's templates.
DemoSession startDemo(const std::filesystem::path &programFolder,
                      const std::filesystem::path &folder = defaultDemoFolder());

// Puts device first in TARNWICK_PORTS, where the Communication Options
// dialog's port discovery looks.
void offerDevice(const std::string &device);

} // namespace tarnwick::demo
