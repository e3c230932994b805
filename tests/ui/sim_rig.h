// A context on the simulator's virtual time, for the dialog tests. The user is
// either scripted or the real dialogs.
#pragma once

#include "app_context.h"
#include "scripted_user.h"
#include "sim_port.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::testing {

struct GuiSimRig {
  explicit GuiSimRig(UserPort *realUser = nullptr, std::vector<std::string> devices = {})
      : context("/nonexistent-working-folder", sim, clock,
                realUser != nullptr ? *realUser : static_cast<UserPort &>(scripted)) {
    context.portDiscovery = std::make_unique<FixedPortDiscovery>(std::move(devices));
  }

  // A receiver on device, opened as the Communication Options dialog leaves it.
  sim::Receiver &openReceiver(const std::string &device, sim::ReceiverSettings settings = {},
                              sim::Faults faults = {}) {
    sim::Receiver &receiver = sim.addReceiver(device, std::move(settings), std::move(faults));
    sim.setBaudRate(38400);
    sim.openPort(device);
    context.portState.markOpen(device, 38400);
    return receiver;
  }

  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  ScriptedUser scripted;
  AppContext context;
};

} // namespace tarnwick::testing
