// A simulated locator receiver: the console the program talks to, written
// from the receiver's side of the line. It knows nothing about the link code;
// it is driven by bytes and milliseconds only, so the same machine serves the
// in-process SimPort (virtual time) and tarnwick-sim (a pseudo-terminal).
#pragma once

#include <array>
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

enum class Direction { ToReceiver, FromReceiver };

struct TranscriptEntry {
  std::int64_t timeMs; // when the byte arrived, or when it goes out on the line
  Direction dir;
  std::uint8_t byte;
  bool operator==(const TranscriptEntry &) const = default;
};

struct ReceiverSettings {
  std::uint8_t modelCode = 48; // "8360M-Tq/U"
  std::uint8_t softwareVersion = 23;
  std::uint8_t hardwareVersion = 3;
  std::uint8_t languageTable = 0; // 0: European languages, 6: Asian
  std::uint8_t languageIndex = 0;
  std::uint8_t languageFlag = 2;  // fourth "Language" byte; 0 or 1: none loaded
  std::uint8_t locswLastByte = 8; // seventh "locsw" byte
  std::string banner;             // start-up text; empty: the standard banner
  std::int64_t restartDelayMs = 1500;
};

// Misbehaviour on demand. Defaults: a healthy receiver.
struct Faults {
  std::optional<std::size_t> silentFromByte; // bytes from this index on get no echo, no answer
  std::int64_t replyDelayMs = 0;             // added to answers, not to the echo
  std::vector<std::uint8_t> statusNoise;     // sent before the 0xD5 of a status reply
  std::optional<std::uint8_t> statusHeader;  // sent instead of 0x02
  bool noRevision = false;                   // start-up banner without "Revision"
  std::size_t bannerChunkBytes = 0;          // banner in pieces of this size; 0: whole
  std::int64_t bannerChunkGapMs = 250;       // pause between two pieces
  std::optional<std::string> noAckFor;       // this configuration word is neither kept nor ACKed
};

class Receiver {
public:
  static constexpr std::size_t kEepromSize = 65536;
  using Eeprom = std::array<std::uint8_t, kEepromSize>;

  explicit Receiver(ReceiverSettings settings = {}, Faults faults = {});

  ReceiverSettings &settings() { return settings_; }
  const ReceiverSettings &settings() const { return settings_; }
  Faults &faults() { return faults_; }
  const Faults &faults() const { return faults_; }
  Eeprom &eeprom() { return eeprom_; } // all zero at construction
  const Eeprom &eeprom() const { return eeprom_; }

  // A byte from the PC arrives at nowMs.
  void receive(std::uint8_t byte, std::int64_t nowMs);

  // The line towards the PC: bytes leave in order, each at its due time.
  std::optional<std::int64_t> nextDueMs() const;
  std::optional<std::uint8_t> takeDue(std::int64_t nowMs);
  void discardDue(std::int64_t nowMs); // what the PC purges unread
  std::size_t pendingBytes() const { return outgoing_.size(); }

  // True while a restart is under way (input is lost until the banner is out).
  bool restarting(std::int64_t nowMs) const { return nowMs < listeningFromMs_; }
  int restarts() const { return restarts_; }

  // Every byte in both directions, in time order.
  std::vector<TranscriptEntry> transcript() const;
  std::string receivedText() const; // every byte from the PC
  std::string sentText() const;     // every byte put on the line, due or not
  const std::vector<std::string> &commandLines() const { return lines_; } // as interpreted
  std::size_t bytesReceived() const { return bytesReceived_; }
  void clearTranscript();

  // The banner sent after a restart, with the faults applied.
  std::string startupBanner() const;

  // Configuration commands ("units", "mkr", "pcmact", "udf", ...): the
  // arguments of the last well-formed line of word that was acknowledged;
  // empty when none was. They survive a restart, as settings do.
  std::vector<std::string> lastArguments(std::string_view word) const;
  int acknowledgedSettings() const { return acknowledgedSettings_; }

private:
  struct Outgoing {
    std::int64_t dueMs;
    std::uint8_t byte;
  };
  using Args = std::vector<std::string_view>;
  using Handler = void (Receiver::*)(const Args &, std::int64_t);
  struct Command {
    std::string_view word;
    Handler handler;
  };
  static std::span<const Command> commands(); // the console's command words

  void consoleByte(std::uint8_t byte, std::int64_t nowMs);
  void interpretLine(const std::string &line, std::int64_t nowMs);
  void send(std::string_view bytes, std::int64_t dueMs);
  void sendByte(std::uint8_t byte, std::int64_t dueMs);
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

  ReceiverSettings settings_;
  Faults faults_;
  Eeprom eeprom_{};
  std::deque<Outgoing> outgoing_;
  std::string line_;
  bool lineOverflow_ = false;
  std::int64_t listeningFromMs_ = 0;
  int restarts_ = 0;
  std::size_t bytesReceived_ = 0;
  std::vector<TranscriptEntry> log_; // arrival order; sent bytes logged when scheduled
  std::vector<std::string> lines_;
  std::map<std::string, std::vector<std::string>, std::less<>> configuration_;
  int acknowledgedSettings_ = 0;
};

} // namespace tarnwick::sim
