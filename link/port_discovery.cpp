#include "port_discovery.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 5> kFamilies = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA",
                                                       "rfcomm"};

struct KernelDevice {
  std::size_t family;
  unsigned long number;
  fs::path path;
};

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// ttyUSB10 → family 1, number 10; names of other kinds are skipped.
bool classify(const std::string &name, std::size_t &family, unsigned long &number) {
  for (std::size_t i = 0; i < kFamilies.size(); ++i) {
    const auto prefix = kFamilies[i];
    const std::string_view rest =
        std::string_view(name).substr(std::min(prefix.size(), name.size()));
    if (name.compare(0, prefix.size(), prefix) == 0 && allDigits(rest)) {
      family = i;
      number = std::strtoul(std::string(rest).c_str(), nullptr, 10);
      return true;
    }
  }
  return false;
}

std::vector<KernelDevice> kernelDevices(const fs::path &folder) {
  std::vector<KernelDevice> devices;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    KernelDevice device{};
    if (classify(it->path().filename().string(), device.family, device.number)) {
      device.path = it->path();
      devices.push_back(device);
    }
  }
  std::sort(devices.begin(), devices.end(), [](const KernelDevice &a, const KernelDevice &b) {
    return a.family != b.family ? a.family < b.family : a.number < b.number;
  });
  return devices;
}

fs::path canonicalOrSelf(const fs::path &path) {
  std::error_code error;
  auto canonical = fs::canonical(path, error);
  return error ? path : canonical;
}

// Canonical device → its first by-id link, in name order.
std::map<fs::path, fs::path> byIdNames(const fs::path &folder) {
  std::vector<fs::path> links;
  std::error_code error;
  for (fs::directory_iterator it(folder / "serial" / "by-id", error), end; !error && it != end;
       it.increment(error)) {
    links.push_back(it->path());
  }
  std::sort(links.begin(), links.end());
  std::map<fs::path, fs::path> names;
  for (const auto &link : links) {
    names.emplace(canonicalOrSelf(link), link);
  }
  return names;
}

class UniqueList {
public:
  void add(const fs::path &path) {
    if (seen_.insert(canonicalOrSelf(path)).second) {
      items_.push_back(path.string());
    }
  }
  std::vector<std::string> take() { return std::move(items_); }

private:
  std::set<fs::path> seen_;
  std::vector<std::string> items_;
};

} // namespace

std::vector<std::string> SystemPortDiscovery::candidates() const {
  UniqueList list;
  for (const auto &name : options_.named) {
    list.add(name);
  }
  auto byId = byIdNames(options_.deviceFolder);
  for (const auto &device : kernelDevices(options_.deviceFolder)) {
    const auto found = byId.find(canonicalOrSelf(device.path));
    list.add(found != byId.end() ? found->second : device.path);
  }
  for (const auto &[target, link] : byId) {
    list.add(link);
  }
  return list.take();
}

std::vector<std::string> splitPortList(std::string_view list) {
  std::vector<std::string> devices;
  while (!list.empty()) {
    const auto colon = list.find(':');
    const auto item = list.substr(0, colon);
    if (!item.empty()) {
      devices.emplace_back(item);
    }
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return devices;
}

std::vector<std::string> portsFromEnvironment() {
  const char *value = std::getenv("TARNWICK_PORTS");
  return value != nullptr ? splitPortList(value) : std::vector<std::string>{};
}

std::vector<std::string> simulatedPortsFromEnvironment() {
  const char *value = std::getenv("TARNWICK_SIMULATED_PORTS");
  return value != nullptr ? splitPortList(value) : std::vector<std::string>{};
}

} // namespace tarnwick
