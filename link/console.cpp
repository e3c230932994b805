#include "console.h"

#include "eeprom_lines.h"
#include "status_reply.h"

namespace tarnwick {

namespace {

constexpr std::size_t kCollectKeep = 64 * 1024; // a chattering line cannot grow it further

void appendCollected(std::string &text, char c) {
  text.push_back(c);
  if (text.size() > kCollectKeep) {
    text.erase(0, text.size() - kCollectKeep / 2);
  }
}

// Adds a non-zero byte; true once the text contains needle.
bool collectByte(Collected &collected, std::optional<std::uint8_t> byte, std::string_view needle) {
  if (!byte || *byte == 0) {
    return false;
  }
  appendCollected(collected.text, static_cast<char>(*byte));
  // Only a match ending in the new byte is new.
  const std::size_t size = collected.text.size();
  collected.found = size >= needle.size() &&
                    collected.text.compare(size - needle.size(), needle.size(), needle) == 0;
  return collected.found;
}

std::string withLineEnd(std::string_view text) {
  std::string line(text);
  line += cmd::kLineEnd;
  return line;
}

} // namespace

StringId echoFailureMessage(Outcome outcome) {
  return outcome == Outcome::WriteFailed ? sid::kFailedToWriteComport : sid::kNoOrWrongResponse;
}

Outcome Console::sendPacedFrom(std::string_view bytes, int gapMs, int extraGaps) {
  Clock &clock = context_.clock;
  const std::int64_t start = clock.nowMs();
  std::int64_t gaps = 0;
  for (char c : bytes) {
    if (cancelled()) {
      return Outcome::Cancelled;
    }
    if (context_.port.writeByte(static_cast<unsigned char>(c)) == 0) {
      return Outcome::WriteFailed;
    }
    if (!clock.sleepUntilMs(start + ++gaps * gapMs, cancel_)) {
      return Outcome::Cancelled;
    }
  }
  for (int i = 0; i < extraGaps; ++i) {
    if (!clock.sleepUntilMs(start + ++gaps * gapMs, cancel_)) {
      return Outcome::Cancelled;
    }
  }
  return Outcome::Ok;
}

Outcome Console::SendPaced(std::string_view bytes, int gapMs) {
  return sendPacedFrom(bytes, gapMs, 0);
}

Outcome Console::SendCommandLine(std::string_view text, int gapMs) {
  return sendPacedFrom(withLineEnd(text), gapMs, 1);
}

Outcome Console::SendEchoedLine(std::string_view text, int gapMs) {
  for (char c : withLineEnd(text)) {
    const auto b = static_cast<std::uint8_t>(c);
    if (cancelled()) {
      return Outcome::Cancelled;
    }
    if (context_.port.writeByte(b) == 0) {
      return Outcome::WriteFailed;
    }
    if (!Pause(gapMs)) {
      return Outcome::Cancelled;
    }
    auto echo = ReadByte();
    if (b == cmd::kCarriageReturn) {
      if (echo != cmd::kLineFeed) {
        return unlessCancelled(Outcome::WrongReply);
      }
      echo = ReadByte();
    }
    if (echo != b) {
      return unlessCancelled(Outcome::WrongReply);
    }
  }
  return Outcome::Ok;
}

Outcome Console::SendAckedLine(std::string_view text, int gapMs, int ackBoundMs) {
  const std::string line = withLineEnd(text);
  for (std::size_t i = 0; i < line.size(); ++i) {
    FlushInput();
    if (const Outcome sent = SendPaced(std::string_view(line).substr(i, 1), gapMs);
        !succeeded(sent)) {
      return sent;
    }
  }
  if (!Pause(gapMs)) {
    return Outcome::Cancelled;
  }
  return ReadUntil(cmd::kAck, ackBoundMs);
}

Outcome Console::SendBlock(std::string_view text) {
  if (cancelled()) {
    return Outcome::Cancelled;
  }
  const std::string line = withLineEnd(text);
  return context_.port.writeToPort(line.data(), static_cast<int>(line.size())) != 0
             ? Outcome::Ok
             : Outcome::WriteFailed;
}

Outcome Console::Run(const PacedExchange &exchange) {
  using Kind = PacedExchange::Kind;
  std::int64_t deadline = context_.clock.nowMs();
  for (const PacedExchange::Step &step : exchange.steps()) {
    if (cancelled()) {
      return Outcome::Cancelled;
    }
    switch (step.kind) {
    case Kind::Block:
      if (context_.port.writeToPort(step.bytes.data(), static_cast<int>(step.bytes.size())) == 0) {
        return Outcome::WriteFailed;
      }
      break;
    case Kind::Byte:
      if (context_.port.writeByte(static_cast<unsigned char>(step.bytes.front())) == 0) {
        return Outcome::WriteFailed;
      }
      break;
    case Kind::Flush:
      FlushInput();
      break;
    case Kind::Pause:
      deadline += step.ms;
      if (!context_.clock.sleepUntilMs(deadline, cancel_)) {
        return Outcome::Cancelled;
      }
      break;
    case Kind::Await:
      if (const Outcome read = ReadUntil(step.marker, step.ms); !succeeded(read)) {
        return read;
      }
      deadline = context_.clock.nowMs();
      break;
    }
  }
  return Outcome::Ok;
}

std::optional<std::uint8_t> Console::ReadByte() {
  int count = 0;
  const char c = context_.port.readChar(&count);
  if (count <= 0) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(c);
}

Outcome Console::ReadUntil(std::uint8_t marker, int boundMs) {
  const std::int64_t start = context_.clock.nowMs();
  while (!cancelled()) {
    const auto byte = ReadByte();
    // The bound is a hard limit: a marker that arrives once it has passed
    // (late in the last read) does not count.
    if (elapsedSince(start) >= boundMs) {
      break;
    }
    if (byte == marker) {
      return Outcome::Ok;
    }
  }
  return unlessCancelled(Outcome::Silent);
}

std::optional<std::vector<std::uint8_t>> Console::ReadStatusReply(int boundMs, int payloadBytes) {
  if (!succeeded(ReadUntil(cmd::kStatusHeader, boundMs))) {
    return std::nullopt;
  }
  StatusReplyParser parser(payloadBytes);
  parser.feed(cmd::kStatusHeader);
  while (parser.inReply()) {
    const auto byte = ReadByte();
    // A reply cut short is no reply: a silent line would otherwise read as
    // model 0, version 0.
    if (!byte) {
      return std::nullopt;
    }
    parser.feed(*byte);
  }
  return parser.payload();
}

std::optional<std::vector<std::uint8_t>> Console::QueryStatus(std::string_view command, int gapMs,
                                                              int boundMs, int payloadBytes) {
  if (!succeeded(SendCommandLine(command, gapMs))) {
    return std::nullopt;
  }
  return ReadStatusReply(boundMs, payloadBytes);
}

Collected Console::CollectUntil(std::string_view needle, int boundMs) {
  Collected collected;
  const std::int64_t start = context_.clock.nowMs();
  while (!cancelled()) {
    const auto byte = ReadByte();
    if (elapsedSince(start) >= boundMs) {
      break; // as in ReadUntil, nothing counts once the bound has passed
    }
    if (collectByte(collected, byte, needle)) {
      break;
    }
  }
  return collected;
}

Collected Console::CollectUntil(std::string_view needle, const CancelToken &until) {
  Collected collected;
  while (!cancelled() && !until.cancelled()) {
    if (collectByte(collected, ReadByte(), needle)) {
      break;
    }
  }
  return collected;
}

std::optional<int> Console::ReadErField() {
  std::string field;
  for (std::size_t i = 0; i < kErFieldChars; ++i) {
    const auto byte = ReadByte();
    if (!byte) {
      return std::nullopt;
    }
    field.push_back(static_cast<char>(*byte));
  }
  return decodeErField(field);
}

Outcome Console::ReadErDumpValue(int &value) {
  ErDumpReader reader;
  while (!cancelled()) {
    const auto byte = ReadByte();
    if (!byte) {
      return unlessCancelled(Outcome::Silent);
    }
    switch (reader.feed(static_cast<char>(*byte))) {
    case ErDumpReader::Step::Value:
      value = reader.value();
      return Outcome::Ok;
    case ErDumpReader::Step::Invalid:
      return Outcome::WrongReply;
    case ErDumpReader::Step::NeedMore:
      break;
    }
  }
  return Outcome::Cancelled;
}

Outcome Console::ReadExactly(std::size_t count, std::vector<std::uint8_t> &into) {
  for (std::size_t i = 0; i < count; ++i) {
    if (cancelled()) {
      return Outcome::Cancelled;
    }
    const auto byte = ReadByte();
    if (!byte) {
      return unlessCancelled(Outcome::Silent);
    }
    into.push_back(*byte);
  }
  return Outcome::Ok;
}

std::optional<std::vector<std::uint8_t>> Console::ReadBytes(std::size_t count, int boundMs) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(count);
  const std::int64_t start = context_.clock.nowMs();
  while (bytes.size() < count && !cancelled()) {
    const auto byte = ReadByte();
    if (elapsedSince(start) >= boundMs) {
      break; // as in ReadUntil, nothing counts once the bound has passed
    }
    if (byte) {
      bytes.push_back(*byte);
    }
  }
  if (bytes.size() < count) {
    return std::nullopt;
  }
  return bytes;
}

Outcome Console::CheckAlive(int boundMs) {
  const Outcome sent = SendCommandLine(cmd::kRuAlive, cmd::kGapDefaultMs);
  return succeeded(sent) ? ReadUntil(cmd::kAliveReply, boundMs) : sent;
}

Outcome Console::SendReset() {
  if (const Outcome sent = SendCommandLine(cmd::kSwreset, cmd::kGapSlowMs); !succeeded(sent)) {
    return sent;
  }
  if (!Pause(cmd::kResetSettleMs)) {
    return Outcome::Cancelled;
  }
  return unlessCancelled(CollectUntil(cmd::kBanner, cmd::kResetBoundMs).outcome());
}

} // namespace tarnwick
