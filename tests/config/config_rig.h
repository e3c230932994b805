// The configuration tools on the simulator: a scratch installation, virtual
// time, a scripted user that also keeps what each dialog was asked to show,
// and a shared configuration whose country masks the test chooses.
#pragma once

#include "app_context.h"
#include "configuration_editor.h"
#include "forwarding_port.h"
#include "install_tree.h"
#include "receiver_configuration.h"
#include "scripted_user.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::testing {

inline std::string fileBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) {
    out.push_back(static_cast<char>(value));
  }
  return out;
}

// ScriptedUser's answers, with the full prompt and file-dialog specs kept.
class RecordingUser final : public UserPort {
public:
  ScriptedUser script;
  std::vector<PromptSpec> prompts;
  std::vector<FileSpec> fileDialogs;

  std::vector<std::string> messages() const { return script.messages(); }

  void message(const std::string &text) override { script.message(text); }
  Answer ask(const std::string &text, Buttons buttons) override {
    return script.ask(text, buttons);
  }
  std::optional<std::string> openFile(const FileSpec &spec) override {
    fileDialogs.push_back(spec);
    return script.openFile(spec);
  }
  std::optional<std::string> saveFile(const FileSpec &spec) override {
    fileDialogs.push_back(spec);
    return script.saveFile(spec);
  }
  std::optional<std::string> prompt(const PromptSpec &spec) override {
    prompts.push_back(spec);
    return script.prompt(spec);
  }
  std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                       const std::vector<std::string> &rates,
                                       const std::string &selectedRate) override {
    return script.choosePort(ports, rates, selectedRate);
  }
  void beep() override { script.beep(); }
};

// Passes every call to another port; a hook sees each byte before it is written.
class HookedPort final : public ForwardingPort {
public:
  explicit HookedPort(PortApi &inner) : ForwardingPort(inner) {}
  std::function<void(int byte)> beforeWrite;

  int writeByte(int c) override {
    if (beforeWrite) {
      beforeWrite(c);
    }
    return inner_.writeByte(c);
  }
};

inline constexpr CountryMarkerMask kEveryMarker = {true, true, true, true, true, true, true};

struct ConfigRig {
  ConfigRig() {
    context.portDiscovery = std::make_unique<FixedPortDiscovery>(std::vector<std::string>{kDevice});
    // The simulated receiver's default version, for every slot.
    for (int slot = 0; slot < kVersionSlotCount; ++slot) {
      context.shippedVersions.setVersion(static_cast<VersionSlot>(slot), 23);
    }
  }

  static constexpr const char *kDevice = "/dev/simA";

  // A receiver on the device, opened as the Communication Options dialog leaves it.
  sim::Receiver &openReceiver(std::uint8_t modelCode, sim::Faults faults = {},
                              sim::ReceiverSettings settings = {}) {
    settings.modelCode = modelCode;
    sim::Receiver &receiver = sim.addReceiver(kDevice, settings, std::move(faults));
    sim.setBaudRate(38400);
    sim.openPort(kDevice);
    context.portState.markOpen(kDevice, 38400);
    return receiver;
  }

  std::unique_ptr<ConfigurationEditor> editor() {
    auto made = std::make_unique<ConfigurationEditor>(context, InstallTree(work.path()),
                                                      configuration, [this] { return country; });
    made->start();
    return made;
  }

  const std::filesystem::path &folder() const { return work.path(); }
  std::filesystem::path configFolder() const { return work.path() / "Config"; }

  TempDir work;
  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  HookedPort port{sim};
  RecordingUser user;
  AppContext context{work.path(), port, clock, user};
  CountryMarkerMask mask = kEveryMarker;
  CountryMarkerMask ceMask = kEveryMarker;
  std::vector<bool> maskRequests; // the CE flag of each request
  CountryChoice country{0, "Germany"};
  ReceiverConfiguration configuration{[this](bool cePower) {
    maskRequests.push_back(cePower);
    return cePower ? ceMask : mask;
  }};
};

} // namespace tarnwick::testing
