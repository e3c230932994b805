// PortApi on simulated devices and virtual time: a read with nothing due lets
// the read time-out pass on the clock, so whole exchanges run in microseconds
// and always the same way.
//
// The packet operations run the serial library's own packet code, whose state
// is process-wide like the library's. While sendPacket() or cancel() runs, that
// code reads and writes through the SimPort that called it; only one SimPort
// may transfer packets at a time.
#pragma once

#include "clock.h"
#include "port_api.h"
#include "receiver.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::sim {

struct SimCounters {
  int reads = 0;      // readChar calls, including those that found nothing
  int emptyReads = 0; // reads that returned a count of 0
  int bytesRead = 0;
  int bytesWritten = 0; // bytes delivered to the device
  int opens = 0;        // successful opens
  int readFlushes = 0;  // successful flushReadBuffer calls
};

struct OpenAttempt {
  std::string device;
  int baud;   // the rate set before the open
  int result; // 0 or the error code
};

class SimPort final : public PortApi {
public:
  static constexpr int kDefaultReadTimeoutMs = 360; // set by every open

  explicit SimPort(VirtualClock &clock);
  ~SimPort() override;
  SimPort(const SimPort &) = delete;
  SimPort &operator=(const SimPort &) = delete;

  // Devices. A receiver device answers; a failing one refuses to open with the
  // error code; a silent one opens and takes bytes but never answers.
  Receiver &addReceiver(const std::string &device, ReceiverSettings settings = {},
                        Faults faults = {});
  void addFailingDevice(const std::string &device, int error);
  Receiver &addSilentDevice(const std::string &device);
  // The receiver only understands this rate; at any other nothing gets through.
  void setDeviceBaud(const std::string &device, int baud);
  Receiver *receiver(const std::string &device); // nullptr for unknown or failing devices

  // PortApi
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

  // What tests look at.
  bool isOpen() const;
  std::string openDevice() const;          // empty when closed
  std::optional<int> openBaudRate() const; // rate of the open port
  int baudRate() const;                    // last rate set
  int readTimeoutMs() const;
  std::vector<OpenAttempt> openAttempts() const;
  SimCounters counters() const;
  VirtualClock &clock() { return clock_; }

  // The packet code's link to the port (see the note at the top).
  bool packetWrite(const unsigned char *data, int length);
  int packetReadByte(unsigned char *byte);
  static SimPort *activePacketPort();

private:
  struct Device {
    int openError = 0;
    std::optional<int> baud;
    std::unique_ptr<Receiver> receiver;
  };

  bool lineUsable() const; // open, and at the rate the device understands
  bool deliver(const unsigned char *data, int length);
  int readByte(unsigned char *byte);

  VirtualClock &clock_;
  mutable std::recursive_mutex mutex_;
  std::map<std::string, Device> devices_;
  Device *open_ = nullptr;
  std::string openName_;
  int baudRate_ = 0;
  int openBaud_ = 0;
  int readTimeoutMs_ = kDefaultReadTimeoutMs;
  std::vector<OpenAttempt> attempts_;
  SimCounters counters_;
};

} // namespace tarnwick::sim
