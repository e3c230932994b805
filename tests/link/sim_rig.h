// A context wired to the simulator on virtual time, with a scripted user.
#pragma once

#include "app_context.h"
#include "scripted_user.h"
#include "sim_port.h"
#include "test_ports.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::testing {

struct SimRig {
  explicit SimRig(std::vector<std::string> devices = {}) {
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

  // The bytes the receiver got, with their times.
  static std::vector<sim::TranscriptEntry> toReceiver(const sim::Receiver &receiver) {
    std::vector<sim::TranscriptEntry> entries;
    for (const auto &entry : receiver.transcript()) {
      if (entry.dir == sim::Direction::ToReceiver) {
        entries.push_back(entry);
      }
    }
    return entries;
  }

  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  RecordingPort port{sim};
  ScriptedUser user;
  AppContext context{"/nonexistent-working-folder", port, clock, user};
};

} // namespace tarnwick::testing
