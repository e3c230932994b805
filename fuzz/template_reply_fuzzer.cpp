// The receiver's answer to "locut"/"ttdata" on arbitrary line bytes (the
// first input byte picks the kind), read as the template download reads it,
// each record's name made into the staged file's name. Whatever the receiver
// sends, a name stays one safe file name inside the staging folder.
#include "console.h"
#include "scripted_user.h"
#include "template_staging.h"
#include "template_transfer.h"
#include "text_encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

// The line: the input's bytes, then silence; writes are taken.
class FeedPort final : public PortApi {
public:
  explicit FeedPort(VirtualClock &clock) : clock_(clock) {}
  void feed(const std::uint8_t *data, std::size_t size) {
    data_ = data;
    size_ = size;
    next_ = 0;
  }

  int openPort(const std::string &) override { return 0; }
  int closePort() override { return 1; }
  int setBaudRate(int) override { return 1; }
  int writeByte(int) override { return 1; }
  int writeToPort(const void *, int) override { return 1; }
  char readChar(int *count) override {
    if (next_ == size_) {
      clock_.sleepMs(cmd::kReadCharMs);
      *count = 0;
      return 0;
    }
    *count = 1;
    return static_cast<char>(data_[next_++]);
  }
  int flushReadBuffer() override { return 1; }
  int flushWriteBuffer() override { return 1; }
  int setReadTimeout(int) override { return 1; }
  int parseFile(const std::string &) override { return -1; }
  int getNumberOfPackets() override { return 0; }
  int getBytes() override { return 0; }
  int sendPacket(int) override { return 2; }
  int getCurrentPacketNumber() override { return 0; }
  int cancel() override { return 0; }
  void resetFilePath() override {}

private:
  VirtualClock &clock_;
  const std::uint8_t *data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t next_ = 0;
};

bool safeCharacter(unsigned char c) {
  return c >= 0x20 && !(c >= 0x7F && c <= 0x9F) &&
         std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) == std::string_view::npos;
}

void checkStem(const std::string &stem, const std::vector<std::string> &taken) {
  const std::string name = utf8ToLatin1(stem);
  const bool safe =
      !name.empty() && name.size() <= kTemplateNameField &&
      std::all_of(name.begin(), name.end(),
                  [](char c) { return safeCharacter(static_cast<unsigned char>(c)); }) &&
      name.find("..") == std::string::npos && name.front() != '.' && name.back() != '.';
  const bool unused = std::none_of(taken.begin(), taken.end(), [&stem](const std::string &t) {
    return utf8ToLatin1(t) == utf8ToLatin1(stem);
  });
  if (!safe || !unused) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const TemplateKind kind = data[0] % 2 == 0 ? TemplateKind::Marker : TemplateKind::Trace;
  // One context for every input: building its string table each time would
  // cost more than the parsing.
  static VirtualClock clock;
  static FeedPort port(clock);
  static ScriptedUser user;
  static AppContext context("/", port, clock, user);
  port.feed(data + 1, size - 1);
  Console console(context);
  TemplateTableHeader header;
  if (!succeeded(RequestTemplateTable(console, kind, cmd::kGapDefaultMs, header))) {
    return 0;
  }
  std::vector<std::string> taken;
  for (std::size_t i = 0; i < header.count; ++i) {
    const auto record = console.ReadBytes(header.recordBytes, cmd::kTemplateRecordBoundMs);
    if (!record) {
      break;
    }
    const ReceivedTemplate received = splitTemplateRecord(*record);
    if (received.name.size() > kTemplateNameField ||
        received.name.find('\0') != std::string::npos ||
        received.data.size() != record->size() - std::min(record->size(), kTemplateNameField) ||
        stagedTemplateBytes(received, kind).size() !=
            received.data.size() + (kind == TemplateKind::Trace ? 1 : 0)) {
      std::abort();
    }
    const std::string stem = unusedTemplateStem(safeTemplateStem(received.name), taken);
    checkStem(stem, taken);
    taken.push_back(stem);
  }
  return 0;
}
