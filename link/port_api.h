// The sixteen serial-library operations the program uses. Production binds
// them to Quillport (QuillportBinding); tests use the simulator (SimPort).
#pragma once

#include <string>

namespace tarnwick {

class PortApi {
public:
  virtual ~PortApi() = default;

  virtual int openPort(const std::string &device) = 0;         // 0 or the error code
  virtual int closePort() = 0;                                 // 1/0
  virtual int setBaudRate(int baud) = 0;                       // taken at the next open
  virtual int writeByte(int c) = 0;                            // 1/0, low 8 bits
  virtual int writeToPort(const void *buffer, int length) = 0; // 1/0
  virtual char readChar(int *count) = 0;                       // waits at most the read time-out
  virtual int flushReadBuffer() = 0;
  virtual int flushWriteBuffer() = 0;
  virtual int setReadTimeout(int milliseconds) = 0;

  virtual int parseFile(const std::string &path) = 0; // 0 or -1
  virtual int getNumberOfPackets() = 0;
  virtual int getBytes() = 0;
  virtual int sendPacket(int index) = 0; // 0, 2 (write failed), 3 (cancelled)
  virtual int getCurrentPacketNumber() = 0;
  virtual int cancel() = 0;
  virtual void resetFilePath() = 0;
};

} // namespace tarnwick
