#include "cli_session.h"

#include "install_tree.h"
#include "port_settings.h"
#include "shipped_versions.h"

namespace tarnwick::cli {

CliSession::CliSession(const GlobalOptions &options, CliEnvironment &environment)
    : options_(options), environment_(environment),
      user_(options, environment.terminal, environment.err) {}

int CliSession::start(bool usesReceiver) {
  const BindingStatus binding = environment_.serial.bind(options_.workdir);
  if (!options_.trace.empty() && !openTrace()) {
    environment_.err << "Cannot write the trace file " << options_.trace << ".\n";
    return kExitUsage;
  }
  PortApi &port = tracingPort_ ? *tracingPort_ : environment_.serial.port();
  state_ = std::make_unique<Session>(options_.workdir, port, environment_.serial.clock(), user_);
  state_->startReadOnly();
  AppContext &link = state_->context();
  link.portDiscovery = environment_.serial.discovery(namedPorts());
  link.shippedVersions = ShippedVersions::readFile(options_.workdir);
  if (usesReceiver) {
    reportBinding(link, binding);
    bindingReported_ = true;
  } else {
    link.serialLibrary = {binding.bound, bindingMessage(binding, link.strings)};
  }
  return kExitDone;
}

bool CliSession::openTrace() {
  traceFile_.open(options_.trace, std::ios::out | std::ios::trunc);
  if (!traceFile_) {
    return false;
  }
  tracingPort_ = std::make_unique<TracingPort>(environment_.serial.port(),
                                               environment_.serial.clock(), traceFile_);
  return true;
}

std::vector<std::string> CliSession::namedPorts() const {
  std::vector<std::string> named;
  if (!options_.port.empty()) {
    named.push_back(options_.port);
  }
  named.insert(named.end(), environment_.environmentPorts.begin(),
               environment_.environmentPorts.end());
  return named;
}

std::optional<int> CliSession::refuseReceiverOperation() {
  // Shipped versions of 0 would pass every version check, so a folder that
  // is no installation is named before anything else.
  if (!std::filesystem::exists(state().tree().path(install::kShippedVersionsFile))) {
    context().user.message(options_.workdir.string() + context().text(sid::kNotAnInstallation));
    return kExitUsage;
  }
  // Said once: at start-up for a command that always uses the receiver, else here.
  if (!bindingReported_ && !serialLibraryUsable(context())) {
    return kExitFailed;
  }
  if (!context().serialLibrary.ready) {
    return kExitFailed;
  }
  // Without --port the Communication Options dialog could only be cancelled:
  // say so before any device is touched.
  if (options_.port.empty()) {
    context().user.message(context().text(sid::kSelectPortAndRetry) + "\n" +
                           context().text(sid::kNamePortOption));
    return kExitUsage;
  }
  return std::nullopt;
}

} // namespace tarnwick::cli
