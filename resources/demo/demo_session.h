// What both front ends do for --demo: the demo tree (created when missing,
// kept with what the user made in it otherwise) and a simulated receiver
// whose device the port discovery offers first.
#pragma once

#include "demo_simulator.h"
#include "demo_tree.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::demo {

struct DemoSession {
  std::filesystem::path folder;
  bool treeReady = false;
  std::unique_ptr<SimulatorProcess> simulator; // null when it could not start
  std::string problem;                         // what went wrong, for the user
};

// Beside the tree in the demo folder: the templates the simulated receiver holds.
inline constexpr const char *kReceiverTemplatesFolder = ".receiver";

// Creates the tree in folder when it is missing (rebuild: afresh, losing
// what the user made in it) and starts tarnwick-sim from programFolder.
DemoSession startDemo(const std::filesystem::path &programFolder,
                      const std::filesystem::path &folder = defaultDemoFolder(),
                      bool rebuild = false);

// Puts device first in TARNWICK_PORTS, where the Communication Options
// dialog's port discovery looks, and names it in TARNWICK_SIMULATED_PORTS so
// that the dialog marks it as the simulated receiver.
void offerDevice(const std::string &device);

// What "--demo --reset" says before rebuilding: the files that would be lost.
std::string resetWarning(const std::filesystem::path &folder,
                         const std::vector<std::filesystem::path> &changes);

} // namespace tarnwick::demo
