#include "demo.h"

#include "demo_session.h"
#include "dynamic_library.h"
#include "exit_status.h"
#include "run_cli.h"

namespace tarnwick::cli {

bool isDemoRequest(const std::vector<std::string> &args) {
  return args.size() == 2 && args[1] == "--demo";
}

int runDemo(const std::vector<std::string> &args, CliEnvironment &environment) {
  const demo::DemoSession session = demo::startDemo(DynamicLibrary::executableFolder());
  if (!session.treeReady || !session.simulator) {
    environment.err << "tarnwick-cli: " << session.problem << '\n';
    return kExitFailed;
  }
  environment.out << "Demo installation: " << session.folder.string() << '\n'
                  << "Simulated receiver (tarnwick-sim) on " << session.simulator->device() << '\n'
                  << "Identifying the receiver (tarnwick-cli version):\n";
  const std::string program = args.empty() ? std::string("tarnwick-cli") : args.front();
  const int identified = runCli({program, "--workdir", session.folder.string(), "--port",
                                 session.simulator->device(), "version"},
                                environment);
  if (identified != kExitDone) {
    return identified;
  }
  const auto records = session.folder / "MarkerRecord" / "Demo survey.rmrx";
  environment.out << "Pulling the read markers (tarnwick-cli records pull):\n";
  return runCli({program, "--workdir", session.folder.string(), "--port",
                 session.simulator->device(), "records", "pull", "--kind", "read", "-o",
                 records.string()},
                environment);
}

} // namespace tarnwick::cli
