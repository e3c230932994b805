#include "rx_peer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quillport::peer {

namespace {

constexpr char kStartRequest = 'C';
constexpr int kFirstPacketCopies = 3; // the receiver sees block 1 three times

std::int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] void execRx(const RxOptions &options, int tty) {
  if (chdir(options.folder.c_str()) != 0) {
    _exit(126);
  }
  dup2(tty, STDIN_FILENO);
  dup2(tty, STDOUT_FILENO);
  const int log = open("rx.log", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (log >= 0) {
    dup2(log, STDERR_FILENO);
  }
  std::vector<std::string> args = {"rx", "-c"};
  if (options.errorsEvery > 0) {
    args.push_back("--errors");
    args.push_back(std::to_string(options.errorsEvery));
  }
  args.push_back(options.fileName);
  std::vector<char *> argv;
  for (std::string &arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  execvp("rx", argv.data());
  _exit(127);
}

} // namespace

RxProcess::RxProcess(const RxOptions &options, int tty) {
  pid_ = fork();
  if (pid_ < 0) {
    throw std::runtime_error("cannot start rx");
  }
  if (pid_ == 0) {
    execRx(options, tty);
  }
}

RxProcess::~RxProcess() {
  if (pid_ > 0 && !wait(0)) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

bool RxProcess::wait(int timeoutMs, int *exitStatus) {
  if (pid_ <= 0) {
    return true;
  }
  const std::int64_t deadline = nowMs() + timeoutMs;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      if (exitStatus != nullptr) {
        *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      return true;
    }
    if (nowMs() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool SendReport::allAcknowledged() const {
  if (!startSeen || parseResult != 0) {
    return false;
  }
  for (int result : results) {
    if (result != 0) {
      return false;
    }
  }
  return true;
}

SendReport sendFileAsTheProgram(const QuillportLibrary &lib, const std::string &path,
                                int startWaitMs) {
  SendReport report;
  const std::int64_t deadline = nowMs() + startWaitMs;
  while (!report.startSeen && nowMs() < deadline) {
    int count = 0;
    const char c = lib.readChar(&count);
    report.startSeen = count == 1 && c == kStartRequest;
  }
  if (!report.startSeen) {
    return report;
  }
  report.parseResult = lib.parseFile(path.c_str());
  if (report.parseResult != 0) {
    return report;
  }
  report.packetCount = lib.getNumberOfPackets();
  report.byteCount = lib.getBytes();
  for (int copy = 0; copy < kFirstPacketCopies && report.packetCount > 0; ++copy) {
    report.results.push_back(lib.sendPacket(0));
    if (report.results.back() != 0) {
      break;
    }
  }
  for (int index = 1; index < report.packetCount; ++index) {
    report.results.push_back(lib.sendPacket(index));
  }
  return report;
}

std::vector<std::uint8_t> readFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool isOriginalPlusPadding(const std::vector<std::uint8_t> &original,
                           const std::vector<std::uint8_t> &received) {
  if (received.size() < original.size() ||
      !std::equal(original.begin(), original.end(), received.begin())) {
    return false;
  }
  return std::all_of(received.begin() + static_cast<std::ptrdiff_t>(original.size()),
                     received.end(), [](std::uint8_t b) { return b == 0x1A; });
}

} // namespace quillport::peer
