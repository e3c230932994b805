#include "rx_cable.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quillport::peer {

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr auto kIdleWait = std::chrono::milliseconds(20); // how soon a stop is noticed
// A reply no flush follows (rx's last ACK) goes on after this.
constexpr auto kFlushWaitLimit = std::chrono::milliseconds(20);

// Reads what is there; nothing on hang-up or error (EIO once the slave closed).
std::optional<Bytes> readSome(int fd) {
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      return Bytes(buffer, buffer + n);
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    return std::nullopt;
  }
}

bool writeAll(int fd, const Bytes &bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

int waitMs(std::optional<SteadyTime> deadline) {
  if (!deadline) {
    return static_cast<int>(kIdleWait.count());
  }
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, kIdleWait.count()));
}

} // namespace

Cable::Cable(int senderSide, int receiverSide, ReplyTiming timing)
    : sender_(senderSide), receiver_(receiverSide), timing_(timing), thread_([this] { run(); }) {}

Cable::~Cable() {
  stop_ = true;
  thread_.join();
}

Bytes Cable::fromSender() const {
  std::lock_guard lock(mutex_);
  return fromSender_;
}

Bytes Cable::fromReceiver() const {
  std::lock_guard lock(mutex_);
  return fromReceiver_;
}

std::optional<SteadyTime> Cable::firstAckDelivered() const {
  std::lock_guard lock(mutex_);
  return firstAck_;
}

int Cable::repliesWithoutFlush() const {
  std::lock_guard lock(mutex_);
  return repliesWithoutFlush_;
}

bool Cable::carrySenderBytes() {
  const auto bytes = readSome(sender_);
  if (!bytes) {
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    fromSender_.insert(fromSender_.end(), bytes->begin(), bytes->end());
  }
  return writeAll(receiver_, *bytes);
}

// rx's master is in packet mode: each read is a status byte, followed by data
// when the status is TIOCPKT_DATA.
bool Cable::takeReceiverBytes() {
  const auto packet = readSome(receiver_);
  if (!packet) {
    return false;
  }
  if ((*packet)[0] != TIOCPKT_DATA) {
    if (((*packet)[0] & TIOCPKT_FLUSHREAD) != 0) {
      flushCredit_ = held_.empty(); // read ahead of its reply: both are in
      return deliverHeld(true);
    }
    return true;
  }
  if (held_.empty()) {
    heldSince_ = std::chrono::steady_clock::now();
  }
  held_.insert(held_.end(), packet->begin() + 1, packet->end());
  {
    std::lock_guard lock(mutex_);
    fromReceiver_.insert(fromReceiver_.end(), packet->begin() + 1, packet->end());
  }
  const bool flushed = timing_ == ReplyTiming::AtOnce || flushCredit_;
  flushCredit_ = false;
  return deliverHeld(flushed);
}

// Hands the held replies on once flushed, or after the limit.
bool Cable::deliverHeld(bool flushed) {
  if (held_.empty()) {
    return true;
  }
  const bool overdue = std::chrono::steady_clock::now() - heldSince_ >= kFlushWaitLimit;
  if (!flushed && !overdue) {
    return true;
  }
  if (!writeAll(sender_, held_)) {
    return false;
  }
  std::lock_guard lock(mutex_);
  repliesWithoutFlush_ += flushed ? 0 : 1;
  if (!firstAck_ && std::find(held_.begin(), held_.end(), kAck) != held_.end()) {
    firstAck_ = std::chrono::steady_clock::now();
  }
  held_.clear();
  return true;
}

void Cable::run() {
  bool senderOpen = true;
  bool receiverOpen = true;
  while (!stop_ && (senderOpen || receiverOpen)) {
    const auto deadline =
        held_.empty() ? std::nullopt : std::optional(heldSince_ + kFlushWaitLimit);
    pollfd fds[2] = {{senderOpen ? sender_ : -1, POLLIN, 0},
                     {receiverOpen ? receiver_ : -1, POLLIN, 0}};
    if (poll(fds, 2, waitMs(deadline)) < 0 && errno != EINTR) {
      return;
    }
    if (fds[0].revents != 0 && !carrySenderBytes()) {
      senderOpen = false;
    }
    if (fds[1].revents != 0 && !takeReceiverBytes()) {
      receiverOpen = false;
    }
    if (!deliverHeld(!receiverOpen)) {
      senderOpen = false;
    }
  }
}

RxCable::RxCable(const RxOptions &options, ReplyTiming timing) {
  int packetMode = 1;
  if (ioctl(receiverSide_.master(), TIOCPKT, &packetMode) != 0) {
    throw std::runtime_error("cannot put rx's terminal in packet mode");
  }
  const int tty = receiverSide_.openSlaveRaw();
  rx_ = std::make_unique<RxProcess>(options, tty);
  close(tty);
  // Only rx holds its end now, so the cable sees rx hang up when it exits.
  receiverSide_.releaseKeeper();
  cable_ = std::make_unique<Cable>(senderSide_.master(), receiverSide_.master(), timing);
}

} // namespace quillport::peer
