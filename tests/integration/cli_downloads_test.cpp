// tarnwick-cli userlist send against tarnwick-sim on a pseudo-terminal, in
// real time, through the Quillport library found beside the programs.
#include "demo_templates.h"
#include "cli_processes.h"
#include "templates_workspace.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using tarnwick::testing::CliRun;
using tarnwick::testing::fileText;
using tarnwick::testing::linesOf;
using tarnwick::testing::runCli;
using tarnwick::testing::Simulator;
using tarnwick::testing::TempDir;

// The bytes that reached the simulator, from its transcript ("ms in XX c").
std::string receivedBytes(const std::filesystem::path &transcript) {
  std::string bytes;
  for (const std::string &line : linesOf(fileText(transcript))) {
    long long ms = 0;
    char direction[4] = {};
    unsigned byte = 0;
    if (std::sscanf(line.c_str(), "%lld %3s %x", &ms, direction, &byte) == 3 &&
        std::string(direction) == "in") {
      bytes.push_back(static_cast<char>(byte));
    }
  }
  return bytes;
}

TEST(CliDownloads, userlistSendReachesTheSimulatedReceiver) {
  TempDir work;
  TempDir scratch;
  ASSERT_TRUE(tarnwick::writeDemoTemplatesData(work.path()));
  work.write("Cfg/BrimstelLocatorVersion.cfg", "A=23.0\r\n");
  const auto transcript = scratch.path() / "transcript.txt";
  Simulator sim({"--transcript", transcript.string()});
  const std::string device = sim.device(5000);
  ASSERT_EQ(device.rfind("/dev/", 0), 0U) << device;

  const CliRun run = runCli(
      {"--workdir", work.path().string(), "--port", device, "userlist", "send", "Gas"}, scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (std::vector<std::string>{"Downloading... Please wait !",
                                               "Transferred  GasUser list", "Download complete!"}));
  sim.stop();

  tarnwick::TemplatesWorkspace workspace(work.path());
  workspace.useSavedGlossary();
  const tarnwick::UserList *gas = workspace.userLists.find("Gas");
  ASSERT_NE(gas, nullptr);
  std::string data = "ldata\r\x0A\x1E";
  for (const tarnwick::GlossaryRef code : gas->labels) {
    data.push_back(static_cast<char>(code >> 8));
    data.push_back(static_cast<char>(code & 0xFF));
  }
  data += "\x0A\x1F\x7F";
  const std::string header = "pcll " + std::to_string(gas->labels.size() + 2) + " 3 Gas\r";
  const std::string got = receivedBytes(transcript);
  EXPECT_NE(got.find("linit\r" + header + data), std::string::npos) << got;
}

} // namespace
