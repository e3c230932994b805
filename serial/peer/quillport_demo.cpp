// Demonstrates the serial link library: sends a file through Quillport to
// lrzsz's rx over a pseudo-terminal and reports what arrived.
#include "rx_cable.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using quillport::peer::QuillportLibrary;

namespace {

constexpr int kBaud = 38400;
constexpr int kStartWaitMs = 10000;
constexpr int kRxExitWaitMs = 10000;

fs::path executableFolder() {
  char buffer[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? fs::path(std::string(buffer, static_cast<std::size_t>(n))).parent_path()
               : fs::current_path();
}

std::vector<std::uint8_t> sampleImage(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::mt19937 random(20261207);
  for (auto &b : bytes) {
    b = static_cast<std::uint8_t>(random());
  }
  return bytes;
}

bool writeFile(const fs::path &path, const std::vector<std::uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int run(std::size_t size) {
  QuillportLibrary lib;
  const fs::path libraryPath = executableFolder() / QUILLPORT_FILE_NAME;
  if (const std::string error = lib.load(libraryPath.string()); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const fs::path folder =
      fs::temp_directory_path() / ("quillport-demo-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path source = folder / "image.bin";
  const std::vector<std::uint8_t> original = sampleImage(size);
  if (!writeFile(source, original)) {
    std::fprintf(stderr, "cannot write %s\n", source.c_str());
    return 1;
  }
  quillport::peer::RxCable link({folder.string(), "received.bin", 0},
                                quillport::peer::ReplyTiming::AfterFlush);
  std::printf("Quillport demo: sending %zu bytes to rx -c over %s at %d baud\n", size,
              link.devicePath().c_str(), kBaud);
  lib.setBaudRate(kBaud);
  if (const int error = lib.openPort(link.devicePath().c_str()); error != 0) {
    std::fprintf(stderr, "cannot open %s: error %d\n", link.devicePath().c_str(), error);
    return 1;
  }
  const auto started = std::chrono::steady_clock::now();
  const auto report = quillport::peer::sendFileAsTheProgram(lib, source.string(), kStartWaitMs);
  int rxStatus = -1;
  link.wait(kRxExitWaitMs, &rxStatus);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  lib.closePort();

  std::printf("  start request \"C\": %s\n", report.startSeen ? "seen" : "not seen");
  std::printf("  packets: %d, byte counter: %d, send calls: %zu, all acknowledged: %s\n",
              report.packetCount, report.byteCount, report.results.size(),
              report.allAcknowledged() ? "yes" : "no");
  const auto received = quillport::peer::readFileBytes((folder / "received.bin").string());
  const bool same = quillport::peer::isOriginalPlusPadding(original, received);
  std::printf("  rx exit status %d; received %zu bytes in %.2f s: %s\n", rxStatus, received.size(),
              seconds,
              same ? "the original followed only by 0x1A padding" : "DIFFERENT from the original");
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return same && report.allAcknowledged() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  const std::size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
  try {
    return run(size);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "quillport-demo: %s\n", e.what());
    return 1;
  }
}
