#include "cli_session.h"

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
  context_ =
      std::make_unique<AppContext>(options_.workdir, port, environment_.serial.clock(), user_);
  context_->portDiscovery = environment_.serial.discovery(namedPorts());
  context_->shippedVersions = ShippedVersions::readFile(options_.workdir);
  if (usesReceiver) {
    reportBinding(*context_, binding);
    bindingReported_ = true;
  } else {
    context_->serialLibrary = {binding.bound, bindingMessage(binding, context_->strings)};
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
  // Said once: at start-up for a command that always uses the receiver, else here.
  if (!bindingReported_ && !serialLibraryUsable(*context_)) {
    return kExitFailed;
  }
  if (!context_->serialLibrary.ready) {
    return kExitFailed;
  }
  // Without --port the Communication Options dialog could only be cancelled:
  // say so before any device is touched.
  if (options_.port.empty()) {
    context_->showMessage(sid::kSelectPortAndRetry);
    return kExitUsage;
  }
  return std::nullopt;
}

} // namespace tarnwick::cli
