// The command exchange with the receiver's console: paced command lines, the
// echo check, reads bounded by wall-clock time, binary status replies, the
// liveness check and the reset. Every tool talks through it.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "commands.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

enum class EchoResult { Ok, WriteFailed, WrongEcho };
// 61274 for a failed write, 61377 for a wrong or missing echo.
StringId echoFailureMessage(EchoResult result);

struct Collected {
  bool found = false;
  std::string text; // the non-zero bytes received (the last 64 KiB at most)
};

class Console {
public:
  // Every wait ends early once cancel (when given) is cancelled.
  explicit Console(AppContext &context, const CancelToken *cancel = nullptr)
      : context_(context), cancel_(cancel) {}

  // Writes bytes one by one, gapMs after each, paced against deadlines taken
  // from the first byte. Stops at the first failed write.
  bool SendPaced(std::string_view bytes, int gapMs);
  // text + "\r" paced, and one gap more after the last byte; reads nothing.
  bool SendCommandLine(std::string_view text, int gapMs = cmd::kGapDefaultMs);
  // text + "\r", reading each byte's echo after its gap; CR is echoed LF CR.
  EchoResult SendEchoedLine(std::string_view text, int gapMs = cmd::kGapDefaultMs);
  // text + "\r" in one write, unpaced (loader commands).
  bool SendBlock(std::string_view text);

  // One read of the port; nothing when no byte came within the read time-out.
  std::optional<std::uint8_t> ReadByte();
  // Reads until marker arrives (true) or boundMs have passed since the start.
  bool ReadUntil(std::uint8_t marker, int boundMs);
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

  // "ruAlive" and "Y" within boundMs; otherwise 61285 and the failure-close
  // step (silently false when cancelled).
  bool CheckAlive(int boundMs = cmd::kAliveBoundMs);
  // "swreset", 250 ms, then the banner within 5000 ms; otherwise 61381.
  bool SendReset();

  void FlushInput() { context_.port.flushReadBuffer(); }
  void Pause(int ms) { context_.clock.sleepMs(ms); }
  bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }

  AppContext &context() { return context_; }

private:
  bool sendPacedFrom(std::string_view bytes, int gapMs, int extraGaps);
  std::int64_t elapsedSince(std::int64_t startMs) const { return context_.clock.nowMs() - startMs; }

  AppContext &context_;
  const CancelToken *cancel_;
};

} // namespace tarnwick
