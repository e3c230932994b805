// Where a run of the command line gets its serial operations, its clock and
// its device list. The system's loads the serial library; tests pass the
// simulator on virtual time.
#pragma once

#include "clock.h"
#include "port_api.h"
#include "port_discovery.h"
#include "quillport_binding.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::cli {

class SerialBackend {
public:
  virtual ~SerialBackend() = default;
  // Binds the serial library for a working folder; called once.
  virtual BindingStatus bind(const std::filesystem::path &workingFolder) = 0;
  virtual PortApi &port() = 0;
  virtual Clock &clock() = 0;
  // The devices to probe: named first (from --port and TARNWICK_PORTS).
  virtual std::unique_ptr<PortDiscovery> discovery(std::vector<std::string> named) = 0;
};

// Quillport from the working folder, else beside the executable; the steady
// clock; the system's serial devices.
class SystemSerialBackend final : public SerialBackend {
public:
  BindingStatus bind(const std::filesystem::path &workingFolder) override {
    return binding_.load(workingFolder);
  }
  PortApi &port() override { return binding_; }
  Clock &clock() override { return clock_; }
  std::unique_ptr<PortDiscovery> discovery(std::vector<std::string> named) override {
    return std::make_unique<SystemPortDiscovery>(
        SystemPortDiscovery::Options{"/dev", std::move(named)});
  }

private:
  QuillportBinding binding_;
  SteadyClock clock_;
};

} // namespace tarnwick::cli
