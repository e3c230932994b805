// A port that passes every call to another one: decorators (tracing, test
// hooks) derive from it and override only the calls they change.
#pragma once

#include "port_api.h"

namespace tarnwick {

class ForwardingPort : public PortApi {
public:
  explicit ForwardingPort(PortApi &inner) : inner_(inner) {}

  int openPort(const std::string &device) override { return inner_.openPort(device); }
  int closePort() override { return inner_.closePort(); }
  int setBaudRate(int baud) override { return inner_.setBaudRate(baud); }
  int writeByte(int c) override { return inner_.writeByte(c); }
  int writeToPort(const void *buffer, int length) override {
    return inner_.writeToPort(buffer, length);
  }
  char readChar(int *count) override { return inner_.readChar(count); }
  int flushReadBuffer() override { return inner_.flushReadBuffer(); }
  int flushWriteBuffer() override { return inner_.flushWriteBuffer(); }
  int setReadTimeout(int milliseconds) override { return inner_.setReadTimeout(milliseconds); }
  int parseFile(const std::string &path) override { return inner_.parseFile(path); }
  int getNumberOfPackets() override { return inner_.getNumberOfPackets(); }
  int getBytes() override { return inner_.getBytes(); }
  int sendPacket(int index) override { return inner_.sendPacket(index); }
  int getCurrentPacketNumber() override { return inner_.getCurrentPacketNumber(); }
  int cancel() override { return inner_.cancel(); }
  void resetFilePath() override { inner_.resetFilePath(); }

protected:
  PortApi &inner_;
};

} // namespace tarnwick
