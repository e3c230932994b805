// The library exports exactly its eighteen functions and one integer.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> definedDynamicSymbols(const std::string &library) {
  const std::string command = "nm -D --defined-only '" + library + "'";
  std::FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  std::set<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) {
      names.insert(name);
    }
  }
  pclose(pipe);
  return names;
}

TEST(QuillportExports, exactlyTheEighteenFunctionsAndTheInteger) {
  const std::set<std::string> expected = {
      "fnXOpenPort",         "fnXClosePort",          "fnXSetBaudRate",
      "fnXSetBaudRateL",     "fnXSetReadTimeout",     "fnXWriteByte",
      "fnXWriteToPort",      "fnXReadChar",           "fnXFlushReadBuffer",
      "fnXFlushWriteBuffer", "fnXParseFile",          "fnXResetFilePath",
      "fnXSendPacket",       "fnXGetNumberOfPackets", "fnXGetCurrentPacketNumber",
      "fnXCancel",           "fnXGetBytes",           "fnXSetBytes",
      "nQuillport"};
  EXPECT_EQ(definedDynamicSymbols(QUILLPORT_PATH), expected);
}

} // namespace
