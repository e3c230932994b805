#include "demo_session.h"

#include "demo_templates.h"

#include <cstdlib>

namespace tarnwick::demo {

DemoSession startDemo(const std::filesystem::path &programFolder,
                      const std::filesystem::path &folder) {
  DemoSession session;
  session.folder = folder;
  const DemoTreeResult tree = createDemoTree(folder);
  if (tree.error) {
    session.problem = "The demo installation could not be created: " + tree.what + " (" +
                      tree.error.message() + ")";
    return session;
  }
  session.treeReady = true;
  const std::filesystem::path receiverTemplates = folder / kReceiverTemplatesFolder;
  if (const SaveResult saved = writeDemoReceiverTemplates(receiverTemplates); !saved) {
    session.problem = "The demo receiver's templates could not be written: " + saved.path.string() +
                      " (" + saved.error.message() + ")";
    return session;
  }
  std::string why;
  session.simulator =
      SimulatorProcess::startDemoReceiver(programFolder, why, kDemoReceiver, receiverTemplates);
  if (!session.simulator) {
    session.problem = "The simulated receiver could not be started: " + why;
    return session;
  }
  offerDevice(session.simulator->device());
  return session;
}

void offerDevice(const std::string &device) {
  std::string ports = device;
  if (const char *current = std::getenv("TARNWICK_PORTS"); current != nullptr && *current != 0) {
    ports += ":";
    ports += current;
  }
  setenv("TARNWICK_PORTS", ports.c_str(), 1);
}

} // namespace tarnwick::demo
