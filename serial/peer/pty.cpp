#include "pty.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace quillport::peer {

namespace {

void makeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
  }
}

std::int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

PtyPair::PtyPair() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("cannot create a pseudo-terminal");
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) {
    throw std::runtime_error("cannot name the pseudo-terminal");
  }
  slavePath_ = name;
  keeper_ = openSlaveRaw();
  makeRaw(master_);
}

PtyPair::~PtyPair() {
  releaseKeeper();
  closeMaster();
}

int PtyPair::openSlaveRaw() const {
  const int fd = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    throw std::runtime_error("cannot open " + slavePath_);
  }
  makeRaw(fd);
  return fd;
}

void PtyPair::releaseKeeper() {
  if (keeper_ >= 0) {
    close(keeper_);
    keeper_ = -1;
  }
}

void PtyPair::closeMaster() {
  if (master_ >= 0) {
    close(master_);
    master_ = -1;
  }
}

void PtyPair::setMasterNonBlocking() {
  const int flags = fcntl(master_, F_GETFL);
  if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
    throw std::runtime_error("cannot make the pseudo-terminal non-blocking");
  }
}

bool PtyPair::writeAll(const void *data, std::size_t length) const {
  const auto *p = static_cast<const std::uint8_t *>(data);
  while (length > 0) {
    const ssize_t n = write(master_, p, length);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    p += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

int PtyPair::readByte(int timeoutMs) const {
  const std::int64_t deadline = nowMs() + timeoutMs;
  for (;;) {
    const auto left = static_cast<int>(std::max<std::int64_t>(0, deadline - nowMs()));
    pollfd pfd{master_, POLLIN, 0};
    if (poll(&pfd, 1, left) <= 0 || (pfd.revents & POLLIN) == 0) {
      return -1;
    }
    std::uint8_t byte = 0;
    const ssize_t n = read(master_, &byte, 1);
    if (n == 1) {
      return byte;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    return -1;
  }
}

std::vector<std::uint8_t> PtyPair::readBytes(std::size_t count, int timeoutMs) const {
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < count) {
    const int byte = readByte(timeoutMs);
    if (byte < 0) {
      break;
    }
    bytes.push_back(static_cast<std::uint8_t>(byte));
  }
  return bytes;
}

std::vector<std::uint8_t> PtyPair::readUntilQuiet(int quietMs) const {
  std::vector<std::uint8_t> bytes;
  for (int byte = readByte(quietMs); byte >= 0; byte = readByte(quietMs)) {
    bytes.push_back(static_cast<std::uint8_t>(byte));
  }
  return bytes;
}

} // namespace quillport::peer
