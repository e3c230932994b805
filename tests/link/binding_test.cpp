#include "quillport_binding.h"
#include "string_table.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

void installLibrary(const fs::path &from, const fs::path &folder) {
  fs::copy_file(from, folder / "Quillport.so", fs::copy_options::overwrite_existing);
}

TEST(QuillportBinding, resolvesTheSixteenExportsInTheirOrder) {
  const std::vector<std::string> expected = {"fnXParseFile",
                                             "fnXSetBaudRate",
                                             "fnXOpenPort",
                                             "fnXClosePort",
                                             "fnXWriteToPort",
                                             "fnXReadChar",
                                             "fnXFlushReadBuffer",
                                             "fnXFlushWriteBuffer",
                                             "fnXSetReadTimeout",
                                             "fnXWriteByte",
                                             "fnXGetCurrentPacketNumber",
                                             "fnXGetNumberOfPackets",
                                             "fnXSendPacket",
                                             "fnXCancel",
                                             "fnXGetBytes",
                                             "fnXResetFilePath"};
  std::vector<std::string> asked;
  QuillportBinding binding;
  binding.resolve([&](const char *name) -> void * {
    asked.emplace_back(name);
    return nullptr;
  });
  EXPECT_EQ(asked, expected);
  EXPECT_EQ(binding.status().missingExports, expected);
  EXPECT_FALSE(binding.bound());
}

// Fakes that tell which slot a call went through.
std::vector<std::string> calledFakes;
int fakeOpen(const char *device) {
  calledFakes.push_back(std::string("open ") + device);
  return 7;
}
int fakeSetBaud(int baud) {
  calledFakes.push_back("baud " + std::to_string(baud));
  return 1;
}
int fakeWriteByte(int c) {
  calledFakes.push_back("byte " + std::to_string(c));
  return 1;
}
int fakeSendPacket(int index) {
  calledFakes.push_back("packet " + std::to_string(index));
  return 0;
}
int fakeIntVoid() {
  return 1;
}
int fakeIntInt(int) {
  return 1;
}
int fakeParse(const char *) {
  return 0;
}
int fakeWriteBlock(const void *, int) {
  return 1;
}
char fakeRead(int *count) {
  *count = 1;
  return 'Q';
}
void fakeReset() {}

TEST(QuillportBinding, eachNameFillsItsOwnSlot) {
  const std::map<std::string, void *> exports = {
      {"fnXParseFile", reinterpret_cast<void *>(&fakeParse)},
      {"fnXSetBaudRate", reinterpret_cast<void *>(&fakeSetBaud)},
      {"fnXOpenPort", reinterpret_cast<void *>(&fakeOpen)},
      {"fnXClosePort", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXWriteToPort", reinterpret_cast<void *>(&fakeWriteBlock)},
      {"fnXReadChar", reinterpret_cast<void *>(&fakeRead)},
      {"fnXFlushReadBuffer", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXFlushWriteBuffer", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXSetReadTimeout", reinterpret_cast<void *>(&fakeIntInt)},
      {"fnXWriteByte", reinterpret_cast<void *>(&fakeWriteByte)},
      {"fnXGetCurrentPacketNumber", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXGetNumberOfPackets", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXSendPacket", reinterpret_cast<void *>(&fakeSendPacket)},
      {"fnXCancel", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXGetBytes", reinterpret_cast<void *>(&fakeIntVoid)},
      {"fnXResetFilePath", reinterpret_cast<void *>(&fakeReset)},
  };
  QuillportBinding binding;
  binding.resolve([&](const char *name) { return exports.at(name); });
  ASSERT_TRUE(binding.bound());
  calledFakes.clear();
  EXPECT_EQ(binding.setBaudRate(115200), 1);
  EXPECT_EQ(binding.openPort("/dev/ttyUSB3"), 7);
  EXPECT_EQ(binding.writeByte(0x59), 1);
  EXPECT_EQ(binding.sendPacket(4), 0);
  int count = 0;
  EXPECT_EQ(binding.readChar(&count), 'Q');
  EXPECT_EQ(count, 1);
  EXPECT_EQ(calledFakes,
            (std::vector<std::string>{"baud 115200", "open /dev/ttyUSB3", "byte 89", "packet 4"}));
}

TEST(QuillportBinding, loadsTheLibraryFromTheWorkingFolder) {
  TempFolder work;
  installLibrary(QUILLPORT_PATH, work.path());
  QuillportBinding binding;
  const auto &status = binding.load(work.path(), fs::path());
  ASSERT_TRUE(status.bound) << bindingMessage(status, StringTable());
  EXPECT_EQ(status.libraryPath, work.path() / "Quillport.so");
  EXPECT_TRUE(bindingMessage(status, StringTable()).empty());
  // The call reaches the real library: a missing device gives its errno.
  EXPECT_EQ(binding.openPort((work.path() / "no-such-device").string()), ENOENT);
}

TEST(QuillportBinding, fallsBackToTheExecutablesFolder) {
  TempFolder work;
  TempFolder programs;
  installLibrary(QUILLPORT_PATH, programs.path());
  QuillportBinding binding;
  const auto &status = binding.load(work.path(), programs.path());
  ASSERT_TRUE(status.bound);
  EXPECT_EQ(status.libraryPath, programs.path() / "Quillport.so");
  EXPECT_EQ(status.tried, (std::vector<fs::path>{work.path() / "Quillport.so",
                                                 programs.path() / "Quillport.so"}));
}

TEST(QuillportBinding, executableFolderIsThisTestsFolder) {
  EXPECT_TRUE(fs::exists(DynamicLibrary::executableFolder() / "link_tests"));
}

TEST(QuillportBinding, missingLibraryNamesThePathsTriedAndRefusesEverything) {
  TempFolder work;
  TempFolder programs;
  QuillportBinding binding;
  const auto &status = binding.load(work.path(), programs.path());
  EXPECT_FALSE(status.bound);
  const std::string message = bindingMessage(status, StringTable());
  EXPECT_EQ(message, "The serial library Quillport could not be loaded. Looked for: " +
                         (work.path() / "Quillport.so").string() + ", " +
                         (programs.path() / "Quillport.so").string() +
                         ". The receiver tools cannot run until the serial library is "
                         "installed correctly.");
  EXPECT_EQ(binding.openPort("/dev/ttyUSB0"), QuillportBinding::kNotBound);
  EXPECT_EQ(binding.setBaudRate(38400), 0);
  EXPECT_EQ(binding.writeByte('r'), 0);
  int count = 5;
  EXPECT_EQ(binding.readChar(&count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(binding.parseFile("/tmp/x"), -1);
  EXPECT_EQ(binding.sendPacket(0), 2);
}

TEST(QuillportBinding, unloadableFileGivesTheLoadersReason) {
  TempFolder work;
  work.write("Quillport.so", "not a shared library");
  QuillportBinding binding;
  const auto &status = binding.load(work.path(), fs::path());
  EXPECT_FALSE(status.bound);
  EXPECT_FALSE(status.loadError.empty());
  EXPECT_NE(bindingMessage(status, StringTable()).find(status.loadError), std::string::npos);
}

TEST(QuillportBinding, missingExportsAreNamedAndEveryOperationRefuses) {
  TempFolder work;
  installLibrary(PARTIAL_QUILLPORT_PATH, work.path());
  QuillportBinding binding;
  const auto &status = binding.load(work.path(), fs::path());
  EXPECT_FALSE(status.bound);
  EXPECT_EQ(status.missingExports, (std::vector<std::string>{"fnXSendPacket", "fnXCancel"}));
  EXPECT_EQ(bindingMessage(status, StringTable()),
            "The serial library Quillport lacks the entry points: fnXSendPacket, fnXCancel (" +
                (work.path() / "Quillport.so").string() +
                "). The receiver tools cannot run until the serial library is installed "
                "correctly.");
  // The library's own functions would answer; the binding must not call them.
  EXPECT_EQ(binding.openPort("/dev/ttyUSB0"), QuillportBinding::kNotBound);
  EXPECT_EQ(binding.closePort(), 0);
  EXPECT_EQ(binding.writeByte('r'), 0);
  EXPECT_EQ(binding.writeToPort("P\r", 2), 0);
  int count = 9;
  EXPECT_EQ(binding.readChar(&count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(binding.flushReadBuffer(), 0);
  EXPECT_EQ(binding.parseFile("x"), -1);
  EXPECT_EQ(binding.getNumberOfPackets(), 0);
  EXPECT_EQ(binding.getBytes(), 0);
  EXPECT_EQ(binding.sendPacket(0), 2);
  EXPECT_EQ(binding.cancel(), 0);
  binding.resetFilePath();
}

} // namespace
} // namespace tarnwick
