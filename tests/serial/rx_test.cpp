// The library's transfer against an independent receiver: lrzsz's rx -c on a
// pseudo-terminal, fed the way the main program sends a software image.
#include "rx_cable.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace quillport::peer;
using Bytes = std::vector<std::uint8_t>;

constexpr int kStartWaitMs = 15000;
constexpr int kRxExitWaitMs = 30000;

QuillportLibrary &library() {
  static QuillportLibrary lib = [] {
    QuillportLibrary loaded;
    const std::string error = loaded.load(QUILLPORT_PATH);
    if (!error.empty()) {
      throw std::runtime_error(error);
    }
    return loaded;
  }();
  return lib;
}

Bytes randomBytes(std::size_t size, unsigned seed) {
  Bytes bytes(size);
  std::mt19937 random(seed);
  for (auto &b : bytes) {
    b = static_cast<std::uint8_t>(random());
  }
  return bytes;
}

struct RxCase {
  std::size_t size;
  int errorsEvery;
};

std::string caseName(const ::testing::TestParamInfo<RxCase> &info) {
  return "bytes" + std::to_string(info.param.size) +
         (info.param.errorsEvery > 0 ? "_crcErrorEvery" + std::to_string(info.param.errorsEvery)
                                     : std::string());
}

class SendToRx : public ::testing::TestWithParam<RxCase> {};

TEST_P(SendToRx, receivedFileIsTheOriginalFollowedOnlyByPadding) {
  const RxCase c = GetParam();
  tarnwick::testing::TempDir dir;
  const Bytes original = randomBytes(c.size, static_cast<unsigned>(c.size));
  const auto source = dir.write("source.bin", original);
  QuillportLibrary &lib = library();

  RxCable link({dir.path().string(), "received.bin", c.errorsEvery}, ReplyTiming::AfterFlush);
  lib.setBaudRate(115200);
  ASSERT_EQ(lib.openPort(link.devicePath().c_str()), 0);
  const SendReport report = sendFileAsTheProgram(lib, source.string(), kStartWaitMs);
  int status = -1;
  const bool ended = link.wait(kRxExitWaitMs, &status);
  lib.closePort();

  ASSERT_TRUE(report.startSeen);
  ASSERT_EQ(report.parseResult, 0);
  EXPECT_TRUE(report.allAcknowledged());
  EXPECT_EQ(report.results.size(), static_cast<std::size_t>(report.packetCount + 2));
  EXPECT_TRUE(ended);
  EXPECT_EQ(status, 0);
  const Bytes received = readFileBytes((dir.path() / "received.bin").string());
  EXPECT_EQ(received.size(), static_cast<std::size_t>(report.byteCount));
  EXPECT_TRUE(isOriginalPlusPadding(original, received));
  if (HasFailure()) {
    const Bytes log = readFileBytes((dir.path() / "rx.log").string());
    std::string results;
    for (int r : report.results) {
      results += std::to_string(r) + " ";
    }
    ADD_FAILURE() << "send results: " << results << "\nrx said:\n"
                  << std::string(log.begin(), log.end());
  }
}

INSTANTIATE_TEST_SUITE_P(CleanLine, SendToRx,
                         ::testing::Values(RxCase{1, 0}, RxCase{128, 0}, RxCase{129, 0},
                                           RxCase{1024, 0}, RxCase{1025, 0}, RxCase{1300, 0},
                                           RxCase{300 * 1024, 0}, RxCase{1024000, 0}),
                         caseName);

// rx lets the line settle for a second after each bad block, so the large
// files get fewer errors to keep the suite quick.
INSTANTIATE_TEST_SUITE_P(CrcErrors, SendToRx,
                         ::testing::Values(RxCase{1025, 3000}, RxCase{1300, 3000},
                                           RxCase{5000, 3000}, RxCase{300 * 1024, 30000},
                                           RxCase{1024000, 100000}),
                         caseName);

} // namespace
