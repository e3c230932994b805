// How closely the console's pacing and read time-outs hold on a real
// pseudo-terminal: Console on a QuillportBinding to the built library and the
// steady clock, with every byte's arrival timed on the pty master.
#include "app_context.h"
#include "clock.h"
#include "commands.h"
#include "console.h"
#include "dynamic_library.h"
#include "pty.h"
#include "quillport_binding.h"
#include "scripted_user.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Micros = std::int64_t;

namespace {

constexpr int kGapMs = tarnwick::cmd::kGapDefaultMs;
constexpr int kDefaultPacedBytes = 1000;
constexpr int kLineRepeats = 10;
constexpr int kSilentReads = 10;
constexpr int kBaud = 38400;
constexpr int kArrivalWaitMs = 2000;
constexpr int kPollMs = 20;

Micros nowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

double ms(Micros micros) {
  return static_cast<double>(micros) / 1000.0;
}

struct Arrival {
  std::uint8_t byte;
  Micros at;
};

// Reads the pty master on its own thread and stamps every byte as it arrives.
class ArrivalRecorder {
public:
  explicit ArrivalRecorder(int master) : master_(master), thread_([this] { run(); }) {}
  ~ArrivalRecorder() {
    stop_ = true;
    thread_.join();
  }
  ArrivalRecorder(const ArrivalRecorder &) = delete;
  ArrivalRecorder &operator=(const ArrivalRecorder &) = delete;

  // Waits until count bytes have arrived (or the line stays quiet), then
  // hands them over and starts afresh.
  std::vector<Arrival> take(std::size_t count) {
    const Micros deadline = nowMicros() + kArrivalWaitMs * 1000;
    while (size() < count && nowMicros() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::lock_guard lock(mutex_);
    return std::exchange(arrivals_, {});
  }

private:
  std::size_t size() const {
    std::lock_guard lock(mutex_);
    return arrivals_.size();
  }

  void run() {
    while (!stop_) {
      pollfd pfd{master_, POLLIN, 0};
      if (poll(&pfd, 1, kPollMs) <= 0 || (pfd.revents & POLLIN) == 0) {
        continue;
      }
      std::uint8_t buffer[256];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      const Micros at = nowMicros();
      std::lock_guard lock(mutex_);
      for (ssize_t i = 0; i < n; ++i) {
        arrivals_.push_back({buffer[i], at});
      }
    }
  }

  int master_;
  std::atomic<bool> stop_ = false;
  mutable std::mutex mutex_;
  std::vector<Arrival> arrivals_;
  std::thread thread_;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index =
      static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

bool sameBytes(const std::vector<Arrival> &arrivals, const std::string &sent) {
  return arrivals.size() == sent.size() &&
         std::equal(sent.begin(), sent.end(), arrivals.begin(), [](char c, const Arrival &a) {
           return static_cast<std::uint8_t>(c) == a.byte;
         });
}

std::string pacedBytes(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    bytes.push_back(static_cast<char>('A' + i % 26));
  }
  return bytes;
}

bool benchPacedBytes(tarnwick::Console &console, ArrivalRecorder &recorder, int count) {
  const std::string bytes = pacedBytes(count);
  std::printf("Paced write: %d bytes, %d ms after each (SendPaced)\n", count, kGapMs);
  std::fflush(stdout);
  const Micros start = nowMicros();
  const bool written = succeeded(console.SendPaced(bytes, kGapMs));
  const Micros end = nowMicros();
  const auto arrivals = recorder.take(bytes.size());
  if (!written || !sameBytes(arrivals, bytes)) {
    std::fprintf(stderr, "  the bytes did not arrive as written (%zu of %d)\n", arrivals.size(),
                 count);
    return false;
  }
  std::vector<double> errors;
  std::vector<double> absErrors;
  for (std::size_t i = 1; i < arrivals.size(); ++i) {
    errors.push_back(ms(arrivals[i].at - arrivals[i - 1].at) - kGapMs);
    absErrors.push_back(std::fabs(errors.back()));
  }
  const double span = ms(arrivals.back().at - arrivals.front().at);
  const double expectedSpan = static_cast<double>(count - 1) * kGapMs;
  const double call = ms(end - start);
  const double expectedCall = static_cast<double>(count) * kGapMs;
  std::printf("  gap error vs %d ms: median %+.3f ms, median |error| %.3f ms, "
              "99th percentile |error| %.3f ms, largest |error| %.3f ms\n",
              kGapMs, median(errors), median(absErrors), percentile(absErrors, 0.99),
              *std::max_element(absErrors.begin(), absErrors.end()));
  std::printf("  first to last arrival: %.3f ms (expected %.0f): drift %+.3f ms\n", span,
              expectedSpan, span - expectedSpan);
  std::printf("  whole call: %.3f ms (expected %.0f): drift %+.3f ms\n", call, expectedCall,
              call - expectedCall);
  return true;
}

bool benchCommandLine(tarnwick::Console &console, ArrivalRecorder &recorder) {
  const std::string_view text = tarnwick::cmd::kRuAlive;
  const std::size_t lineBytes = text.size() + 1;
  std::printf("Command line: \"%.*s\" + CR (%zu bytes) with SendCommandLine, %d ms gap, %d times\n",
              static_cast<int>(text.size()), text.data(), lineBytes, kGapMs, kLineRepeats);
  std::vector<double> calls;
  std::vector<double> spans;
  for (int i = 0; i < kLineRepeats; ++i) {
    const Micros start = nowMicros();
    const bool written = succeeded(console.SendCommandLine(text, kGapMs));
    calls.push_back(ms(nowMicros() - start));
    const auto arrivals = recorder.take(lineBytes);
    if (!written || !sameBytes(arrivals, std::string(text) + "\r")) {
      std::fprintf(stderr, "  the line did not arrive as written\n");
      return false;
    }
    spans.push_back(ms(arrivals.back().at - arrivals.front().at));
  }
  const auto [minCall, maxCall] = std::minmax_element(calls.begin(), calls.end());
  std::printf("  whole call: median %.3f ms, min %.3f, max %.3f (the line's %zu gaps: %zu ms; "
              "with the further gap after the last byte: %zu ms)\n",
              median(calls), *minCall, *maxCall, lineBytes, lineBytes * kGapMs,
              (lineBytes + 1) * kGapMs);
  std::printf("  first to last arrival: median %.3f ms (expected %zu)\n", median(spans),
              (lineBytes - 1) * kGapMs);
  return true;
}

bool benchSilentRead(tarnwick::Console &console) {
  std::printf("Silent read: Console::ReadByte on a quiet line, %d times\n", kSilentReads);
  std::vector<double> reads;
  for (int i = 0; i < kSilentReads; ++i) {
    const Micros start = nowMicros();
    const auto byte = console.ReadByte();
    reads.push_back(ms(nowMicros() - start));
    if (byte) {
      std::fprintf(stderr, "  a byte arrived on a quiet line\n");
      return false;
    }
  }
  const auto [minRead, maxRead] = std::minmax_element(reads.begin(), reads.end());
  std::printf("  one read: median %.3f ms, min %.3f, max %.3f (expected %d)\n", median(reads),
              *minRead, *maxRead, tarnwick::cmd::kReadCharMs);
  return true;
}

int parseCount(int argc, char **argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--bytes") == 0) {
      return std::max(2, std::atoi(argv[i + 1]));
    }
  }
  return kDefaultPacedBytes;
}

int run(int pacedCount) {
  tarnwick::QuillportBinding binding;
  const fs::path folder = fs::temp_directory_path();
  const auto &status = binding.load(folder, tarnwick::DynamicLibrary::executableFolder());
  if (!status.bound) {
    std::fprintf(stderr, "cannot bind %s %s\n", status.libraryPath.c_str(),
                 status.loadError.c_str());
    return 1;
  }
  quillport::peer::PtyPair pty;
  tarnwick::SteadyClock clock;
  tarnwick::ScriptedUser user;
  tarnwick::AppContext context(folder, binding, clock, user);
  tarnwick::Console console(context);
  binding.setBaudRate(kBaud);
  if (const int error = binding.openPort(pty.slavePath()); error != 0) {
    std::fprintf(stderr, "cannot open %s: error %d\n", pty.slavePath().c_str(), error);
    return 1;
  }
  std::printf("Console on %s through %s, steady clock\n", pty.slavePath().c_str(),
              status.libraryPath.c_str());
  ArrivalRecorder recorder(pty.master());
  const bool ok = benchSilentRead(console) && benchCommandLine(console, recorder) &&
                  benchPacedBytes(console, recorder, pacedCount);
  binding.closePort();
  return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  try {
    return run(parseCount(argc, argv));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "bench_pacing: %s\n", e.what());
    return 1;
  }
}
