// POSIX backend of Quillport: termios in raw mode, exclusive open, poll()-based
// reads with the read constant, writes bounded like the Win32 write time-outs.
// Error codes are errno values.
#include "port.h"
#include "quillport.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kDefaultReadTimeoutMs = 360; // read constant set by every open
constexpr std::int64_t kWriteConstantMs = 1000;
constexpr std::int64_t kWritePerByteMs = 1000;

// "Never opened" and "closed" both mean no port; they are kept apart because
// the contract distinguishes the handle at load from the one after a close.
enum class HandleState { NeverOpened, Open, Closed };

struct PortObject {
  int baudRate = 0;
  int fd = -1;
  HandleState state = HandleState::NeverOpened;
  int readTimeoutMs = kDefaultReadTimeoutMs;
  int lastError = 0; // kept for diagnosis only
  int bytesWritten = 0;
  int bytesRead = 0;
};

PortObject port;

std::int64_t nowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void sleepUntil(std::int64_t deadline) {
  for (std::int64_t left = deadline - nowMs(); left > 0; left = deadline - nowMs()) {
    timespec ts{static_cast<time_t>(left / 1000), static_cast<long>((left % 1000) * 1000000)};
    nanosleep(&ts, nullptr);
  }
}

int remainingMs(std::int64_t deadline) {
  const std::int64_t left = deadline - nowMs();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool isOpen() {
  return port.state == HandleState::Open;
}

bool speedFor(int baud, speed_t *speed) {
  struct Rate {
    int baud;
    speed_t speed;
  };
  static constexpr Rate kRates[] = {
      {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
      {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
      {230400, B230400}, {460800, B460800}, {921600, B921600},
  };
  for (const Rate &rate : kRates) {
    if (rate.baud == baud) {
      *speed = rate.speed;
      return true;
    }
  }
  return false;
}

// 8 data bits, no parity, one stop bit, no hardware or software flow control.
int applyLineSettings(int fd, int baud) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    return errno;
  }
  speed_t speed{};
  if (!speedFor(baud, &speed)) {
    return EINVAL;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) {
    return errno;
  }
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    return errno;
  }
  return 0;
}

// DTR and RTS up; pseudo-terminals refuse modem lines, which is harmless.
void raiseModemLines(int fd) {
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  (void)ioctl(fd, TIOCMBIS, &dtr);
  (void)ioctl(fd, TIOCMBIS, &rts);
}

// Exclusive use: TIOCEXCL keeps other openers out, the lock also keeps out
// privileged ones that cooperate (a second copy of the program).
int claimExclusive(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? EBUSY : errno;
  }
  (void)ioctl(fd, TIOCEXCL);
  return 0;
}

void releaseHandle() {
  if (port.fd >= 0) {
    (void)ioctl(port.fd, TIOCNXCL);
    if (close(port.fd) != 0) {
      port.lastError = errno;
    }
  }
  port.fd = -1;
  port.state = HandleState::Closed;
}

int fail(int error) {
  port.lastError = error;
  return 0;
}

} // namespace

namespace quillport {

bool portWrite(const unsigned char *data, int length) {
  port.bytesWritten = 0;
  if (!isOpen()) {
    return fail(EBADF) != 0;
  }
  if (length < 0) {
    return fail(EINVAL) != 0;
  }
  const std::int64_t deadline = nowMs() + kWriteConstantMs + kWritePerByteMs * length;
  int done = 0;
  while (done < length) {
    const ssize_t n = write(port.fd, data + done, static_cast<size_t>(length - done));
    if (n > 0) {
      done += static_cast<int>(n);
      port.bytesWritten = done;
      continue;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 && errno != EAGAIN) {
      return fail(errno) != 0;
    }
    pollfd pfd{port.fd, POLLOUT, 0};
    const int ready = poll(&pfd, 1, remainingMs(deadline));
    if (ready == 0) {
      return fail(ETIMEDOUT) != 0;
    }
    if (ready > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 &&
        (pfd.revents & POLLOUT) == 0) {
      return fail(EIO) != 0;
    }
  }
  return true;
}

int portReadByte(unsigned char *byte) {
  *byte = 0;
  port.bytesRead = 0;
  if (!isOpen()) {
    return 0;
  }
  const std::int64_t deadline = nowMs() + port.readTimeoutMs;
  for (;;) {
    pollfd pfd{port.fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, remainingMs(deadline));
    if (ready == 0) {
      return 0;
    }
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      sleepUntil(deadline);
      return 0;
    }
    if ((pfd.revents & POLLIN) != 0) {
      const ssize_t n = read(port.fd, byte, 1);
      if (n == 1) {
        port.bytesRead = 1;
        return 1;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        continue;
      }
    }
    // The line went away (EIO, hang-up): that reads as nothing, and costs the
    // read constant like a silent line so callers' loops keep their pace.
    *byte = 0;
    sleepUntil(deadline);
    return 0;
  }
}

} // namespace quillport

extern "C" {

int nQuillport = 0;

int fnXSetBaudRate(int baud) {
  port.baudRate = baud;
  return baud;
}

int fnXSetBaudRateL(int baud) {
  return fnXSetBaudRate(baud);
}

int fnXOpenPort(const char *device) {
  // An open port is closed first so that its descriptor is not lost.
  if (isOpen()) {
    releaseHandle();
  }
  if (device == nullptr) {
    port.state = HandleState::Closed;
    return EINVAL;
  }
  const int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    port.fd = -1;
    port.state = HandleState::Closed;
    return errno != 0 ? errno : EIO;
  }
  if (const int busy = claimExclusive(fd); busy != 0) {
    close(fd);
    port.fd = -1;
    port.state = HandleState::Closed;
    return busy;
  }
  // From here on a failing step leaves the port open; the caller closes it.
  port.fd = fd;
  port.state = HandleState::Open;
  if (const int error = applyLineSettings(fd, port.baudRate); error != 0) {
    return error;
  }
  port.readTimeoutMs = kDefaultReadTimeoutMs;
  raiseModemLines(fd);
  return 0;
}

int fnXClosePort(void) {
  if (!isOpen()) {
    return fail(EBADF);
  }
  port.lastError = 0;
  releaseHandle();
  return port.lastError == 0 ? 1 : 0;
}

int fnXWriteByte(int c) {
  const auto byte = static_cast<unsigned char>(c & 0xFF);
  return quillport::portWrite(&byte, 1) ? 1 : 0;
}

int fnXWriteToPort(const void *buffer, int length) {
  if (buffer == nullptr && length > 0) {
    return fail(EINVAL);
  }
  return quillport::portWrite(static_cast<const unsigned char *>(buffer), length) ? 1 : 0;
}

char fnXReadChar(int *count) {
  unsigned char byte = 0;
  const int n = quillport::portReadByte(&byte);
  if (count != nullptr) {
    *count = n;
  }
  return n == 1 ? static_cast<char>(byte) : '\0';
}

int fnXFlushReadBuffer(void) {
  if (!isOpen()) {
    return fail(EBADF);
  }
  return tcflush(port.fd, TCIFLUSH) == 0 ? 1 : fail(errno);
}

int fnXFlushWriteBuffer(void) {
  if (!isOpen()) {
    return fail(EBADF);
  }
  return tcflush(port.fd, TCOFLUSH) == 0 ? 1 : fail(errno);
}

int fnXSetReadTimeout(int milliseconds) {
  if (!isOpen()) {
    return fail(EBADF);
  }
  if (milliseconds < 0) {
    return fail(EINVAL);
  }
  port.readTimeoutMs = milliseconds;
  return 1;
}

} // extern "C"
