// Which serial devices the Communication Options dialog probes. The system
// scan is one implementation; tests list simulated devices instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class PortDiscovery {
public:
  virtual ~PortDiscovery() = default;
  // Device names in the order the dialog lists them.
  virtual std::vector<std::string> candidates() const = 0;
  // The candidates that are simulated receivers rather than cables (the demo's).
  virtual std::vector<std::string> simulated() const { return {}; }
};

// A fixed list, e.g. the devices of a simulator.
class FixedPortDiscovery final : public PortDiscovery {
public:
  explicit FixedPortDiscovery(std::vector<std::string> devices,
                              std::vector<std::string> simulatedDevices = {})
      : devices_(std::move(devices)), simulated_(std::move(simulatedDevices)) {}
  std::vector<std::string> candidates() const override { return devices_; }
  std::vector<std::string> simulated() const override { return simulated_; }

private:
  std::vector<std::string> devices_;
  std::vector<std::string> simulated_;
};

// The serial devices present under a device folder: ttyS*, ttyUSB*, ttyACM*,
// ttyAMA* and rfcomm*, each under its serial/by-id name where it has one, then
// any other by-id device. Devices named explicitly come first.
class SystemPortDiscovery final : public PortDiscovery {
public:
  struct Options {
    std::filesystem::path deviceFolder = "/dev";
    std::vector<std::string> named; // from --port and TARNWICK_PORTS
  };
  SystemPortDiscovery() = default;
  // simulatedDevices: from TARNWICK_SIMULATED_PORTS.
  explicit SystemPortDiscovery(Options options, std::vector<std::string> simulatedDevices = {})
      : options_(std::move(options)), simulated_(std::move(simulatedDevices)) {}
  std::vector<std::string> candidates() const override;
  std::vector<std::string> simulated() const override { return simulated_; }

private:
  Options options_;
  std::vector<std::string> simulated_;
};

// Splits a colon-separated device list, dropping empty entries.
std::vector<std::string> splitPortList(std::string_view list);
// The devices listed in the TARNWICK_PORTS environment variable.
std::vector<std::string> portsFromEnvironment();
// The devices listed in TARNWICK_SIMULATED_PORTS: simulated receivers.
std::vector<std::string> simulatedPortsFromEnvironment();

} // namespace tarnwick
