// A simulated locator receiver: the console the program talks to, written
// from the receiver's side of the line. It knows nothing about the link code;
// it is driven by bytes and milliseconds only, so the same machine serves the
// in-process SimPort (virtual time) and tarnwick-sim (a pseudo-terminal).
//
// Input goes to one mode at a time (input_mode.h): the console, or a mode the
// console entered for an exchange with a framing of its own.
#pragma once

#include "block_mode.h"
#include "console_mode.h"
#include "downloads.h"
#include "input_mode.h"
#include "record_sets.h"
#include "template_exchange.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
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
  std::size_t transcriptLimit = 0; // transcript entries and command lines kept, the latest; 0: all
};

// Misbehaviour on demand, each mode's in its own struct; the console's are
// read as fields of this one. Defaults: a healthy receiver.
struct Faults : ConsoleFaults {
  std::optional<std::size_t> silentFromByte; // bytes from this index on get no answer in any mode
  BlockFaults block;
  DownloadFaults downloads;
  RecordFaults records;
  TemplateFaults templates;
};

class Receiver {
public:
  static constexpr std::size_t kEepromSize = 65536;
  using Eeprom = std::array<std::uint8_t, kEepromSize>;

  explicit Receiver(ReceiverSettings settings = {}, Faults faults = {});
  // The modes keep a reference to their receiver.
  Receiver(const Receiver &) = delete;
  Receiver &operator=(const Receiver &) = delete;

  ReceiverSettings &settings() { return settings_; }
  const ReceiverSettings &settings() const { return settings_; }
  Faults &faults() { return faults_; }
  const Faults &faults() const { return faults_; }
  Eeprom &eeprom() { return eeprom_; } // all zero at construction
  const Eeprom &eeprom() const { return eeprom_; }
  // The record sets "rc", "pc" and "er" serve.
  RecordStore &records() { return records_; }
  const RecordStore &records() const { return records_; }
  // The stored user and trace templates; empty at construction.
  TemplateMemory &templates() { return templates_; }
  const TemplateMemory &templates() const { return templates_; }

  // A byte from the PC arrives at nowMs; the mode that has the line takes it.
  void receive(std::uint8_t byte, std::int64_t nowMs);

  // The mode given takes the line from the next byte on, until it leaves;
  // then the mode that was there before has it again. A mode may leave from
  // within its own receive(). A restart drops every mode but the console.
  void enterMode(std::unique_ptr<InputMode> mode);
  void leaveMode();
  bool inConsole() const { return entered_.empty(); }
  // A byte a mode gave up on, for the mode that has the line now.
  void handOn(std::uint8_t byte, std::int64_t nowMs) { activeMode().receive(byte, nowMs); }
  // A command word for the console beside its own (see ConsoleMode::addCommand).
  void addCommand(std::string word, CommandHandler handler);

  // What the modes put on the line: bytes leave in order, none before dueMs.
  void send(std::string_view bytes, std::int64_t dueMs);
  void sendByte(std::uint8_t byte, std::int64_t dueMs);
  // The receiver reboots: input is lost until the console's banner is out.
  void restart(std::int64_t nowMs);

  // The line towards the PC: bytes leave in order, each at its due time.
  std::optional<std::int64_t> nextDueMs() const;
  std::optional<std::uint8_t> takeDue(std::int64_t nowMs);
  void discardDue(std::int64_t nowMs); // what the PC purges unread
  std::size_t pendingBytes() const { return outgoing_.size(); }

  // True while a restart is under way (input is lost until the banner is out).
  bool restarting(std::int64_t nowMs) const { return nowMs < listeningFromMs_; }
  int restarts() const { return restarts_; }

  // Every byte in both directions, in time order; with a transcript limit,
  // the latest that many as they were logged.
  std::vector<TranscriptEntry> transcript() const;
  std::string receivedText() const; // every byte from the PC
  std::string sentText() const;     // every byte put on the line, due or not
  std::vector<std::string> commandLines() const { return console_.lines(); } // as interpreted
  std::size_t bytesReceived() const { return bytesReceived_; } // all of them, limit or not
  void clearTranscript();

  // The banner sent after a restart, with the faults applied.
  std::string startupBanner() const;

  // Configuration commands ("units", "mkr", "pcmact", "udf", ...): the
  // arguments of the last well-formed line of word that was acknowledged;
  // empty when none was. They survive a restart, as settings do.
  std::vector<std::string> lastArguments(std::string_view word) const {
    return console_.lastArguments(word);
  }
  int acknowledgedSettings() const { return console_.acknowledgedSettings(); }

  // The glossary, user list and description list downloads it took.
  const Downloads &downloads() const { return downloads_; }

private:
  struct Outgoing {
    std::int64_t dueMs;
    std::uint8_t byte;
  };

  InputMode &activeMode();
  void log(TranscriptEntry entry);

  ReceiverSettings settings_;
  Faults faults_;
  Eeprom eeprom_{};
  TemplateMemory templates_;
  std::deque<Outgoing> outgoing_;
  std::int64_t listeningFromMs_ = 0;
  int restarts_ = 0;
  std::size_t bytesReceived_ = 0;
  std::deque<TranscriptEntry> log_; // arrival order; sent bytes logged when scheduled
  RecordStore records_;
  ConsoleMode console_;
  Downloads downloads_;
  std::vector<std::unique_ptr<InputMode>> entered_; // modes over the console, the latest on top
  std::vector<std::unique_ptr<InputMode>> left_;    // kept until the byte they left on is done
};

} // namespace tarnwick::sim
