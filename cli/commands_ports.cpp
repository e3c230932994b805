// ports: the serial devices that can be opened, and why the others cannot.
#include "cli_app.h"
#include "command_groups.h"
#include "json_text.h"
#include "port_settings.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

namespace tarnwick::cli {

namespace {

std::string systemReason(int error) {
  std::string text = std::generic_category().message(error);
  if (!text.empty()) {
    text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
  }
  return text;
}

// Why a device did not open, in words a technician can act on.
std::string refusalReason(int error, const StringTable &strings) {
  switch (error) {
  case EACCES:
  case EPERM:
    return "permission denied — " + strings.text(sid::kDialoutGroupHint);
  case EBUSY:
    return "busy — in use by another program";
  case EIO:
    return "input/output error — no device answers behind it";
  case ENOENT:
  case ENODEV:
  case ENXIO:
    return "no such device";
  default:
    break;
  }
  return systemReason(error);
}

void printText(CliSession &session, const ProbeResult &probe) {
  for (const std::string &port : probe.ports) {
    session.out() << port << '\n';
  }
  for (const RefusedPort &refused : probe.refused) {
    session.err() << refused.device << ": "
                  << refusalReason(refused.error, session.context().strings) << '\n';
  }
}

void printJson(CliSession &session, const ProbeResult &probe) {
  std::string text = "{\"ports\":[";
  for (std::size_t i = 0; i < probe.ports.size(); ++i) {
    text += (i == 0 ? "" : ",") + json::quoted(probe.ports[i]);
  }
  text += "],\"refused\":[";
  for (std::size_t i = 0; i < probe.refused.size(); ++i) {
    const RefusedPort &refused = probe.refused[i];
    text += (i == 0 ? "" : ",") + std::string("{\"device\":") + json::quoted(refused.device) +
            ",\"error\":" + std::to_string(refused.error) +
            ",\"reason\":" + json::quoted(refusalReason(refused.error, session.context().strings)) +
            "}";
  }
  session.out() << text << "]}\n";
}

int runPorts(CliSession &session) {
  AppContext &context = session.context();
  if (!context.serialLibrary.ready) {
    return kExitFailed; // reported at start-up
  }
  const ProbeResult probe = probePorts(context.port, context.portDiscovery->candidates());
  if (session.options().json) {
    printJson(session, probe);
  } else {
    printText(session, probe);
  }
  return probe.ports.empty() ? kExitNoPort : kExitDone;
}

} // namespace

void addPortsCommands(CliApp &app) {
  app.addCommand({"ports", "List the serial ports that can be opened, and why others cannot"},
                 runPorts);
}

} // namespace tarnwick::cli
