// The command exchange with the receiver's console: paced command lines, the
// echo check, reads bounded by wall-clock time, binary status replies, the
// liveness check and the reset. Every tool talks through it.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "commands.h"
#include "outcome.h"
#include "paced_exchange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// 61274 for a failed write, 61377 for a wrong or missing echo.
StringId echoFailureMessage(Outcome outcome);

struct Collected {
  bool found = false;
  std::string text; // the non-zero bytes received (the last 64 KiB at most)
  Outcome outcome() const { return found ? Outcome::Ok : Outcome::Silent; }
};

// What a console routine reports; nothing is shown to the user and the port
// is left as it is, so that each tool decides.
class Console {
public:
  // Every wait, pause and paced send ends early once cancel (when given) is
  // cancelled, and the routine reports Outcome::Cancelled.
  explicit Console(AppContext &context, const CancelToken *cancel = nullptr)
      : context_(context), cancel_(cancel) {}

  // Writes bytes one by one, gapMs after each, paced against deadlines taken
  // from the first byte. Stops at the first failed write.
  [[nodiscard]] Outcome SendPaced(std::string_view bytes, int gapMs);
  // text + "\r" paced, and one gap more after the last byte; reads nothing.
  [[nodiscard]] Outcome SendCommandLine(std::string_view text, int gapMs = cmd::kGapDefaultMs);
  // text + "\r", reading each byte's echo after its gap; CR is echoed LF CR.
  // A wrong or missing echo is WrongReply.
  [[nodiscard]] Outcome SendEchoedLine(std::string_view text, int gapMs = cmd::kGapDefaultMs);
  // text + "\r" byte by byte, the input flushed before each byte so that what
  // is read next answers this line and not an earlier echo; then one more
  // gap and the ACK within ackBoundMs.
  [[nodiscard]] Outcome SendAckedLine(std::string_view text, int gapMs, int ackBoundMs);
  // text + "\r" in one write, unpaced (loader commands).
  [[nodiscard]] Outcome SendBlock(std::string_view text);
  // Carries out a paced exchange. Its pauses run on one chain of deadlines
  // from the start, taken up again from the moment each awaited marker came,
  // so that the time a write takes is not added to the pause after it.
  // Stops at the first write that fails or marker that does not come.
  [[nodiscard]] Outcome Run(const PacedExchange &exchange);

  // One read of the port; nothing when no byte came within the read time-out.
  std::optional<std::uint8_t> ReadByte();
  // Reads until marker arrives (Ok) or boundMs have passed since the start
  // (Silent).
  [[nodiscard]] Outcome ReadUntil(std::uint8_t marker, int boundMs);
  // 0xD5 within boundMs (bytes before it skipped), then 0x02, then
  // payloadBytes bytes; nothing when any of them is missing.
  std::optional<std::vector<std::uint8_t>> ReadStatusReply(int boundMs, int payloadBytes);
  // SendCommandLine(command, gapMs) then ReadStatusReply(boundMs, payloadBytes).
  std::optional<std::vector<std::uint8_t>> QueryStatus(std::string_view command, int gapMs,
                                                       int boundMs, int payloadBytes);
  // Collects non-zero bytes until the text contains needle or boundMs pass.
  Collected CollectUntil(std::string_view needle, int boundMs);
  // Collects without a time limit until needle arrives or until is cancelled.
  Collected CollectUntil(std::string_view needle, const CancelToken &until);
  // One 5-character "er" reply field, decoded.
  std::optional<int> ReadErField();
  // One value of a long "er" reply (see ErDumpReader): Silent when a
  // character does not come, WrongReply when the field is not a number.
  [[nodiscard]] Outcome ReadErDumpValue(int &value);
  // count bytes appended to into, each within one read: Silent at the first
  // that does not come (those before it stay in into).
  [[nodiscard]] Outcome ReadExactly(std::size_t count, std::vector<std::uint8_t> &into);

  // Template transfer: count bytes as they come, all within boundMs since
  // the start; nothing when not all of them came.
  std::optional<std::vector<std::uint8_t>> ReadBytes(std::size_t count, int boundMs);

  // "ruAlive" and "Y" within boundMs.
  [[nodiscard]] Outcome CheckAlive(int boundMs = cmd::kAliveBoundMs);
  // "swreset", 250 ms, then the banner within 5000 ms.
  [[nodiscard]] Outcome SendReset();

  void FlushInput() { context_.port.flushReadBuffer(); }
  // False when cancelled during the pause.
  bool Pause(int ms) { return context_.clock.sleepMs(ms, cancel_); }
  bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }
  // outcome, or Cancelled once the token is set: a wait cut short by the
  // user is not the receiver's silence.
  Outcome unlessCancelled(Outcome outcome) const {
    return cancelled() ? Outcome::Cancelled : outcome;
  }

  AppContext &context() { return context_; }

private:
  Outcome sendPacedFrom(std::string_view bytes, int gapMs, int extraGaps);
  std::int64_t elapsedSince(std::int64_t startMs) const { return context_.clock.nowMs() - startMs; }

  AppContext &context_;
  const CancelToken *cancel_;
};

} // namespace tarnwick
