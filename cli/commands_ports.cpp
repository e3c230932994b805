// ports: the serial devices that can be opened, and why the others cannot.
#include "cli_app.h"
#include "command_groups.h"
#include "error_reason.h"
#include "json_output.h"
#include "port_settings.h"

namespace tarnwick::cli {

namespace {

void printText(CliSession &session, const ProbeResult &probe) {
  for (const std::string &port : probe.ports) {
    session.out() << port << '\n';
  }
  for (const RefusedPort &refused : probe.refused) {
    session.err() << refused.device << ": " << portOpenReason(refused.error) << '\n';
  }
}

void printJson(CliSession &session, const ProbeResult &probe) {
  JsonDocument refused = JsonDocument::array();
  for (const RefusedPort &port : probe.refused) {
    refused.push_back(
        {{"device", port.device}, {"error", port.error}, {"reason", portOpenReason(port.error)}});
  }
  printJsonLine(session.out(), {{"ports", probe.ports}, {"refused", refused}});
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
    if (!session.namesPorts()) {
      session.err() << session.context().text(sid::kPseudoTerminalsNote) << '\n';
    }
  }
  return probe.ports.empty() ? kExitNoPort : kExitDone;
}

} // namespace

void addPortsCommands(CliApp &app) {
  app.addCommand({"ports", "List the serial ports that can be opened, and why others cannot"},
                 runPorts);
}

} // namespace tarnwick::cli
