// Binds the sixteen operations to the serial library loaded at run time. When
// the library or one of its entry points is missing, every operation refuses
// instead of calling through an empty slot.
#pragma once

#include "dynamic_library.h"
#include "port_api.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

class StringTable;

struct BindingStatus {
  bool bound = false;
  std::filesystem::path libraryPath;        // the file loaded, or the last one tried
  std::vector<std::filesystem::path> tried; // every path looked at, in order
  std::string loadError;                    // the system's reason when loading failed
  std::vector<std::string> missingExports;  // in resolution order
};

// The user-facing report of a failed binding; empty when bound.
std::string bindingMessage(const BindingStatus &status, const StringTable &strings);

class QuillportBinding final : public PortApi {
public:
  static constexpr std::size_t kExportCount = 16;
  using Lookup = std::function<void *(const char *name)>;

  // The exports, in the order they are resolved.
  static const std::array<const char *, kExportCount> &exportNames();

  // Loads the library from workingFolder, or when it is not there from
  // executableFolder, and resolves the exports. Call once.
  const BindingStatus &
  load(const std::filesystem::path &workingFolder,
       const std::filesystem::path &executableFolder = DynamicLibrary::executableFolder());
  // Resolves the exports through lookup (the loaded library, or a test's).
  const BindingStatus &resolve(const Lookup &lookup);

  bool bound() const { return status_.bound; }
  const BindingStatus &status() const { return status_; }

  int openPort(const std::string &device) override;
  int closePort() override;
  int setBaudRate(int baud) override;
  int writeByte(int c) override;
  int writeToPort(const void *buffer, int length) override;
  char readChar(int *count) override;
  int flushReadBuffer() override;
  int flushWriteBuffer() override;
  int setReadTimeout(int milliseconds) override;
  int parseFile(const std::string &path) override;
  int getNumberOfPackets() override;
  int getBytes() override;
  int sendPacket(int index) override;
  int getCurrentPacketNumber() override;
  int cancel() override;
  void resetFilePath() override;

  // What a refused open returns: no library, no port.
  static constexpr int kNotBound = -1;

private:
  struct Slots {
    int (*parseFile)(const char *) = nullptr;
    int (*setBaudRate)(int) = nullptr;
    int (*openPort)(const char *) = nullptr;
    int (*closePort)() = nullptr;
    int (*writeToPort)(const void *, int) = nullptr;
    char (*readChar)(int *) = nullptr;
    int (*flushReadBuffer)() = nullptr;
    int (*flushWriteBuffer)() = nullptr;
    int (*setReadTimeout)(int) = nullptr;
    int (*writeByte)(int) = nullptr;
    int (*getCurrentPacketNumber)() = nullptr;
    int (*getNumberOfPackets)() = nullptr;
    int (*sendPacket)(int) = nullptr;
    int (*cancel)() = nullptr;
    int (*getBytes)() = nullptr;
    void (*resetFilePath)() = nullptr;
  };

  DynamicLibrary library_;
  BindingStatus status_;
  Slots slots_;
};

} // namespace tarnwick
