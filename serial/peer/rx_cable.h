// rx on its own pseudo-terminal and a cable to the pseudo-terminal a sender
// opens. rx flushes its input right after each reply ("C", ACK, NAK). Over a
// real line the sender's next block cannot arrive before that flush; over a
// bare relay between pseudo-terminals it sometimes does, is thrown away, and
// costs rx's 6 s time-out, which then swamps what the senders do. So the cable
// hands rx's replies on only once rx has flushed (the master of rx's terminal
// runs in packet mode and is told of every flush), or after a short limit.
#pragma once

#include "pty.h"
#include "rx_peer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quillport::peer {

using Bytes = std::vector<std::uint8_t>;
using SteadyTime = std::chrono::steady_clock::time_point;

enum class ReplyTiming {
  AfterFlush, // rx's replies wait for rx's input flush, as on a real line
  AtOnce,     // a bare relay: replies race rx's flush
};

// Copies bytes between the sender's pty master and rx's on a thread, keeping
// a transcript of each direction.
class Cable {
public:
  Cable(int senderSide, int receiverSide, ReplyTiming timing);
  ~Cable();
  Cable(const Cable &) = delete;
  Cable &operator=(const Cable &) = delete;

  Bytes fromSender() const;
  Bytes fromReceiver() const;
  // When the receiver's first ACK was handed to the sender.
  std::optional<SteadyTime> firstAckDelivered() const;
  // Replies handed on by the time limit because no flush was seen.
  int repliesWithoutFlush() const;

private:
  void run();
  bool carrySenderBytes();
  bool takeReceiverBytes();
  bool deliverHeld(bool flushed);

  int sender_;
  int receiver_;
  ReplyTiming timing_;
  std::atomic<bool> stop_ = false;
  mutable std::mutex mutex_;
  Bytes fromSender_;
  Bytes fromReceiver_;
  std::optional<SteadyTime> firstAck_;
  int repliesWithoutFlush_ = 0;
  // Cable thread only: replies waiting for rx's flush.
  Bytes held_;
  SteadyTime heldSince_{};
  bool flushCredit_ = false; // a flush read before the reply it follows
  std::thread thread_;
};

class RxCable {
public:
  RxCable(const RxOptions &options, ReplyTiming timing);
  // The slave the sender opens.
  const std::string &devicePath() const { return senderSide_.slavePath(); }
  bool wait(int timeoutMs, int *exitStatus = nullptr) { return rx_->wait(timeoutMs, exitStatus); }
  const Cable &cable() const { return *cable_; }

private:
  PtyPair senderSide_;
  PtyPair receiverSide_;
  std::unique_ptr<RxProcess> rx_;
  std::unique_ptr<Cable> cable_; // last: stops before the ends close
};

} // namespace quillport::peer
