// tarnwick-sim: one simulated receiver on a pseudo-terminal, in real time.
// The first line printed is the device to open; SIGINT or SIGTERM ends it.
#include "atomic_file.h"
#include "pty.h"
#include "receiver.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using quillport::peer::PtyPair;
using tarnwick::sim::Direction;
using tarnwick::sim::Faults;
using tarnwick::sim::Receiver;
using tarnwick::sim::ReceiverSettings;
using tarnwick::sim::StoredTemplate;
using tarnwick::sim::TemplateTable;
using tarnwick::sim::TranscriptEntry;

constexpr int kIdlePollMs = 200; // how soon a stop request is noticed at the latest
// Bytes kept for --transcript: some tens of megabytes, however long the run.
constexpr std::size_t kDefaultTranscriptLimit = 1'000'000;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
  stopRequested = 1;
}

void installSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0; // no restart: poll() returns at once
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

std::int64_t elapsedMs(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

// Bytes the receiver has put on the line, written to the master as far as it takes them.
void writePending(int master, std::vector<std::uint8_t> &pending) {
  while (!pending.empty()) {
    const ssize_t n = write(master, pending.data(), pending.size());
    if (n > 0) {
      pending.erase(pending.begin(), pending.begin() + n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return; // full (EAGAIN) or gone: try again on the next round
    }
  }
}

int pollTimeout(const Receiver &receiver, std::int64_t now) {
  const auto due = receiver.nextDueMs();
  const std::int64_t wait = due ? std::max<std::int64_t>(0, *due - now) : kIdlePollMs;
  return static_cast<int>(std::min<std::int64_t>(wait, kIdlePollMs));
}

// A non-blocking master: serve() waits in poll(), never in a read or a write.
std::unique_ptr<PtyPair> openPty() {
  try {
    auto pty = std::make_unique<PtyPair>();
    pty->setMasterNonBlocking();
    return pty;
  } catch (const std::exception &error) {
    std::fprintf(stderr, "tarnwick-sim: no pseudo-terminal: %s (%s)\n", error.what(),
                 std::strerror(errno));
    return nullptr;
  }
}

void serve(const PtyPair &pty, Receiver &receiver) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> pending;
  while (stopRequested == 0) {
    const std::int64_t now = elapsedMs(start);
    while (const auto byte = receiver.takeDue(now)) {
      pending.push_back(*byte);
    }
    writePending(pty.master(), pending);
    const short events = static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT));
    pollfd pfd{pty.master(), events, 0};
    const int ready = poll(&pfd, 1, pollTimeout(receiver, now));
    if (ready <= 0 || (pfd.revents & POLLIN) == 0) {
      continue;
    }
    std::uint8_t buffer[256];
    const ssize_t n = read(pty.master(), buffer, sizeof buffer);
    const std::int64_t arrival = elapsedMs(start);
    for (ssize_t i = 0; i < n; ++i) {
      receiver.receive(buffer[i], arrival);
    }
  }
}

bool writeTranscript(const std::string &path, const Receiver &receiver) {
  std::string text;
  for (const TranscriptEntry &entry : receiver.transcript()) {
    const bool printable = entry.byte >= 0x20 && entry.byte < 0x7F;
    char line[48];
    const int n = std::snprintf(
        line, sizeof line, "%lld %s %02X %c\n", static_cast<long long>(entry.timeMs),
        entry.dir == Direction::ToReceiver ? "in" : "out", static_cast<unsigned>(entry.byte),
        printable ? static_cast<char>(entry.byte) : '.');
    text.append(line, static_cast<std::size_t>(n));
  }
  return !tarnwick::writeFileAtomically(path, text);
}

std::uint8_t hexByte(const std::string &text) {
  std::size_t used = 0;
  const unsigned long value = std::stoul(text, &used, 16);
  if (used != text.size() || value > 0xFF) {
    throw CLI::ValidationError("--status-noise", "not a hexadecimal byte: " + text);
  }
  return static_cast<std::uint8_t>(value);
}

// "\n", "\r" and "\\" in a banner given on the command line.
std::string unescape(const std::string &text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    const char next = text[++i];
    out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : next);
  }
  return out;
}

void loadEeprom(const std::string &path, Receiver &receiver) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw std::runtime_error("cannot read " + path);
  }
  Receiver::Eeprom &image = receiver.eeprom();
  const std::size_t n = std::fread(image.data(), 1, image.size(), file);
  const bool tooLong = n == image.size() && std::fgetc(file) != EOF;
  std::fclose(file);
  if (tooLong) {
    throw std::runtime_error(path + " is larger than the EEPROM");
  }
}

constexpr std::uint8_t kTracePrefix = 0xFF; // first byte of a trace template file

// The ".utl" files of folder in name order as stored templates: the name is
// the file name without ".utl", the data the file's bytes (a trace file's
// leading 0xFF left out).
std::vector<StoredTemplate> loadTemplates(const std::string &folder, TemplateTable table) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".utl") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  if (files.size() > tarnwick::sim::templateLimit(table)) {
    throw std::runtime_error(folder + " holds more templates than the receiver takes");
  }
  std::vector<StoredTemplate> stored;
  for (const fs::path &file : files) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    if (table == TemplateTable::Trace && !data.empty() && data.front() == kTracePrefix) {
      data.erase(data.begin());
    }
    const std::string name = file.stem().string();
    if (name.size() > tarnwick::sim::kTemplateNameBytes ||
        data.size() > tarnwick::sim::templateDataBytes(table)) {
      throw std::runtime_error(file.string() + " does not fit a template record");
    }
    stored.push_back({name, std::move(data)});
  }
  return stored;
}

struct Options {
  int modelCode = ReceiverSettings{}.modelCode;
  int softwareVersion = ReceiverSettings{}.softwareVersion;
  int hardwareVersion = ReceiverSettings{}.hardwareVersion;
  int languageTable = ReceiverSettings{}.languageTable;
  int languageIndex = ReceiverSettings{}.languageIndex;
  int languageFlag = ReceiverSettings{}.languageFlag;
  int locswLastByte = ReceiverSettings{}.locswLastByte;
  std::string banner;
  std::int64_t restartDelayMs = ReceiverSettings{}.restartDelayMs;
  std::int64_t silentFrom = -1;
  std::int64_t replyDelayMs = 0;
  std::vector<std::string> statusNoise;
  int statusHeader = -1;
  bool noRevision = false;
  std::size_t bannerChunkBytes = 0;
  std::int64_t bannerChunkGapMs = Faults{}.bannerChunkGapMs;
  std::string noAckFor;
  std::int64_t noAckItem = -1;
  std::int64_t noAckList = -1;
  std::int64_t noAckListData = -1;
  std::int64_t noAckEntry = -1;
  std::int64_t noAckEntryData = -1;
  bool noAckVersion = false;
  std::string eeprom;
  std::string readRecords;
  std::string programmedRecords;
  std::string cableRecords;
  std::int64_t silentFromRecord = -1;
  std::int64_t noEchoAt = -1;
  std::string userTemplates;
  std::string traceTemplates;
  std::size_t refuseTemplates = 0;
  std::string templateName;
  std::string transcript;
  std::size_t transcriptLimit = kDefaultTranscriptLimit;
};

void addOptions(CLI::App &app, Options &o) {
  const auto byteRange = CLI::Range(0, 255);
  app.add_option("--model", o.modelCode, "Model code in the \"locsw\" reply")->check(byteRange);
  app.add_option("--software", o.softwareVersion, "Software version")->check(byteRange);
  app.add_option("--hardware", o.hardwareVersion, "Hardware version")->check(byteRange);
  app.add_option("--language-table", o.languageTable, "Language table")->check(byteRange);
  app.add_option("--language-index", o.languageIndex, "Language index")->check(byteRange);
  app.add_option("--language-flag", o.languageFlag, "Fourth byte of the \"Language\" reply")
      ->check(byteRange);
  app.add_option("--locsw-last", o.locswLastByte, "Last byte of the \"locsw\" reply")
      ->check(byteRange);
  app.add_option("--banner", o.banner,
                 "Start-up banner text, \\n and \\r allowed (default: the standard one)");
  app.add_option("--restart-delay", o.restartDelayMs, "Milliseconds from \"swreset\" to the banner")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--silent-from", o.silentFrom, "No echo or answer from this received byte on")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--reply-delay", o.replyDelayMs, "Milliseconds added to every answer")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--status-noise", o.statusNoise, "Hex bytes sent before each 0xD5, e.g. 00,41")
      ->delimiter(',');
  app.add_option("--status-header", o.statusHeader, "Byte sent instead of 0x02 after 0xD5")
      ->check(byteRange);
  app.add_flag("--no-revision", o.noRevision, "Start-up banner without \"Revision\"");
  app.add_option("--banner-chunk", o.bannerChunkBytes, "Send the banner in pieces of this size");
  app.add_option("--banner-gap", o.bannerChunkGapMs, "Milliseconds between banner pieces")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--no-ack-for", o.noAckFor,
                 "Configuration command word that is neither kept nor acknowledged");
  const auto index = CLI::NonNegativeNumber;
  app.add_option("--no-ack-item", o.noAckItem,
                 "Glossary item (from 0, over all groups) neither kept nor acknowledged")
      ->check(index);
  app.add_option("--no-ack-list", o.noAckList, "\"pcll\" line (from 0) not acknowledged")
      ->check(index);
  app.add_option("--no-ack-list-data", o.noAckListData,
                 "\"ldata\" block (from 0) neither kept nor acknowledged")
      ->check(index);
  app.add_option("--no-ack-entry", o.noAckEntry, "\"pctl\" line (from 0) not acknowledged")
      ->check(index);
  app.add_option("--no-ack-entry-data", o.noAckEntryData,
                 "\"tdata\" block (from 0) neither kept nor acknowledged")
      ->check(index);
  app.add_flag("--no-ack-version", o.noAckVersion, "The \"gloss\" line is not acknowledged");
  app.add_option("--eeprom", o.eeprom, "EEPROM image from this file, from address 0");
  app.add_option("--read-records", o.readRecords,
                 "Read markers from this record file (.rmrx, or .rmr for the 64-byte form)");
  app.add_option("--programmed-records", o.programmedRecords,
                 "Programmed markers from this record file (.pgrx or .pgr)");
  app.add_option("--cable-records", o.cableRecords, "Cable records from this .cdrx file");
  app.add_option("--silent-from-record", o.silentFromRecord,
                 "Uploads stop before this record (from 0)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--no-echo-at", o.noEchoAt,
                 "The console byte of this index (from 0) is not echoed")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--user-templates", o.userTemplates,
                 "The user templates stored: the .utl files of this folder (at most 32)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--trace-templates", o.traceTemplates,
                 "The trace templates stored: the .utl files of this folder (at most 4)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--refuse-templates", o.refuseTemplates,
                 "Answer the first this many template records with NAK");
  app.add_option("--template-name", o.templateName,
                 "Name field sent for the first stored template, e.g. ../x");
  app.add_option("--transcript", o.transcript, "Write every byte with its time here on exit");
  app.add_option("--transcript-limit", o.transcriptLimit,
                 "Keep only the latest this many bytes for the transcript; 0: all");
}

ReceiverSettings makeSettings(const Options &o) {
  ReceiverSettings settings;
  settings.modelCode = static_cast<std::uint8_t>(o.modelCode);
  settings.softwareVersion = static_cast<std::uint8_t>(o.softwareVersion);
  settings.hardwareVersion = static_cast<std::uint8_t>(o.hardwareVersion);
  settings.languageTable = static_cast<std::uint8_t>(o.languageTable);
  settings.languageIndex = static_cast<std::uint8_t>(o.languageIndex);
  settings.languageFlag = static_cast<std::uint8_t>(o.languageFlag);
  settings.locswLastByte = static_cast<std::uint8_t>(o.locswLastByte);
  settings.banner = unescape(o.banner);
  settings.restartDelayMs = o.restartDelayMs;
  settings.transcriptLimit = o.transcriptLimit;
  return settings;
}

Faults makeFaults(const Options &o) {
  Faults faults;
  if (o.silentFrom >= 0) {
    faults.silentFromByte = static_cast<std::size_t>(o.silentFrom);
  }
  faults.replyDelayMs = o.replyDelayMs;
  for (const std::string &text : o.statusNoise) {
    faults.statusNoise.push_back(hexByte(text));
  }
  if (o.statusHeader >= 0) {
    faults.statusHeader = static_cast<std::uint8_t>(o.statusHeader);
  }
  faults.noRevision = o.noRevision;
  faults.bannerChunkBytes = o.bannerChunkBytes;
  faults.bannerChunkGapMs = o.bannerChunkGapMs;
  if (!o.noAckFor.empty()) {
    faults.noAckFor = o.noAckFor;
  }
  const auto step = [](std::int64_t value) {
    return value >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(value)) : std::nullopt;
  };
  faults.downloads.noAckForItem = step(o.noAckItem);
  faults.downloads.noAckForList = step(o.noAckList);
  faults.downloads.noAckForListData = step(o.noAckListData);
  faults.downloads.noAckForEntry = step(o.noAckEntry);
  faults.downloads.noAckForEntryData = step(o.noAckEntryData);
  faults.downloads.noAckForVersion = o.noAckVersion;
  if (o.silentFromRecord >= 0) {
    faults.records.silentFromRecord = static_cast<std::size_t>(o.silentFromRecord);
  }
  if (o.noEchoAt >= 0) {
    faults.noEchoAtByte = static_cast<std::size_t>(o.noEchoAt);
  }
  faults.templates.refuseRecords = o.refuseTemplates;
  if (!o.templateName.empty()) {
    faults.templates.firstName = o.templateName;
  }
  return faults;
}

std::unique_ptr<Receiver> makeReceiver(const Options &o) {
  auto receiver = std::make_unique<Receiver>(makeSettings(o), makeFaults(o));
  if (!o.eeprom.empty()) {
    loadEeprom(o.eeprom, *receiver);
  }
  using tarnwick::sim::RecordSet;
  const std::pair<const std::string *, RecordSet> sets[] = {
      {&o.readRecords, RecordSet::ReadMarkers},
      {&o.programmedRecords, RecordSet::ProgrammedMarkers},
      {&o.cableRecords, RecordSet::CableRecords}};
  for (const auto &[path, set] : sets) {
    if (!path->empty()) {
      receiver->records().store(set, tarnwick::sim::readStoredRecords(*path));
    }
  }
  if (!o.userTemplates.empty()) {
    receiver->templates().user = loadTemplates(o.userTemplates, TemplateTable::User);
  }
  if (!o.traceTemplates.empty()) {
    receiver->templates().trace = loadTemplates(o.traceTemplates, TemplateTable::Trace);
  }
  return receiver;
}

} // namespace

int main(int argc, char **argv) {
  CLI::App app{"Simulated locator receiver on a pseudo-terminal"};
  Options options;
  addOptions(app, options);
  CLI11_PARSE(app, argc, argv);
  const std::unique_ptr<Receiver> receiver = [&] {
    try {
      return makeReceiver(options);
    } catch (const std::exception &error) {
      std::fprintf(stderr, "tarnwick-sim: %s\n", error.what());
      std::exit(2);
    }
  }();

  const std::unique_ptr<PtyPair> pty = openPty();
  if (!pty) {
    return 1;
  }
  installSignalHandlers();
  std::printf("%s\n", pty->slavePath().c_str());
  std::fflush(stdout);

  serve(*pty, *receiver);

  if (!options.transcript.empty() && !writeTranscript(options.transcript, *receiver)) {
    std::fprintf(stderr, "tarnwick-sim: cannot write %s\n", options.transcript.c_str());
    return 1;
  }
  return 0;
}
