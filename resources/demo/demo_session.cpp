#include "demo_session.h"

#include "demo_records.h"
#include "demo_templates.h"

#include <cstdlib>

namespace tarnwick::demo {

DemoSession startDemo(const std::filesystem::path &programFolder,
                      const std::filesystem::path &folder, bool rebuild) {
  DemoSession session;
  session.folder = folder;
  const DemoTreeResult tree = rebuild ? createDemoTree(folder) : ensureDemoTree(folder);
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
  std::vector<std::string> options = demoReceiverRecordOptions(folder);
  options.insert(options.end(), {"--user-templates", (receiverTemplates / "User").string(),
                                 "--trace-templates", (receiverTemplates / "Trace").string()});
  session.simulator =
      SimulatorProcess::startDemoReceiver(programFolder, why, kDemoReceiver, options);
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
  std::string simulated = device;
  if (const char *current = std::getenv("TARNWICK_SIMULATED_PORTS");
      current != nullptr && *current != 0) {
    simulated += ":";
    simulated += current;
  }
  setenv("TARNWICK_SIMULATED_PORTS", simulated.c_str(), 1);
}

std::string resetWarning(const std::filesystem::path &folder,
                         const std::vector<std::filesystem::path> &changes) {
  std::string text = "Rebuilding the demo installation in " + folder.string() +
                     " deletes what was made or changed in it since it was created";
  if (changes.empty()) {
    return text + " (nothing so far).";
  }
  text += ":\n";
  for (const auto &file : changes) {
    text += "  " + file.string() + "\n";
  }
  return text;
}

} // namespace tarnwick::demo
