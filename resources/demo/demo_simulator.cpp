#include "demo_simulator.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace tarnwick::demo {

namespace {

constexpr int kStopGraceMs = 2000; // after SIGTERM, before SIGKILL

// The first line of fd, read within timeoutMs; empty on time-out or end.
std::string readFirstLine(int fd, int timeoutMs) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      return {};
    }
    pollfd pfd{fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return {};
    }
    char c = 0;
    const ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return {};
    }
    if (c == '\n') {
      return line;
    }
    line.push_back(c);
  }
}

bool waitForExit(pid_t pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const pid_t done = waitpid(pid, nullptr, WNOHANG);
    if (done == pid || (done < 0 && errno == ECHILD)) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

} // namespace

std::unique_ptr<SimulatorProcess> SimulatorProcess::start(const std::filesystem::path &program,
                                                          const std::vector<std::string> &args,
                                                          std::string &why, int timeoutMs) {
  // Everything the child needs is prepared before the fork.
  const std::string path = program.string();
  std::vector<std::string> argStore{path};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &arg : argStore) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    why = std::string("cannot create a pipe: ") + std::strerror(errno);
    return nullptr;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    why = std::string("cannot start ") + path + ": " + std::strerror(errno);
    close(pipeFds[0]);
    close(pipeFds[1]);
    return nullptr;
  }
  if (pid == 0) {
#if defined(__linux__)
    prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive the demo
#endif
    dup2(pipeFds[1], STDOUT_FILENO);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  std::string device = readFirstLine(pipeFds[0], timeoutMs);
  if (device.empty() || device.front() != '/') {
    why = path + " did not name its device";
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(pipeFds[0]);
    return nullptr;
  }
  return std::unique_ptr<SimulatorProcess>(new SimulatorProcess(pid, pipeFds[0], device));
}

std::unique_ptr<SimulatorProcess>
SimulatorProcess::startDemoReceiver(const std::filesystem::path &folder, std::string &why,
                                    const DemoReceiver &receiver,
                                    const std::filesystem::path &templates) {
  std::vector<std::string> args = {"--model",    std::to_string(receiver.modelCode),
                                   "--software", std::to_string(receiver.softwareVersion),
                                   "--hardware", std::to_string(receiver.hardwareVersion)};
  if (!templates.empty()) {
    args.insert(args.end(), {"--user-templates", (templates / "User").string(), "--trace-templates",
                             (templates / "Trace").string()});
  }
  return start(folder / kSimulatorProgram, args, why);
}

bool SimulatorProcess::running() {
  if (reaped_) {
    return false;
  }
  const pid_t done = waitpid(pid_, nullptr, WNOHANG);
  if (done == pid_) {
    reaped_ = true;
  }
  return !reaped_;
}

SimulatorProcess::~SimulatorProcess() {
  if (!reaped_) {
    kill(pid_, SIGTERM);
    if (!waitForExit(pid_, kStopGraceMs)) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  close(output_);
}

} // namespace tarnwick::demo
