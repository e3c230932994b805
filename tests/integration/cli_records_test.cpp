// tarnwick-cli records pull against tarnwick-sim on a pseudo-terminal, in
// real time, through the Quillport library found beside the programs.
#include "cli_processes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace tarnwick::testing;

// Three read markers in a record file, and the file a pull writes of them.
std::string markerFile(bool withComments) {
  std::string file = {0, 0, 0, 3};
  for (int i = 0; i < 3; ++i) {
    std::string record(160, '\0');
    record[3] = static_cast<char>(10 + i); // serial 10 + i
    record[5] = static_cast<char>(2 << 5); // GAS
    record[20] = static_cast<char>(0xC3);  // bytes nobody decodes
    file += record;
  }
  if (withComments) {
    file += std::string(3 * 120, '\0');
  }
  return file;
}

class CliRecords : public ::testing::Test {
protected:
  void SetUp() override { work.write("Cfg/BrimstelLocatorVersion.cfg", "A=23.0\r\n"); }

  TempDir work;
  TempDir scratch;
};

TEST_F(CliRecords, pullWritesTheFileAndClearsTheReceiverAfterwards) {
  const auto stored = scratch.write("receiver.rmrx", markerFile(false));
  Simulator sim({"--read-records", stored.string()});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const auto target = scratch.path() / "day";
  const CliRun run = runCli({"--workdir", work.path().string(), "--port", device, "records", "pull",
                             "--kind", "read", "-o", target.string(), "--delete"},
                            scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, std::vector<std::string>{target.string() + ".rmrx"});
  EXPECT_EQ(fileText(target.string() + ".rmrx"), markerFile(true));

  // Cleared: a second pull finds nothing, still writes the header.
  const CliRun again = runCli({"--workdir", work.path().string(), "--port", device, "records",
                               "pull", "--kind", "read", "-o", target.string() + "2"},
                              scratch);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.err, "No Read Data available on this receiver.\n");
  EXPECT_EQ(fileText(target.string() + "2.rmrx"), std::string(4, '\0'));
}

TEST_F(CliRecords, aMissingEchoLeavesTheOldFile) {
  const auto stored = scratch.write("receiver.rmrx", markerFile(false));
  Simulator sim({"--read-records", stored.string(), "--no-echo-at", "7"});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;
  const auto target = scratch.write("old.rmrx", std::string("old bytes"));
  const CliRun run = runCli({"--workdir", work.path().string(), "--port", device, "records", "pull",
                             "--kind", "read", "-o", target.string()},
                            scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "No receiver response or wrong receiver response\n");
  EXPECT_EQ(fileText(target), "old bytes");
}

} // namespace
