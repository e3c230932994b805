// tarnwick-cli version against tarnwick-sim on a pseudo-terminal, in real
// time, through the Quillport library found beside the programs.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using tarnwick::testing::TempDir;

std::vector<char *> argvOf(std::vector<std::string> &args) {
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
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (stdout_ >= 0) {
      close(stdout_);
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

std::string fileText(const std::filesystem::path &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// Runs tarnwick-cli to its end, its output in files of scratch.
CliRun runCli(std::vector<std::string> args, const TempDir &scratch) {
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

const std::vector<std::string> kShippedLines = {"6130, 8360M, 8385M (E, U, Tq models): 23",
                                                "9460, 9485 (E, U, Tq models): 31",
                                                "6130Kv Model: 3",
                                                "3130, 3260, 3285 (E, U models): 6",
                                                "8330M Series: 7",
                                                "RFID Glossary: 8"};

std::vector<std::string> expectedLines(std::vector<std::string> receiver) {
  receiver.insert(receiver.end(), kShippedLines.begin(), kShippedLines.end());
  return receiver;
}

class CliVersion : public ::testing::Test {
protected:
  CliVersion() {
    work.write("Cfg/BrimstelLocatorVersion.cfg",
               "A=23.0\r\nB=3.0\r\nC=31.0\r\nD=41.0\r\nE=51.0\r\nF=6.0\r\nG=7.0\r\nH=8.0\r\n");
  }
  TempDir work;
  TempDir scratch;
};

TEST_F(CliVersion, identifiesTheSimulatedReceiver) {
  Simulator sim({"--model", "48", "--software", "23"});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const auto trace = scratch.path() / "trace.txt";
  const CliRun run = runCli(
      {"--workdir", work.path().string(), "--port", device, "--trace", trace.string(), "version"},
      scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, expectedLines({"Receiver Model: 8360M-Tq/U", "Receiver Main Software: 23",
                                    "Path Mode Compatible with latest S/W"}));
  EXPECT_EQ(run.err, "");
  const auto traced = linesOf(fileText(trace));
  ASSERT_FALSE(traced.empty());
  EXPECT_NE(traced.front().find(" TX 72 'r'"), std::string::npos) << traced.front();
}

TEST_F(CliVersion, aSilentReceiverGivesTheCommunicationError) {
  Simulator sim({"--silent-from", "0"});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const CliRun run =
      runCli({"--workdir", work.path().string(), "--port", device, "version"}, scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Error Communicating to receiver. Verify serial cable connection between PC "
                     "and receiver. Verify Receiver is on..\n");
  EXPECT_EQ(run.out, expectedLines({"Receiver Model: --", "Receiver Main Software: --", "--"}));
}

TEST_F(CliVersion, withoutPortItAsksForOne) {
  const CliRun run = runCli({"--workdir", work.path().string(), "version"}, scratch);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Please select a port and try again !\nName the receiver's serial device with "
                     "--port DEVICE (tarnwick-cli ports lists them).\n");
  EXPECT_TRUE(run.out.empty());
}

TEST_F(CliVersion, aDeviceThatIsNotThereCannotBeOpened) {
  const auto missing = scratch.path() / "ttyUSB-none";
  const CliRun run =
      runCli({"--workdir", work.path().string(), "--port", missing.string(), "version"}, scratch);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, "Failed to open port! Please connect and try again\nThe port " +
                         missing.string() + " could not be opened: no such device.\n");
}

} // namespace
