#include "app_context.h"

namespace tarnwick {

AppContext::AppContext(std::filesystem::path folder, PortApi &portApi, Clock &clockRef,
                       UserPort &userPort)
    : workingFolder(std::move(folder)), port(portApi), clock(clockRef), user(userPort),
      portDiscovery(std::make_unique<SystemPortDiscovery>(
          SystemPortDiscovery::Options{"/dev", portsFromEnvironment()},
          simulatedPortsFromEnvironment())) {}

} // namespace tarnwick
