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
};

// A fixed list, e.g. the devices of a simulator.
class FixedPortDiscovery final : public PortDiscovery {
public:
  explicit FixedPortDiscovery(std::vector<std::string> devices) : devices_(std::move(devices)) {}
  std::vector<std::string> candidates() const override { return devices_; }

private:
  std::vector<std::string> devices_;
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
  explicit SystemPortDiscovery(Options options) : options_(std::move(options)) {}
  std::vector<std::string> candidates() const override;

private:
  Options options_;
};

// Splits a colon-separated device list, dropping empty entries.
std::vector<std::string> splitPortList(std::string_view list);
// The devices listed in the TARNWICK_PORTS environment variable.
std::vector<std::string> portsFromEnvironment();

} // namespace tarnwick
