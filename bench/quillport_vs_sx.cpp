// Packets per second of the library against lrzsz's sx -k, both sending the
// same 1,024,000-byte file to rx -c over a pseudo-terminal pair joined by a
// cable. A run counts until rx holds the whole file: sx lingers after its last
// block, so the received file's size is polled rather than the sender awaited.
#include "crc16.h"
#include "rx_cable.h"
#include "rx_peer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using quillport::peer::ReplyTiming;
using quillport::peer::RxCable;
using quillport::peer::SteadyTime;
using quillport::peer::QuillportLibrary;

namespace {

constexpr std::size_t kFileSize = 1024000; // the largest file the library takes
constexpr std::size_t kBlockData = 1024;
constexpr std::size_t kBlockSize = 3 + kBlockData + 2; // STX, number, complement, data, CRC
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kStartRequest = 'C';
constexpr int kPackets = static_cast<int>(kFileSize / kBlockData);
constexpr int kDefaultRuns = 5;
constexpr int kBaud = 38400; // a pseudo-terminal ignores it; the program's default
constexpr int kStartWaitMs = 15000;
constexpr auto kArrivalLimit = std::chrono::seconds(120);
constexpr auto kPollPeriod = std::chrono::microseconds(500);
constexpr int kRxExitWaitMs = 10000;
constexpr int kSxExitWaitMs = 3000;

struct RunResult {
  bool ok = false;
  double seconds = 0;         // start until rx holds the whole file
  double secondsAfterAck = 0; // first ACK delivered until rx holds the whole file
  int crcBlocks = 0;          // 1024-byte blocks with a valid CRC seen on the cable
  int naks = 0;               // blocks rx asked for again
  int starts = 0;             // "C" requests rx sent
  int unflushed = 0;          // replies the cable passed on without seeing rx's flush
  std::string problem;
  double packetsPerSecond() const { return kPackets / seconds; }
  // The rest of the file once the first block is through: leaves out rx's
  // start (about 0.5 s before it acknowledges its first block).
  double packetsPerSecondAfterAck() const { return (kPackets - 1) / secondsAfterAck; }
};

fs::path executableFolder() {
  char buffer[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? fs::path(std::string(buffer, static_cast<std::size_t>(n))).parent_path()
               : fs::current_path();
}

Bytes randomFile(std::size_t size) {
  Bytes bytes(size);
  std::mt19937 random(1024000);
  for (auto &b : bytes) {
    b = static_cast<std::uint8_t>(random());
  }
  return bytes;
}

bool writeFile(const fs::path &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::size_t paddedSize(std::size_t size) {
  return (size + kBlockData - 1) / kBlockData * kBlockData;
}

// Seconds from start until the file holds size bytes; nothing on time-out.
std::optional<double> waitForSize(const fs::path &file, std::size_t size, SteadyTime start) {
  for (;;) {
    std::error_code error;
    const auto now = std::chrono::steady_clock::now();
    if (fs::file_size(file, error) >= size && !error) {
      return std::chrono::duration<double>(now - start).count();
    }
    if (now - start > kArrivalLimit) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(kPollPeriod);
  }
}

// Counts well-formed CRC blocks: proof that the sender used CRC, not checksums.
int countCrcBlocks(const Bytes &cable) {
  int count = 0;
  for (std::size_t i = 0; i + kBlockSize <= cable.size();) {
    const std::uint8_t *block = cable.data() + i;
    const std::uint16_t crc = quillport::crc16(block + 3, kBlockData);
    if (block[0] == kStx && block[1] + block[2] == 255 && block[kBlockSize - 2] == (crc >> 8) &&
        block[kBlockSize - 1] == (crc & 0xFF)) {
      ++count;
      i += kBlockSize;
    } else {
      ++i;
    }
  }
  return count;
}

// Both senders' runs end the same way: the file arrived whole, rx finished.
void finishRun(RunResult &result, std::optional<double> seconds, SteadyTime start, RxCable &link,
               const Bytes &original, const fs::path &received) {
  int rxStatus = -1;
  const bool rxEnded = link.wait(kRxExitWaitMs, &rxStatus);
  result.crcBlocks = countCrcBlocks(link.cable().fromSender());
  const Bytes replies = link.cable().fromReceiver();
  result.naks = static_cast<int>(std::count(replies.begin(), replies.end(), kNak));
  result.starts = static_cast<int>(std::count(replies.begin(), replies.end(), kStartRequest));
  result.unflushed = link.cable().repliesWithoutFlush();
  const auto firstAck = link.cable().firstAckDelivered();
  if (!seconds || !firstAck) {
    result.problem = "the file did not arrive in time";
    return;
  }
  result.seconds = *seconds;
  result.secondsAfterAck = *seconds - std::chrono::duration<double>(*firstAck - start).count();
  if (!quillport::peer::isOriginalPlusPadding(original, quillport::peer::readFileBytes(received))) {
    result.problem = "the received file differs from the original";
  } else if (!rxEnded || rxStatus != 0) {
    result.problem = "rx did not end cleanly (status " + std::to_string(rxStatus) + ")";
  } else {
    result.ok = true;
  }
}

RunResult runLibrary(const QuillportLibrary &lib, const fs::path &folder, const Bytes &original,
                     const fs::path &source, ReplyTiming timing) {
  RunResult result;
  RxCable link({folder.string(), "received.bin", 0}, timing);
  lib.setBaudRate(kBaud);
  if (const int error = lib.openPort(link.devicePath().c_str()); error != 0) {
    result.problem = "cannot open " + link.devicePath() + ": error " + std::to_string(error);
    return result;
  }
  const SteadyTime start = std::chrono::steady_clock::now();
  quillport::peer::SendReport report;
  std::thread sender(
      [&] { report = quillport::peer::sendFileAsTheProgram(lib, source.string(), kStartWaitMs); });
  const auto seconds = waitForSize(folder / "received.bin", paddedSize(original.size()), start);
  sender.join();
  lib.closePort();
  finishRun(result, seconds, start, link, original, folder / "received.bin");
  if (result.ok && !report.allAcknowledged()) {
    result.ok = false;
    result.problem = "a packet was not acknowledged";
  }
  return result;
}

[[noreturn]] void execSx(int tty, const fs::path &source, const fs::path &log) {
  dup2(tty, STDIN_FILENO);
  dup2(tty, STDOUT_FILENO);
  const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (logFd >= 0) {
    dup2(logFd, STDERR_FILENO);
  }
  execlp("sx", "sx", "-k", source.c_str(), static_cast<char *>(nullptr));
  _exit(127);
}

// sx stays a while after rx has the file; it is given a moment, then ended.
void endSx(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSxExitWaitMs);
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

RunResult runSx(const fs::path &folder, const Bytes &original, const fs::path &source,
                ReplyTiming timing) {
  RunResult result;
  RxCable link({folder.string(), "received.bin", 0}, timing);
  const int tty = open(link.devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty < 0) {
    result.problem = "cannot open " + link.devicePath() + ": " + std::strerror(errno);
    return result;
  }
  const SteadyTime start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execSx(tty, source, folder / "sx.log");
  }
  close(tty);
  if (pid < 0) {
    result.problem = "cannot start sx";
    return result;
  }
  const auto seconds = waitForSize(folder / "received.bin", paddedSize(original.size()), start);
  finishRun(result, seconds, start, link, original, folder / "received.bin");
  endSx(pid);
  return result;
}

fs::path freshFolder(const fs::path &base, const std::string &name, int run) {
  const fs::path folder = base / (name + "-" + std::to_string(run));
  fs::create_directories(folder);
  return folder;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

using Rate = double (RunResult::*)() const;

void printSummaryRow(const char *label, double library, double sx, double ratio) {
  std::printf("%-8s %14.1f %14.1f %12.3f\n", label, library, sx, ratio);
}

void printTable(const char *title, Rate rate, const std::vector<RunResult> &library,
                const std::vector<RunResult> &sx) {
  std::vector<double> lib;
  std::vector<double> ref;
  std::vector<double> ratio;
  std::printf("\n%s\n%-8s %14s %14s %12s\n", title, "run", "library pkt/s", "sx -k pkt/s",
              "library/sx");
  for (std::size_t i = 0; i < library.size(); ++i) {
    lib.push_back((library[i].*rate)());
    ref.push_back((sx[i].*rate)());
    ratio.push_back(lib.back() / ref.back());
    std::printf("%-8zu %14.1f %14.1f %12.3f\n", i + 1, lib.back(), ref.back(), ratio.back());
  }
  printSummaryRow("median", median(lib), median(ref), median(ratio));
  printSummaryRow("min", *std::min_element(lib.begin(), lib.end()),
                  *std::min_element(ref.begin(), ref.end()),
                  *std::min_element(ratio.begin(), ratio.end()));
  printSummaryRow("max", *std::max_element(lib.begin(), lib.end()),
                  *std::max_element(ref.begin(), ref.end()),
                  *std::max_element(ratio.begin(), ratio.end()));
  std::printf("ratio of the medians (library / sx): %.3f\n", median(lib) / median(ref));
}

// Prints one run; a failed run stops the benchmark with its folder kept.
bool reportRun(const char *sender, int run, const RunResult &result, const fs::path &base) {
  if (!result.ok) {
    std::fprintf(stderr, "run %d, %s: %s (kept in %s)\n", run, sender, result.problem.c_str(),
                 base.c_str());
    return false;
  }
  std::printf("  run %d %-8s %7.3f s (%.3f s after the first ACK); CRC blocks on the cable: %d; "
              "rx sent %d \"C\", %d NAK; replies passed on without a flush: %d\n",
              run, sender, result.seconds, result.secondsAfterAck, result.crcBlocks, result.starts,
              result.naks, result.unflushed);
  std::fflush(stdout);
  return true;
}

struct Options {
  int runs = kDefaultRuns;
  bool keep = false; // keep each run's folder (received file, rx.log, sx.log)
  ReplyTiming timing = ReplyTiming::AfterFlush;
};

Options parseOptions(int argc, char **argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--bare") == 0) {
      options.timing = ReplyTiming::AtOnce;
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      options.keep = true;
    }
  }
  return options;
}

bool onPath(const std::string &program) {
  const char *path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

int run(const Options &options) {
  const int runs = options.runs;
  if (!onPath("rx") || !onPath("sx")) {
    std::fprintf(stderr, "lrzsz's rx and sx are needed (apt-get install lrzsz)\n");
    return 1;
  }
  QuillportLibrary lib;
  const fs::path libraryPath = executableFolder() / QUILLPORT_FILE_NAME;
  if (const std::string error = lib.load(libraryPath.string()); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const fs::path base = fs::temp_directory_path() / ("quillport-vs-sx-" + std::to_string(getpid()));
  fs::create_directories(base);
  const fs::path source = base / "image.bin";
  const Bytes original = randomFile(kFileSize);
  if (!writeFile(source, original)) {
    std::fprintf(stderr, "cannot write %s\n", source.c_str());
    return 1;
  }
  std::printf("Sending %zu random bytes (%d packets of %zu) to rx -c, %d runs each:\n"
              "the library as the program sends (packet 0 three times), then sx -k.\n"
              "Cable between the two pty pairs: %s.\n",
              original.size(), kPackets, kBlockData, runs,
              options.timing == ReplyTiming::AtOnce
                  ? "bare, rx's replies passed on at once (racing rx's input flush)"
                  : "rx's replies passed on once rx has flushed its input");
  std::vector<RunResult> library;
  std::vector<RunResult> sx;
  for (int i = 1; i <= runs; ++i) {
    library.push_back(
        runLibrary(lib, freshFolder(base, "library", i), original, source, options.timing));
    sx.push_back(runSx(freshFolder(base, "sx", i), original, source, options.timing));
    if (!reportRun("library", i, library.back(), base) || !reportRun("sx -k", i, sx.back(), base)) {
      return 1;
    }
  }
  printTable("From the start until rx holds the file (1000 packets):", &RunResult::packetsPerSecond,
             library, sx);
  printTable("From the first ACK until rx holds the file (999 packets):",
             &RunResult::packetsPerSecondAfterAck, library, sx);
  if (options.keep) {
    std::printf("run folders kept in %s\n", base.c_str());
  } else {
    std::error_code ignored;
    fs::remove_all(base, ignored);
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  try {
    return run(parseOptions(argc, argv));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "bench_quillport_vs_sx: %s\n", e.what());
    return 1;
  }
}
