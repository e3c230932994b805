#include "console_mode.h"

#include "receiver.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace tarnwick::sim {

namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr char kLineEnd[] = "\n\r";        // the console ends its lines LF CR
constexpr std::uint8_t kStatusMark = 0xD5; // first byte of a binary status reply
constexpr std::uint8_t kStatusHeader = 0x02;
constexpr std::size_t kMaxLine = 256;               // longer input lines are dropped whole
constexpr std::size_t kFieldsPerRow = 16;           // "er" dump row width
constexpr std::uint8_t kFirstLochwTextVersion = 20; // older software answers "lochw" in text
constexpr std::string_view kRevision = "Revision";
constexpr std::uint8_t kAck = 0x06; // a configuration line was taken

// A configuration command and how many 0/1 values it takes.
struct SettingCommand {
  std::string_view word;
  std::size_t values;
};

constexpr SettingCommand kSettingCommands[] = {
    {"units", 3}, {"date", 2},    {"mkr", 7},    {"pcmmkr", 7},  {"lact", 7}, {"pcmact", 7},
    {"lpow", 8},  {"pcmpow", 8},  {"lpas", 3},   {"pcmpas", 3},  {"tact", 7}, {"pcmtact", 7},
    {"tpow", 8},  {"pcmtpow", 8}, {"tpas", 3},   {"pcmtpas", 3}, {"laux", 3}, {"taux", 3},
    {"ludf", 4},  {"tudf", 4},    {"pcmaux", 7}, {"pcmtaux", 7},
};
constexpr std::size_t kMaxUserFrequencies = 4;
constexpr unsigned kLowestUserFrequency = 50;
constexpr unsigned kHighestUserFrequency = 999;

std::vector<std::string_view> splitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(line.find(' ', start), line.size());
    words.push_back(line.substr(start, end - start));
    pos = end;
  }
  return words;
}

std::optional<unsigned> parseDecimal(std::string_view text) {
  unsigned value = 0;
  const auto *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

// Address and count of a span, if it lies below end.
std::optional<std::pair<std::size_t, std::size_t>>
memorySpan(std::string_view address, std::string_view count, std::size_t end) {
  const auto first = parseDecimal(address);
  const auto n = parseDecimal(count);
  if (!first || !n || *n == 0 || *first >= end || *n > end - *first) {
    return std::nullopt;
  }
  return std::pair<std::size_t, std::size_t>{*first, *n};
}

// The same inside the EEPROM image.
std::optional<std::pair<std::size_t, std::size_t>> eepromSpan(std::string_view address,
                                                              std::string_view count) {
  return memorySpan(address, count, Receiver::kEepromSize);
}

std::string standardBanner(const ReceiverSettings &settings) {
  char text[160];
  std::snprintf(
      text, sizeof text,
      "\n\rLocator starting\n\rSoftware Revision %u.0\n\rHardware %u Model %u\n\rReady\n\r",
      static_cast<unsigned>(settings.softwareVersion),
      static_cast<unsigned>(settings.hardwareVersion), static_cast<unsigned>(settings.modelCode));
  return text;
}

// Removes the word whole, also where a removal joins two halves into a new one.
std::string withoutRevision(std::string text) {
  for (auto pos = text.find(kRevision); pos != std::string::npos; pos = text.find(kRevision)) {
    text.replace(pos, kRevision.size(), "Rev");
  }
  return text;
}

// One "er" value: five characters, the last three the decimal value.
std::string eepromField(std::uint8_t value) {
  char field[8];
  std::snprintf(field, sizeof field, "  %3u", static_cast<unsigned>(value));
  return field;
}

bool isSwitch(std::string_view value) {
  return value == "0" || value == "1";
}

bool isUserFrequency(std::string_view value) {
  const auto hertz = parseDecimal(value);
  return hertz && *hertz >= kLowestUserFrequency && *hertz <= kHighestUserFrequency;
}

} // namespace

template <std::size_t Setting> void ConsoleMode::onSetting(const Args &args, std::int64_t nowMs) {
  const SettingCommand &command = kSettingCommands[Setting];
  if (args.size() == command.values && std::all_of(args.begin(), args.end(), isSwitch)) {
    keepSetting(command.word, args, nowMs);
  }
}

std::span<const ConsoleMode::Command> ConsoleMode::commands() {
  static constexpr Command kCommands[] = {
      {"ruAlive", &ConsoleMode::onAlive},        {"kb", &ConsoleMode::onKeypad},
      {"locsw", &ConsoleMode::onSoftwareStatus}, {"lochw", &ConsoleMode::onHardwareStatus},
      {"Language", &ConsoleMode::onLanguage},    {"swreset", &ConsoleMode::onReset},
      {"er", &ConsoleMode::onEepromRead},        {"ew", &ConsoleMode::onEepromWrite},
      {"units", &ConsoleMode::onSetting<0>},     {"date", &ConsoleMode::onSetting<1>},
      {"mkr", &ConsoleMode::onSetting<2>},       {"pcmmkr", &ConsoleMode::onSetting<3>},
      {"lact", &ConsoleMode::onSetting<4>},      {"pcmact", &ConsoleMode::onSetting<5>},
      {"lpow", &ConsoleMode::onSetting<6>},      {"pcmpow", &ConsoleMode::onSetting<7>},
      {"lpas", &ConsoleMode::onSetting<8>},      {"pcmpas", &ConsoleMode::onSetting<9>},
      {"tact", &ConsoleMode::onSetting<10>},     {"pcmtact", &ConsoleMode::onSetting<11>},
      {"tpow", &ConsoleMode::onSetting<12>},     {"pcmtpow", &ConsoleMode::onSetting<13>},
      {"tpas", &ConsoleMode::onSetting<14>},     {"pcmtpas", &ConsoleMode::onSetting<15>},
      {"laux", &ConsoleMode::onSetting<16>},     {"taux", &ConsoleMode::onSetting<17>},
      {"ludf", &ConsoleMode::onSetting<18>},     {"tudf", &ConsoleMode::onSetting<19>},
      {"pcmaux", &ConsoleMode::onSetting<20>},   {"pcmtaux", &ConsoleMode::onSetting<21>},
      {"udf", &ConsoleMode::onUserFrequencies},
  };
  constexpr std::size_t kFirstSetting = 8;
  static_assert(
      [] {
        for (std::size_t i = 0; i < std::size(kSettingCommands); ++i) {
          if (kCommands[kFirstSetting + i].word != kSettingCommands[i].word) {
            return false;
          }
        }
        return true;
      }(),
      "each setting handler follows its entry of the settings table");
  return kCommands;
}

ConsoleMode::ConsoleMode(Receiver &receiver, const ConsoleFaults &faults)
    : receiver_(receiver), faults_(faults) {}

bool ConsoleMode::echoes() {
  return faults_.noEchoAtByte != bytesTaken_++;
}

void ConsoleMode::receive(std::uint8_t byte, std::int64_t nowMs) {
  const bool echo = echoes();
  if (byte == kCr) {
    endLine(nowMs, echo);
    return;
  }
  if (echo) {
    receiver_.sendByte(byte, nowMs);
  }
  if (byte == kLf) {
    return;
  }
  if (line_.size() == kMaxLine) {
    lineOverflow_ = true;
  } else {
    line_.push_back(static_cast<char>(byte));
  }
}

void ConsoleMode::greet(std::int64_t startMs) {
  line_.clear();
  lineOverflow_ = false;
  const std::string banner = startupBanner();
  const std::size_t chunk =
      faults_.bannerChunkBytes == 0 ? banner.size() : faults_.bannerChunkBytes;
  std::int64_t due = startMs;
  for (std::size_t pos = 0; pos < banner.size(); pos += chunk) {
    receiver_.send(std::string_view(banner).substr(pos, chunk), due);
    due += faults_.bannerChunkGapMs;
  }
}

std::string ConsoleMode::startupBanner() const {
  const ReceiverSettings &settings = receiver_.settings();
  std::string text = settings.banner.empty() ? standardBanner(settings) : settings.banner;
  return faults_.noRevision ? withoutRevision(std::move(text)) : text;
}

void ConsoleMode::addCommand(std::string word, CommandHandler handler) {
  addedCommands_[std::move(word)] = std::move(handler);
}

std::vector<std::string> ConsoleMode::lastArguments(std::string_view word) const {
  const auto found = configuration_.find(word);
  return found == configuration_.end() ? std::vector<std::string>{} : found->second;
}

// CR is answered with LF CR; an overlong line is dropped whole.
void ConsoleMode::endLine(std::int64_t nowMs, bool echo) {
  if (echo) {
    receiver_.send(kLineEnd, nowMs);
  }
  const std::string line = std::move(line_);
  const bool overflow = lineOverflow_;
  line_.clear();
  lineOverflow_ = false;
  if (!overflow) {
    interpretLine(line, nowMs);
  }
}

void ConsoleMode::keepLine(const std::string &line) {
  lines_.push_back(line);
  const std::size_t limit = receiver_.settings().transcriptLimit;
  while (limit != 0 && lines_.size() > limit) {
    lines_.pop_front();
  }
}

void ConsoleMode::interpretLine(const std::string &line, std::int64_t nowMs) {
  keepLine(line);
  const Args words = splitWords(line);
  if (words.empty() || runOwnCommand(words, nowMs)) {
    return;
  }
  const auto added = addedCommands_.find(words.front());
  if (added != addedCommands_.end()) {
    added->second(receiver_, Args(words.begin() + 1, words.end()), nowMs);
  }
  // Unknown words are ignored, as the console does.
}

bool ConsoleMode::runOwnCommand(const Args &words, std::int64_t nowMs) {
  for (const Command &command : commands()) {
    if (command.word == words.front()) {
      (this->*command.handler)(Args(words.begin() + 1, words.end()), nowMs);
      return true;
    }
  }
  return false;
}

void ConsoleMode::reply(std::string_view bytes, std::int64_t nowMs) {
  receiver_.send(bytes, nowMs + faults_.replyDelayMs);
}

void ConsoleMode::statusReply(const std::vector<std::uint8_t> &payload, std::int64_t nowMs) {
  std::string frame(faults_.statusNoise.begin(), faults_.statusNoise.end());
  frame.push_back(static_cast<char>(kStatusMark));
  frame.push_back(static_cast<char>(faults_.statusHeader.value_or(kStatusHeader)));
  frame.append(payload.begin(), payload.end());
  reply(frame, nowMs);
}

void ConsoleMode::onAlive(const Args &, std::int64_t nowMs) {
  reply("Y", nowMs);
}

// Keypad emulation: it changes nothing the program can see on the line.
void ConsoleMode::onKeypad(const Args &, std::int64_t) {}

void ConsoleMode::onSoftwareStatus(const Args &, std::int64_t nowMs) {
  const ReceiverSettings &settings = receiver_.settings();
  statusReply({0x00, settings.softwareVersion, settings.modelCode, 0x00, 0x00, 0x00,
               settings.locswLastByte},
              nowMs);
}

// Newer software answers with a length and that many bytes, the hardware
// version last; older software with the version as decimal text closed by 0xD5.
void ConsoleMode::onHardwareStatus(const Args &, std::int64_t nowMs) {
  const ReceiverSettings &settings = receiver_.settings();
  if (settings.softwareVersion >= kFirstLochwTextVersion) {
    statusReply({0x03, 0x01, 0x00, settings.hardwareVersion}, nowMs);
    return;
  }
  const std::string digits = std::to_string(settings.hardwareVersion);
  std::vector<std::uint8_t> payload;
  payload.reserve(digits.size() + 2);
  payload.push_back(static_cast<std::uint8_t>(digits.size()));
  for (const char digit : digits) {
    payload.push_back(static_cast<std::uint8_t>(digit));
  }
  payload.push_back(kStatusMark);
  statusReply(payload, nowMs);
}

void ConsoleMode::onLanguage(const Args &, std::int64_t nowMs) {
  const ReceiverSettings &settings = receiver_.settings();
  statusReply({0x00, settings.languageTable, settings.languageIndex, settings.languageFlag}, nowMs);
}

void ConsoleMode::onReset(const Args &, std::int64_t nowMs) {
  receiver_.restart(nowMs);
}

// "er ADDRESS COUNT 1": each byte as a five-character field, sixteen to a row.
void ConsoleMode::onEepromRead(const Args &args, std::int64_t nowMs) {
  if (args.size() != 3 || args[2] != "1") {
    return;
  }
  const RecordStore &memory = receiver_.records();
  const auto span = memorySpan(args[0], args[1], memory.memoryEnd());
  if (!span) {
    return;
  }
  const std::size_t fields = std::min(span->second, fieldsBeforeSilence(span->first));
  std::string dump;
  for (std::size_t i = 0; i < fields; ++i) {
    if (i != 0 && i % kFieldsPerRow == 0) {
      dump += kLineEnd;
    }
    dump += eepromField(memory.memoryByte(span->first + i).value_or(0));
  }
  if (fields == span->second) {
    dump += kLineEnd;
  }
  reply(dump, nowMs);
}

// "ew ADDRESS COUNT B1 .. BN": a malformed line writes nothing.
void ConsoleMode::onEepromWrite(const Args &args, std::int64_t) {
  if (args.size() < 2) {
    return;
  }
  const auto span = eepromSpan(args[0], args[1]);
  if (!span || args.size() != 2 + span->second) {
    return;
  }
  std::vector<std::uint8_t> values;
  for (std::size_t i = 0; i < span->second; ++i) {
    const auto value = parseDecimal(args[2 + i]);
    if (!value || *value > 0xFF) {
      return;
    }
    values.push_back(static_cast<std::uint8_t>(*value));
  }
  std::copy(values.begin(), values.end(),
            receiver_.eeprom().begin() + static_cast<std::ptrdiff_t>(span->first));
  receiver_.records().dropCleared();
}

// With the upload fault, a dump that reaches into the cable records stops
// before the first field of the record that never comes.
std::size_t ConsoleMode::fieldsBeforeSilence(std::size_t first) const {
  const auto silent = receiver_.faults().records.silentFromRecord;
  if (!silent) {
    return std::numeric_limits<std::size_t>::max();
  }
  const std::size_t stop = kCableRecordsAddress + *silent * kSimCableRecordBytes;
  return stop > first ? stop - first : 0;
}

// "udf COUNT F1 .. FCOUNT": one to four frequencies of 50 to 999 Hz.
void ConsoleMode::onUserFrequencies(const Args &args, std::int64_t nowMs) {
  const auto count = args.empty() ? std::nullopt : parseDecimal(args[0]);
  if (!count || *count == 0 || *count > kMaxUserFrequencies || args.size() != 1 + *count ||
      !std::all_of(args.begin() + 1, args.end(), isUserFrequency)) {
    return;
  }
  keepSetting("udf", args, nowMs);
}

// A well-formed configuration line is kept and acknowledged, unless the
// fault withholds it.
void ConsoleMode::keepSetting(std::string_view word, const Args &args, std::int64_t nowMs) {
  if (faults_.noAckFor == word) {
    return;
  }
  configuration_[std::string(word)] = std::vector<std::string>(args.begin(), args.end());
  ++acknowledgedSettings_;
  reply(std::string(1, static_cast<char>(kAck)), nowMs);
}

} // namespace tarnwick::sim
