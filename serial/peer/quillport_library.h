// Loads Quillport by path and resolves every export by name, the way the main
// program binds it; used by the library's tests, demo and benchmark.
#pragma once

#include <string>

namespace quillport::peer {

struct QuillportLibrary {
  int (*setBaudRate)(int) = nullptr;
  int (*setBaudRateL)(int) = nullptr;
  int (*openPort)(const char *) = nullptr;
  int (*closePort)() = nullptr;
  int (*writeByte)(int) = nullptr;
  int (*writeToPort)(const void *, int) = nullptr;
  char (*readChar)(int *) = nullptr;
  int (*flushReadBuffer)() = nullptr;
  int (*flushWriteBuffer)() = nullptr;
  int (*setReadTimeout)(int) = nullptr;
  int (*parseFile)(const char *) = nullptr;
  void (*resetFilePath)() = nullptr;
  int (*sendPacket)(int) = nullptr;
  int (*getNumberOfPackets)() = nullptr;
  int (*getCurrentPacketNumber)() = nullptr;
  int (*cancel)() = nullptr;
  int (*getBytes)() = nullptr;
  int (*setBytes)(int) = nullptr;
  int *nQuillport = nullptr;

  // Returns an empty string on success, else what could not be loaded.
  std::string load(const std::string &path);

private:
  void *handle_ = nullptr;
};

} // namespace quillport::peer
