#include "sim_port.h"

#include "quillport.h"

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace tarnwick::sim {

namespace {

// The rates a serial port can be set to; any other fails the open with EINVAL
// after the device was opened, as the real library does.
constexpr int kRates[] = {1200,  2400,   4800,   9600,   19200, 38400,
                          57600, 115200, 230400, 460800, 921600};

bool supportedRate(int baud) {
  return std::find(std::begin(kRates), std::end(kRates), baud) != std::end(kRates);
}

std::atomic<SimPort *> packetPort{nullptr};

// Points the library's packet code at one SimPort for the length of a call.
class PacketPortScope {
public:
  explicit PacketPortScope(SimPort *port) : previous_(packetPort.exchange(port)) {}
  ~PacketPortScope() { packetPort.store(previous_); }
  PacketPortScope(const PacketPortScope &) = delete;
  PacketPortScope &operator=(const PacketPortScope &) = delete;

private:
  SimPort *previous_;
};

} // namespace

SimPort::SimPort(VirtualClock &clock) : clock_(clock) {}

SimPort::~SimPort() {
  SimPort *self = this;
  packetPort.compare_exchange_strong(self, nullptr);
}

Receiver &SimPort::addReceiver(const std::string &device, ReceiverSettings settings,
                               Faults faults) {
  std::lock_guard lock(mutex_);
  Device &entry = devices_[device];
  entry.openError = 0;
  entry.receiver = std::make_unique<Receiver>(std::move(settings), std::move(faults));
  return *entry.receiver;
}

void SimPort::addFailingDevice(const std::string &device, int error) {
  std::lock_guard lock(mutex_);
  Device &entry = devices_[device];
  entry.openError = error;
  entry.receiver.reset();
}

Receiver &SimPort::addSilentDevice(const std::string &device) {
  Faults silent;
  silent.silentFromByte = 0;
  return addReceiver(device, {}, silent);
}

void SimPort::setDeviceBaud(const std::string &device, int baud) {
  std::lock_guard lock(mutex_);
  devices_[device].baud = baud;
}

Receiver *SimPort::receiver(const std::string &device) {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(device);
  return it == devices_.end() ? nullptr : it->second.receiver.get();
}

int SimPort::openPort(const std::string &device) {
  std::lock_guard lock(mutex_);
  open_ = nullptr; // an open port is closed first
  openName_.clear();
  const auto it = devices_.find(device);
  int result = 0;
  if (it == devices_.end()) {
    result = ENOENT;
  } else if (it->second.openError != 0) {
    result = it->second.openError;
  } else {
    open_ = &it->second;
    openName_ = device;
    openBaud_ = baudRate_;
    // Whatever the device sent while nobody listened is gone.
    open_->receiver->discardDue(clock_.nowMs());
    if (!supportedRate(baudRate_)) {
      result = EINVAL; // the port stays open; the caller closes it
    } else {
      readTimeoutMs_ = kDefaultReadTimeoutMs;
      ++counters_.opens;
    }
  }
  attempts_.push_back({device, baudRate_, result});
  return result;
}

int SimPort::closePort() {
  std::lock_guard lock(mutex_);
  if (open_ == nullptr) {
    return 0;
  }
  open_ = nullptr;
  openName_.clear();
  return 1;
}

int SimPort::setBaudRate(int baud) {
  std::lock_guard lock(mutex_);
  baudRate_ = baud;
  return baud;
}

int SimPort::writeByte(int c) {
  const auto byte = static_cast<unsigned char>(c & 0xFF);
  return deliver(&byte, 1) ? 1 : 0;
}

int SimPort::writeToPort(const void *buffer, int length) {
  if (buffer == nullptr && length > 0) {
    return 0;
  }
  return deliver(static_cast<const unsigned char *>(buffer), length) ? 1 : 0;
}

char SimPort::readChar(int *count) {
  unsigned char byte = 0;
  const int n = readByte(&byte);
  if (count != nullptr) {
    *count = n;
  }
  return n == 1 ? static_cast<char>(byte) : '\0';
}

int SimPort::flushReadBuffer() {
  std::lock_guard lock(mutex_);
  if (open_ == nullptr) {
    return 0;
  }
  if (lineUsable()) {
    open_->receiver->discardDue(clock_.nowMs());
  }
  ++counters_.readFlushes;
  return 1;
}

int SimPort::flushWriteBuffer() {
  std::lock_guard lock(mutex_);
  return open_ != nullptr ? 1 : 0; // writes are delivered at once; nothing waits
}

int SimPort::setReadTimeout(int milliseconds) {
  std::lock_guard lock(mutex_);
  if (open_ == nullptr || milliseconds < 0) {
    return 0;
  }
  readTimeoutMs_ = milliseconds;
  return 1;
}

int SimPort::parseFile(const std::string &path) {
  return fnXParseFile(path.c_str());
}

int SimPort::getNumberOfPackets() {
  return fnXGetNumberOfPackets();
}

int SimPort::getBytes() {
  return fnXGetBytes();
}

int SimPort::sendPacket(int index) {
  std::lock_guard lock(mutex_);
  PacketPortScope scope(this);
  return fnXSendPacket(index);
}

int SimPort::getCurrentPacketNumber() {
  return fnXGetCurrentPacketNumber();
}

int SimPort::cancel() {
  std::lock_guard lock(mutex_);
  PacketPortScope scope(this);
  return fnXCancel();
}

void SimPort::resetFilePath() {
  fnXResetFilePath();
}

bool SimPort::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_ != nullptr;
}

std::string SimPort::openDevice() const {
  std::lock_guard lock(mutex_);
  return openName_;
}

std::optional<int> SimPort::openBaudRate() const {
  std::lock_guard lock(mutex_);
  return open_ != nullptr ? std::optional<int>(openBaud_) : std::nullopt;
}

int SimPort::baudRate() const {
  std::lock_guard lock(mutex_);
  return baudRate_;
}

int SimPort::readTimeoutMs() const {
  std::lock_guard lock(mutex_);
  return readTimeoutMs_;
}

std::vector<OpenAttempt> SimPort::openAttempts() const {
  std::lock_guard lock(mutex_);
  return attempts_;
}

SimCounters SimPort::counters() const {
  std::lock_guard lock(mutex_);
  return counters_;
}

bool SimPort::packetWrite(const unsigned char *data, int length) {
  return deliver(data, length);
}

int SimPort::packetReadByte(unsigned char *byte) {
  return readByte(byte);
}

SimPort *SimPort::activePacketPort() {
  return packetPort.load();
}

bool SimPort::lineUsable() const {
  return open_ != nullptr && (!open_->baud || *open_->baud == openBaud_);
}

bool SimPort::deliver(const unsigned char *data, int length) {
  std::lock_guard lock(mutex_);
  if (open_ == nullptr || length < 0) {
    return false;
  }
  // At the wrong rate the bytes go out but arrive as nothing the receiver can use.
  if (lineUsable()) {
    const std::int64_t now = clock_.nowMs();
    for (int i = 0; i < length; ++i) {
      open_->receiver->receive(data[i], now);
    }
  }
  counters_.bytesWritten += length;
  return true;
}

int SimPort::readByte(unsigned char *byte) {
  std::lock_guard lock(mutex_);
  *byte = 0;
  if (open_ == nullptr) {
    return 0; // fails at once, like the library without a port
  }
  ++counters_.reads;
  const std::int64_t now = clock_.nowMs();
  const std::int64_t deadline = now + readTimeoutMs_;
  const std::optional<std::int64_t> due =
      lineUsable() ? open_->receiver->nextDueMs() : std::nullopt;
  if (!due || *due > deadline) {
    clock_.sleepUntilMs(deadline);
    ++counters_.emptyReads;
    return 0;
  }
  clock_.sleepUntilMs(*due);
  *byte = *open_->receiver->takeDue(clock_.nowMs());
  ++counters_.bytesRead;
  return 1;
}

} // namespace tarnwick::sim
