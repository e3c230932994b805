// tarnwick-sim in real time: start the program, open the device it prints and
// talk to it like the program's serial library would.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

// The program under test, on a pipe for its standard output.
class SimProcess {
public:
  explicit SimProcess(const std::vector<std::string> &args) {
    int out[2];
    if (pipe(out) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> all{TARNWICK_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &arg : all) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, TARNWICK_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }

  ~SimProcess() {
    if (pid_ > 0) {
      stop();
    }
    if (stdout_ >= 0) {
      close(stdout_);
    }
  }

  bool started() const { return pid_ > 0; }

  // The first line the program prints, within timeoutMs.
  std::string firstLine(int timeoutMs) {
    std::string line;
    for (;;) {
      pollfd pfd{stdout_, POLLIN, 0};
      if (poll(&pfd, 1, timeoutMs) <= 0) {
        return line;
      }
      char c = 0;
      if (read(stdout_, &c, 1) != 1 || c == '\n') {
        return line;
      }
      line.push_back(c);
    }
  }

  // Asks the program to end; returns its exit status (or -1).
  int stop() {
    kill(pid_, SIGTERM);
    return waitExit();
  }

  int waitExit() {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, 0);
    pid_ = -1;
    return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

int openRaw(const std::string &path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) {
    return fd;
  }
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  tcsetattr(fd, TCSANOW, &tio);
  return fd;
}

std::string readCount(int fd, std::size_t count, int timeoutMs) {
  std::string text;
  while (text.size() < count) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, timeoutMs) <= 0) {
      break;
    }
    char buffer[64];
    const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - text.size()));
    if (n <= 0) {
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

TEST(TarnwickSimTest, answersAliveOnThePrintedDevice) {
  const std::filesystem::path transcript =
      std::filesystem::temp_directory_path() /
      ("tarnwick_sim_transcript_" + std::to_string(getpid()) + ".txt");
  SimProcess sim({"--transcript", transcript.string(), "--model", "12"});
  ASSERT_TRUE(sim.started());
  const std::string device = sim.firstLine(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;

  const int fd = openRaw(device);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  const std::string line = "ruAlive\r";
  ASSERT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  EXPECT_EQ(readCount(fd, 10, 3000), "ruAlive\n\rY");
  const std::string status = "locsw\r";
  ASSERT_EQ(write(fd, status.data(), status.size()), static_cast<ssize_t>(status.size()));
  EXPECT_EQ(readCount(fd, 16, 3000),
            std::string("locsw\n\r\xD5\x02\x00\x17\x0C\x00\x00\x00\x08", 16));
  close(fd);

  EXPECT_EQ(sim.stop(), 0);
  std::ifstream file(transcript);
  std::vector<std::string> lines;
  for (std::string text; std::getline(file, text);) {
    lines.push_back(text);
  }
  std::filesystem::remove(transcript);
  ASSERT_EQ(lines.size(), 8U + 10U + 6U + 16U);
  EXPECT_NE(lines.front().find(" in 72 r"), std::string::npos) << lines.front();
  EXPECT_NE(lines[1].find(" out 72 r"), std::string::npos) << lines[1];
}

TEST(TarnwickSimTest, restartsWithItsBannerAndReadsItsEepromFile) {
  const std::filesystem::path eeprom = std::filesystem::temp_directory_path() /
                                       ("tarnwick_sim_eeprom_" + std::to_string(getpid()) + ".bin");
  std::ofstream(eeprom, std::ios::binary) << std::string("\x00\x01\x2C", 3);
  SimProcess sim({"--banner", "\\n\\rBoot\\n\\rRevision 9\\n\\r", "--restart-delay", "100",
                  "--eeprom", eeprom.string()});
  ASSERT_TRUE(sim.started());
  const int fd = openRaw(sim.firstLine(5000));
  ASSERT_GE(fd, 0) << std::strerror(errno);
  const std::string read = "er 1 2 1\r";
  ASSERT_EQ(write(fd, read.data(), read.size()), static_cast<ssize_t>(read.size()));
  EXPECT_EQ(readCount(fd, 22, 3000), "er 1 2 1\n\r    1   44\n\r");
  const std::string reset = "swreset\r";
  ASSERT_EQ(write(fd, reset.data(), reset.size()), static_cast<ssize_t>(reset.size()));
  EXPECT_EQ(readCount(fd, 9, 3000), "swreset\n\r");
  EXPECT_EQ(readCount(fd, 20, 3000), "\n\rBoot\n\rRevision 9\n\r");
  close(fd);
  EXPECT_EQ(sim.stop(), 0);
  std::filesystem::remove(eeprom);
}

TEST(TarnwickSimTest, holdsTheTemplatesOfItsFoldersAndSendsTheFaultyName) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("tarnwick_sim_templates_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "Trace");
  std::ofstream(folder / "Gas.utl", std::ios::binary) << std::string("\x01\x07", 2);
  std::ofstream(folder / "Trace" / "Main.utl", std::ios::binary) << std::string("\xFF\x00\x09", 3);
  SimProcess sim({"--user-templates", folder.string(), "--trace-templates",
                  (folder / "Trace").string(), "--template-name", "../x"});
  ASSERT_TRUE(sim.started());
  const int fd = openRaw(sim.firstLine(5000));
  ASSERT_GE(fd, 0) << std::strerror(errno);
  const std::string user = "locut\r";
  ASSERT_EQ(write(fd, user.data(), user.size()), static_cast<ssize_t>(user.size()));
  std::string expected = std::string("locut\n\r\xD5\x02\x01\x80../x", 15);
  expected.append(11, '\0');
  expected.append("\x01\x07", 2);
  expected.append(111, '\0');
  EXPECT_EQ(readCount(fd, expected.size(), 3000), expected);
  const std::string trace = "ttdata\r";
  ASSERT_EQ(write(fd, trace.data(), trace.size()), static_cast<ssize_t>(trace.size()));
  const std::string reply = readCount(fd, 8 + 4 + 160, 3000);
  ASSERT_EQ(reply.size(), 8U + 4U + 160U);
  EXPECT_EQ(reply.substr(8, 4), std::string("\xD5\x02\x01\xA0", 4));
  EXPECT_EQ(reply.substr(12 + 15, 2), std::string("\x00\x09", 2)); // the 0xFF left out
  close(fd);
  EXPECT_EQ(sim.stop(), 0);
  std::filesystem::remove_all(folder);
}

TEST(TarnwickSimTest, refusesAnOutOfRangeByte) {
  SimProcess sim({"--model", "256"});
  ASSERT_TRUE(sim.started());
  EXPECT_EQ(sim.firstLine(5000), "");
  EXPECT_NE(sim.waitExit(), 0);
}

} // namespace
