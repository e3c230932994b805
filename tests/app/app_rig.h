// A working folder of its own, the simulator on virtual time and a scripted
// user: what the application tests start from.
#pragma once

#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"
#include <stdexcept>

#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace tarnwick::testing {

inline std::string fileBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct AppRig {
  AppRig() { app.context().portDiscovery = std::make_unique<FixedPortDiscovery>(devices); }

  const std::filesystem::path &work() const { return folder.path(); }
  std::string file(const std::string &relative) const { return fileBytes(work() / relative); }

  TempDir folder;
  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  ScriptedUser user;
  std::vector<std::string> devices{"/dev/simA"};
  Session app{folder.path(), sim, clock, user};
};

} // namespace tarnwick::testing
