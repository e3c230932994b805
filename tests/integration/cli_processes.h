// The programs as built, run from tests: tarnwick-sim on a pseudo-terminal
// and tarnwick-cli to its end, with their output.
#pragma once

#include "temp_dir.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarnwick::testing {

inline std::vector<char *> argvOf(std::vector<std::string> &args) {
  std::vector<char *> argv;
  for (std::string &arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  return argv;
}

// tarnwick-sim, stopped with the test; its first line names the device.
class Simulator {
public:
  explicit Simulator(std::vector<std::string> options) {
    int out[2];
    if (pipe(out) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    options.insert(options.begin(), TARNWICK_SIM_PATH);
    auto argv = argvOf(options);
    if (posix_spawn(&pid_, TARNWICK_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }
  ~Simulator() {
    stop();
    if (stdout_ >= 0) {
      close(stdout_);
    }
  }
  // Ends the simulator; it writes its transcript, when asked for one, first.
  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
      pid_ = -1;
    }
  }
  Simulator(const Simulator &) = delete;
  Simulator &operator=(const Simulator &) = delete;

  // The device path: the first line printed, within timeoutMs.
  std::string device(int timeoutMs) {
    std::string line;
    for (;;) {
      pollfd pfd{stdout_, POLLIN, 0};
      char c = 0;
      if (poll(&pfd, 1, timeoutMs) <= 0 || read(stdout_, &c, 1) != 1 || c == '\n') {
        return line;
      }
      line.push_back(c);
    }
  }

private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

struct CliRun {
  int status = -1;
  std::vector<std::string> out; // standard output, line by line
  std::string err;
};

inline std::string fileText(const std::filesystem::path &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// Runs tarnwick-cli to its end, its output in files of scratch.
inline CliRun runCli(std::vector<std::string> args, const TempDir &scratch) {
  const auto outPath = scratch.path() / "stdout.txt";
  const auto errPath = scratch.path() / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  args.insert(args.begin(), TARNWICK_CLI_PATH);
  auto argv = argvOf(args);
  CliRun run;
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, TARNWICK_CLI_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  run.out = linesOf(fileText(outPath));
  run.err = fileText(errPath);
  return run;
}

} // namespace tarnwick::testing
