// The link's part of a run's state: port, clock, user, strings, shipped
// versions and the port lease. The Session owns it; receiver tools take it
// by reference; tests build their own.
#pragma once

#include "clock.h"
#include "link_activity.h"
#include "port_api.h"
#include "port_discovery.h"
#include "port_lease.h"
#include "port_state.h"
#include "shipped_versions.h"
#include "string_table.h"
#include "user_port.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tarnwick {

// Whether the serial library is usable; the message says why not.
struct SerialLibraryState {
  bool ready = true;
  std::string message;
};

class AppContext {
public:
  AppContext(std::filesystem::path workingFolder, PortApi &port, Clock &clock, UserPort &user);

  std::filesystem::path workingFolder;
  PortApi &port;
  Clock &clock;
  UserPort &user;
  PortState portState;
  StringTable strings;
  ShippedVersions shippedVersions;
  SerialLibraryState serialLibrary;
  // Held by the tool that talks to the receiver; a second one is refused.
  PortLease portLease;
  // The last receiver identified and what the running tool waits for.
  LinkActivity activity;
  // The devices the Communication Options dialog probes; by default the
  // system's serial devices and those in TARNWICK_PORTS.
  std::unique_ptr<PortDiscovery> portDiscovery;

  const std::string &text(StringId id) const { return strings.text(id); }
  void showMessage(StringId id) { user.message(strings.text(id)); }
};

} // namespace tarnwick
