// The console: input framed by CR, every character echoed, each line
// interpreted through the command table. The receiver starts in it and comes
// back to it after every restart.
#pragma once

#include "input_mode.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::sim {

class Receiver;

// Console misbehaviour on demand. Defaults: a healthy console.
struct ConsoleFaults {
  std::int64_t replyDelayMs = 0;            // added to answers, not to the echo
  std::vector<std::uint8_t> statusNoise;    // sent before the 0xD5 of a status reply
  std::optional<std::uint8_t> statusHeader; // sent instead of 0x02
  bool noRevision = false;                  // start-up banner without "Revision"
  std::size_t bannerChunkBytes = 0;         // banner in pieces of this size; 0: whole
  std::int64_t bannerChunkGapMs = 250;      // pause between two pieces
  std::optional<std::string> noAckFor;      // this configuration word is neither kept nor ACKed
  std::optional<std::size_t>
      noEchoAtByte; // the console's byte of this index (from 0) is not echoed
};

using CommandArgs = std::vector<std::string_view>; // the words after the command word
using CommandHandler = std::function<void(Receiver &, const CommandArgs &, std::int64_t nowMs)>;

class ConsoleMode final : public InputMode {
public:
  ConsoleMode(Receiver &receiver, const ConsoleFaults &faults);

  void receive(std::uint8_t byte, std::int64_t nowMs) override;

  // A restart: a half-typed line is lost and the banner goes out from startMs.
  void greet(std::int64_t startMs);
  std::string startupBanner() const;

  // A word the console's own table lacks; a word it has keeps its meaning.
  void addCommand(std::string word, CommandHandler handler);

  std::vector<std::string> lines() const { return {lines_.begin(), lines_.end()}; }
  void clearLines() { lines_.clear(); }
  std::vector<std::string> lastArguments(std::string_view word) const;
  int acknowledgedSettings() const { return acknowledgedSettings_; }

private:
  using Args = CommandArgs;
  using Handler = void (ConsoleMode::*)(const Args &, std::int64_t);
  struct Command {
    std::string_view word;
    Handler handler;
  };
  static std::span<const Command> commands(); // the console's own command words

  void endLine(std::int64_t nowMs, bool echo);
  bool echoes(); // counts the byte taken
  void keepLine(const std::string &line);
  void interpretLine(const std::string &line, std::int64_t nowMs);
  bool runOwnCommand(const Args &words, std::int64_t nowMs);
  void reply(std::string_view bytes, std::int64_t nowMs);
  void statusReply(const std::vector<std::uint8_t> &payload, std::int64_t nowMs);

  void onAlive(const Args &args, std::int64_t nowMs);
  void onKeypad(const Args &args, std::int64_t nowMs);
  void onSoftwareStatus(const Args &args, std::int64_t nowMs);
  void onHardwareStatus(const Args &args, std::int64_t nowMs);
  void onLanguage(const Args &args, std::int64_t nowMs);
  void onReset(const Args &args, std::int64_t nowMs);
  void onEepromRead(const Args &args, std::int64_t nowMs);
  void onEepromWrite(const Args &args, std::int64_t nowMs);
  template <std::size_t Setting> void onSetting(const Args &args, std::int64_t nowMs);
  void onUserFrequencies(const Args &args, std::int64_t nowMs);
  void keepSetting(std::string_view word, const Args &args, std::int64_t nowMs);
  std::size_t fieldsBeforeSilence(std::size_t first) const;

  Receiver &receiver_;
  const ConsoleFaults &faults_;
  std::string line_;
  bool lineOverflow_ = false;
  std::size_t bytesTaken_ = 0;
  std::deque<std::string> lines_; // as interpreted, the latest within the transcript limit
  std::map<std::string, CommandHandler, std::less<>> addedCommands_;
  std::map<std::string, std::vector<std::string>, std::less<>> configuration_;
  int acknowledgedSettings_ = 0;
};

} // namespace tarnwick::sim
