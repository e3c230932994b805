// Ports for the link tests: a byte script served on virtual time, and a
// recorder that logs the port calls made through it.
#pragma once

#include "clock.h"
#include "forwarding_port.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick::testing {

// Serves queued bytes at once; a read with nothing queued lets the read
// time-out pass. Records every byte written.
class ByteScriptPort final : public PortApi {
public:
  explicit ByteScriptPort(VirtualClock &clock) : clock_(clock) {}

  void queue(const std::vector<std::uint8_t> &bytes) {
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
  }
  void queue(const std::string &text) {
    incoming_.insert(incoming_.end(), text.begin(), text.end());
  }
  const std::string &written() const { return written_; }
  void failWrites(bool fail) { failWrites_ = fail; }
  int readCalls() const { return readCalls_; }

  int openPort(const std::string &) override { return 0; }
  int closePort() override { return 1; }
  int setBaudRate(int) override { return 1; }
  int writeByte(int c) override;
  int writeToPort(const void *buffer, int length) override;
  char readChar(int *count) override;
  int flushReadBuffer() override;
  int flushWriteBuffer() override { return 1; }
  int setReadTimeout(int) override { return 1; }
  int parseFile(const std::string &) override { return -1; }
  int getNumberOfPackets() override { return 0; }
  int getBytes() override { return 0; }
  int sendPacket(int) override { return 2; }
  int getCurrentPacketNumber() override { return 0; }
  int cancel() override { return 0; }
  void resetFilePath() override {}

private:
  VirtualClock &clock_;
  std::deque<std::uint8_t> incoming_;
  std::string written_;
  bool failWrites_ = false;
  int readCalls_ = 0;
};

// Passes every call to another port and logs the calls that shape the port:
// "setBaudRate 38400", "openPort /dev/x -> 0", "closePort". Hooks run before
// a write or a read reaches the inner port.
class RecordingPort final : public ForwardingPort {
public:
  explicit RecordingPort(PortApi &inner) : ForwardingPort(inner) {}

  const std::vector<std::string> &calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  std::function<void(int byte)> beforeWrite;
  std::function<void()> beforeRead;

  int openPort(const std::string &device) override;
  int closePort() override;
  int setBaudRate(int baud) override;
  int writeByte(int c) override;
  int writeToPort(const void *buffer, int length) override;
  char readChar(int *count) override;
  int flushReadBuffer() override;

private:
  std::vector<std::string> calls_;
};

// A scratch folder removed with the test.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  const std::filesystem::path &path() const { return path_; }
  std::filesystem::path write(const std::string &relative, const std::string &content) const;

private:
  std::filesystem::path path_;
};

} // namespace tarnwick::testing
