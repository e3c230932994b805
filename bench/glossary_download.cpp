// The glossary download's own cost beside the pacing the protocol asks for:
// the pauses and byte gaps the receiver is owed (the plan's mandated time)
// against the time the download takes, first on the simulator's virtual
// clock with the full demo glossary, then in real time through the built
// Quillport.so to tarnwick-sim on a pseudo-terminal with a small glossary.
#include "glossary_download.h"
#include "app_context.h"
#include "clock.h"
#include "demo_templates.h"
#include "dynamic_library.h"
#include "quillport_binding.h"
#include "scripted_user.h"
#include "sim_port.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBaud = 38400;
constexpr int kDeviceWaitMs = 5000;

struct Figures {
  std::int64_t mandatedMs;
  double takenMs;
  tarnwick::DownloadResult result;
};

void print(const char *title, const Figures &figures) {
  const double overhead = 100.0 * (figures.takenMs - static_cast<double>(figures.mandatedMs)) /
                          static_cast<double>(figures.mandatedMs);
  std::printf("%s\n", title);
  std::printf("  mandated by the protocol (pauses and byte gaps): %10.3f s\n",
              static_cast<double>(figures.mandatedMs) / 1000.0);
  std::printf("  taken by the program:                            %10.3f s\n",
              figures.takenMs / 1000.0);
  std::printf("  overhead:                                        %10.3f %%%s\n", overhead,
              figures.result == tarnwick::DownloadResult::Completed ? "" : "  (NOT COMPLETED)");
}

Figures onVirtualTime(const tarnwick::Glossary &glossary, double &wallMs) {
  tarnwick::VirtualClock clock(1000);
  tarnwick::sim::SimPort sim(clock);
  tarnwick::ScriptedUser user;
  tarnwick::AppContext context("/nonexistent", sim, clock, user);
  const std::string device = "/dev/simBench";
  sim.addReceiver(device);
  sim.setBaudRate(kBaud);
  sim.openPort(device);
  context.portState.markOpen(device, kBaud);
  tarnwick::GlossaryDownload download(context, glossary);
  const auto wallStart = std::chrono::steady_clock::now();
  const std::int64_t start = clock.nowMs();
  const tarnwick::DownloadResult result = download.download(tarnwick::CancelToken{});
  const std::int64_t taken = clock.nowMs() - start;
  wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
               .count();
  return {download.mandatedMs(), static_cast<double>(taken), result};
}

// tarnwick-sim beside this program, stopped at the end; its first line is the device.
class SimProcess {
public:
  explicit SimProcess(const fs::path &program) {
    int out[2];
    if (pipe(out) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string path = program.string();
    char *argv[] = {path.data(), nullptr};
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }
  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    close(stdout_);
  }
  SimProcess(const SimProcess &) = delete;
  SimProcess &operator=(const SimProcess &) = delete;

  std::string device() const {
    std::string line;
    for (;;) {
      pollfd pfd{stdout_, POLLIN, 0};
      char c = 0;
      if (poll(&pfd, 1, kDeviceWaitMs) <= 0 || read(stdout_, &c, 1) != 1 || c == '\n') {
        return line;
      }
      line.push_back(c);
    }
  }

private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

std::optional<Figures> inRealTime(const tarnwick::Glossary &glossary) {
  const fs::path folder = tarnwick::DynamicLibrary::executableFolder();
  SimProcess sim(folder / "tarnwick-sim");
  const std::string device = sim.device();
  if (device.rfind("/dev/", 0) != 0) {
    std::fprintf(stderr, "tarnwick-sim did not start from %s\n", folder.c_str());
    return std::nullopt;
  }
  tarnwick::QuillportBinding binding;
  const auto &status = binding.load(folder, folder);
  if (!status.bound) {
    std::fprintf(stderr, "cannot bind %s %s\n", status.libraryPath.c_str(),
                 status.loadError.c_str());
    return std::nullopt;
  }
  tarnwick::SteadyClock clock;
  tarnwick::ScriptedUser user;
  tarnwick::AppContext context(folder, binding, clock, user);
  binding.setBaudRate(kBaud);
  if (const int error = binding.openPort(device); error != 0) {
    std::fprintf(stderr, "cannot open %s: error %d\n", device.c_str(), error);
    return std::nullopt;
  }
  context.portState.markOpen(device, kBaud);
  tarnwick::GlossaryDownload download(context, glossary);
  const auto start = std::chrono::steady_clock::now();
  const tarnwick::DownloadResult result = download.download(tarnwick::CancelToken{});
  const double taken =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  binding.closePort();
  return Figures{download.mandatedMs(), taken, result};
}

// A few labels and descriptions; every group still goes over, its empty
// items as the end byte alone.
tarnwick::Glossary smallGlossary() {
  tarnwick::Glossary glossary;
  glossary.setEntry(7, 1, "Owner");
  glossary.setEntry(7, 2, "Utility");
  glossary.setEntry(8, 5, "Date");
  glossary.setEntry(14, 2, "M/D/Y");
  glossary.setEntry(14, 3, "D/M/Y");
  glossary.setEntry(15, 0, "Gas");
  glossary.setEntry(15, 1, "Water");
  glossary.setUserEntries({"Crew"}, {"Inspected"});
  return glossary;
}

} // namespace

int main() {
  double wallMs = 0;
  const Figures simulated = onVirtualTime(tarnwick::demoEnglishGlossary(), wallMs);
  print("Full demo English glossary, simulator on the virtual clock:", simulated);
  std::printf("  (simulated in %.1f ms of wall-clock time)\n", wallMs);

  std::printf("Small glossary, real time through Quillport.so to tarnwick-sim (about 30 s)...\n");
  std::fflush(stdout);
  const auto real = inRealTime(smallGlossary());
  if (!real) {
    return 1;
  }
  print("Small glossary, real time through Quillport.so to tarnwick-sim:", *real);
  return simulated.result == tarnwick::DownloadResult::Completed &&
                 real->result == tarnwick::DownloadResult::Completed
             ? 0
             : 1;
}
