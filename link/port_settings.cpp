#include "port_settings.h"

#include "error_reason.h"

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace tarnwick {

std::string deviceNameFor(const std::string &port) {
#if defined(_WIN32)
  return "\\\\.\\" + port;
#else
  return port;
#endif
}

int baudValue(std::string_view rate) {
  int value = 0;
  const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), value);
  return error == std::errc() && end == rate.data() + rate.size() ? value : 0;
}

ProbeResult probePorts(PortApi &port, const std::vector<std::string> &candidates) {
  ProbeResult result;
  port.setBaudRate(kProbeBaudRate);
  for (const auto &candidate : candidates) {
    port.closePort();
    const int error = port.openPort(deviceNameFor(candidate));
    if (error == 0) {
      result.ports.push_back(candidate);
      continue;
    }
    result.refused.push_back({candidate, error});
    if (error == EACCES) {
      result.permissionDenied.push_back(candidate);
    }
  }
  port.closePort();
  return result;
}

std::string permissionExplanation(const StringTable &strings, const std::string &device) {
  return strings.text(sid::kPortPermissionDenied) + device + ". " +
         strings.text(sid::kDialoutGroupHint);
}

void CommunicationOptions::open() {
  // Probing closes whatever port was open, so the flag must follow.
  context_.portState.markClosed();
  const auto candidates =
      context_.portDiscovery ? context_.portDiscovery->candidates() : std::vector<std::string>{};
  probe_ = probePorts(context_.port, candidates);
}

std::vector<std::string> CommunicationOptions::rates() const {
  return {kBaudRates.begin(), kBaudRates.end()};
}

std::string CommunicationOptions::selectedPort() const {
  return probe_.ports.empty() ? std::string() : probe_.ports.front();
}

bool CommunicationOptions::accept(const PortChoice &choice) {
  const int baud = baudValue(choice.rate);
  context_.port.setBaudRate(baud);
  const int error = context_.port.openPort(deviceNameFor(choice.port));
  if (error == 0) {
    context_.portState.markOpen(choice.port, baud);
    return true;
  }
  context_.portState.markOpenFailed(choice.port, error);
  context_.port.closePort();
  if (error == EACCES) {
    context_.user.message(permissionExplanation(context_.strings, choice.port));
  }
  return false;
}

bool CommunicationOptions::show() {
  open();
  // With nothing listed, a permission refusal is the likely reason.
  if (probe_.ports.empty() && !probe_.permissionDenied.empty()) {
    context_.user.message(permissionExplanation(context_.strings, probe_.permissionDenied.front()));
  }
  PortListing listing{ports(), rates(), selectedRate(), {}, probe_.refused};
  const auto simulated =
      context_.portDiscovery ? context_.portDiscovery->simulated() : std::vector<std::string>{};
  for (const std::string &port : listing.ports) {
    if (std::find(simulated.begin(), simulated.end(), port) != simulated.end()) {
      listing.simulated.push_back(port);
    }
  }
  const auto choice = context_.user.choosePortFrom(listing);
  if (!choice) {
    return false;
  }
  accept(*choice);
  return true;
}

bool reportBinding(AppContext &context, const BindingStatus &status) {
  context.serialLibrary = {status.bound, bindingMessage(status, context.strings)};
  if (!status.bound) {
    context.user.message(context.serialLibrary.message);
  }
  return status.bound;
}

bool serialLibraryUsable(AppContext &context) {
  if (context.serialLibrary.ready) {
    return true;
  }
  const auto &why = context.serialLibrary.message;
  context.user.message(why.empty() ? context.text(sid::kReceiverToolsUnavailable) : why);
  return false;
}

bool ensurePortOpen(AppContext &context, EnsureOpenForm form) {
  if (!serialLibraryUsable(context)) {
    return false;
  }
  if (context.portState.isOpen()) {
    return true;
  }
  CommunicationOptions dialog(context);
  if (!dialog.show()) {
    if (form == EnsureOpenForm::Standard) {
      context.showMessage(sid::kSelectPortAndRetry);
    }
    return false;
  }
  if (!context.portState.isOpen()) {
    // The system's message, then which port and why, when the open said so.
    std::string text = context.text(form == EnsureOpenForm::Standard ? sid::kPortCouldNotOpen
                                                                     : sid::kFailedToOpenPort);
    // (A permission refusal was explained when the port was chosen.)
    if (const auto [port, error] = context.portState.lastFailure();
        error != 0 && error != EACCES && !port.empty()) {
      text += "\n" + describePortFailure(port, error);
    }
    context.user.message(text);
    return false;
  }
  return true;
}

void failureClose(AppContext &context) {
  context.portState.markClosed();
  context.port.closePort();
}

void failWithMessage(AppContext &context, StringId message) {
  context.showMessage(message);
  failureClose(context);
}

void endExchange(AppContext &context, Outcome outcome, StringId silentMessage) {
  switch (outcome) {
  case Outcome::Ok:
  case Outcome::Cancelled:
    return;
  case Outcome::WriteFailed:
    failWithMessage(context, sid::kFailedToWriteComport);
    return;
  case Outcome::Silent:
  case Outcome::WrongReply:
    failWithMessage(context, silentMessage);
    return;
  }
}

} // namespace tarnwick
