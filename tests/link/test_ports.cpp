#include "test_ports.h"

#include <fstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace tarnwick::testing {

namespace {
constexpr int kReadTimeoutMs = 360;
} // namespace

int ByteScriptPort::writeByte(int c) {
  if (failWrites_) {
    return 0;
  }
  written_.push_back(static_cast<char>(c & 0xFF));
  return 1;
}

int ByteScriptPort::writeToPort(const void *buffer, int length) {
  if (failWrites_) {
    return 0;
  }
  written_.append(static_cast<const char *>(buffer), static_cast<std::size_t>(length));
  return 1;
}

char ByteScriptPort::readChar(int *count) {
  ++readCalls_;
  if (incoming_.empty()) {
    clock_.sleepMs(kReadTimeoutMs);
    *count = 0;
    return 0;
  }
  const auto byte = incoming_.front();
  incoming_.pop_front();
  *count = 1;
  return static_cast<char>(byte);
}

int ByteScriptPort::flushReadBuffer() {
  incoming_.clear();
  return 1;
}

int RecordingPort::openPort(const std::string &device) {
  const int result = inner_.openPort(device);
  calls_.push_back("openPort " + device + " -> " + std::to_string(result));
  return result;
}

int RecordingPort::closePort() {
  calls_.emplace_back("closePort");
  return inner_.closePort();
}

int RecordingPort::setBaudRate(int baud) {
  calls_.push_back("setBaudRate " + std::to_string(baud));
  return inner_.setBaudRate(baud);
}

int RecordingPort::writeByte(int c) {
  if (beforeWrite) {
    beforeWrite(c);
  }
  return inner_.writeByte(c);
}

int RecordingPort::writeToPort(const void *buffer, int length) {
  calls_.push_back("writeToPort " + std::string(static_cast<const char *>(buffer),
                                                static_cast<std::size_t>(length)));
  return inner_.writeToPort(buffer, length);
}

char RecordingPort::readChar(int *count) {
  if (beforeRead) {
    beforeRead();
  }
  return inner_.readChar(count);
}

int RecordingPort::flushReadBuffer() {
  calls_.emplace_back("flushReadBuffer");
  return inner_.flushReadBuffer();
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-link-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a scratch folder");
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::write(const std::string &relative,
                                        const std::string &content) const {
  const auto file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << content;
  return file;
}

} // namespace tarnwick::testing
