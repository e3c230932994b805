#include "template_exchange.h"

#include "receiver.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace tarnwick::sim {

namespace {

constexpr std::uint8_t kAck = 0x06; // a record was taken; one more byte follows
constexpr std::uint8_t kNak = 0x15; // a record was refused; it is awaited again
constexpr std::uint8_t kStatusMark = 0xD5;
constexpr std::uint8_t kStatusHeader = 0x02;
// Longer than the PC ever waits for an ACK: a record not continued within
// this time is given up and the console has the line again.
constexpr std::int64_t kRecordAbandonMs = 40000;

std::optional<std::size_t> parseCount(std::string_view text) {
  std::size_t value = 0;
  const auto *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

std::size_t recordBytes(TemplateTable table) {
  return kTemplateNameBytes + templateDataBytes(table);
}

// The receiver's side of one download: the set announced and what arrived.
class TemplateExchange {
public:
  explicit TemplateExchange(Receiver &receiver) : receiver_(receiver) {}

  void answerTable(TemplateTable table, std::int64_t nowMs);
  void announce(TemplateTable table, const CommandArgs &args);
  void expectRecord(TemplateTable table);
  // A whole record; true when it was taken.
  bool takeRecord(TemplateTable table, std::span<const std::uint8_t> record, std::int64_t nowMs);
  void abandon() { pending_.reset(); }

  Receiver &receiver() { return receiver_; }

private:
  struct Pending {
    TemplateTable table;
    std::size_t expected;
    std::size_t taken = 0;
  };

  std::string nameFieldOf(const StoredTemplate &stored, std::size_t index) const;

  Receiver &receiver_;
  std::optional<Pending> pending_;
  std::size_t recordsArrived_ = 0; // since power-up, refused ones included
};

// Takes the bytes of one record after "fdata"/"pcttd"; no echo.
class TemplateRecordMode final : public InputMode {
public:
  TemplateRecordMode(TemplateExchange &exchange, TemplateTable table)
      : exchange_(exchange), table_(table) {}

  void receive(std::uint8_t byte, std::int64_t nowMs) override {
    if (lastByteMs_ && nowMs - *lastByteMs_ > kRecordAbandonMs) {
      exchange_.abandon();
      exchange_.receiver().leaveMode(); // this byte is lost with the record
      return;
    }
    lastByteMs_ = nowMs;
    record_.push_back(byte);
    if (record_.size() < recordBytes(table_)) {
      return;
    }
    const std::vector<std::uint8_t> record = std::move(record_);
    record_.clear();
    if (exchange_.takeRecord(table_, record, nowMs)) {
      exchange_.receiver().leaveMode(); // this object lives on until the byte is done
    }
  }

private:
  TemplateExchange &exchange_;
  TemplateTable table_;
  std::vector<std::uint8_t> record_;
  std::optional<std::int64_t> lastByteMs_;
};

std::string TemplateExchange::nameFieldOf(const StoredTemplate &stored, std::size_t index) const {
  const auto &fault = receiver_.faults().templates.firstName;
  std::string field = index == 0 && fault ? *fault : stored.name;
  field.resize(kTemplateNameBytes, '\0');
  return field;
}

// 0xD5 0x02, the count and the record size, then each record.
void TemplateExchange::answerTable(TemplateTable table, std::int64_t nowMs) {
  const std::vector<StoredTemplate> &stored = receiver_.templates().of(table);
  const std::size_t count = std::min<std::size_t>(stored.size(), 0xFF);
  std::string reply{static_cast<char>(kStatusMark), static_cast<char>(kStatusHeader),
                    static_cast<char>(count), static_cast<char>(recordBytes(table))};
  for (std::size_t i = 0; i < count; ++i) {
    reply += nameFieldOf(stored[i], i);
    std::string data(stored[i].data.begin(), stored[i].data.end());
    data.resize(templateDataBytes(table), '\0');
    reply += data;
  }
  receiver_.send(reply, nowMs + receiver_.faults().replyDelayMs);
}

// "pcut N" / "pcttlen N": the stored set is replaced by the N records to
// come. A count above what the receiver holds is ignored.
void TemplateExchange::announce(TemplateTable table, const CommandArgs &args) {
  const auto count = args.size() == 1 ? parseCount(args[0]) : std::nullopt;
  if (!count || *count > templateLimit(table)) {
    pending_.reset();
    return;
  }
  receiver_.templates().of(table).clear();
  pending_ = Pending{table, *count};
}

void TemplateExchange::expectRecord(TemplateTable table) {
  if (pending_ && pending_->table == table && pending_->taken < pending_->expected) {
    receiver_.enterMode(std::make_unique<TemplateRecordMode>(*this, table));
  }
}

bool TemplateExchange::takeRecord(TemplateTable table, std::span<const std::uint8_t> record,
                                  std::int64_t nowMs) {
  const TemplateFaults &faults = receiver_.faults().templates;
  const std::size_t arrival = recordsArrived_++;
  if (arrival < faults.refuseRecords ||
      std::find(faults.refuseArrivals.begin(), faults.refuseArrivals.end(), arrival) !=
          faults.refuseArrivals.end()) {
    receiver_.sendByte(kNak, nowMs);
    return false;
  }
  const auto field = record.first(kTemplateNameBytes);
  StoredTemplate stored;
  stored.name.assign(field.begin(), std::find(field.begin(), field.end(), std::uint8_t{0}));
  const auto data = record.subspan(kTemplateNameBytes);
  stored.data.assign(data.begin(), data.end());
  std::vector<StoredTemplate> &memory = receiver_.templates().of(table);
  memory.push_back(std::move(stored));
  receiver_.sendByte(kAck, nowMs);
  receiver_.sendByte(static_cast<std::uint8_t>(memory.size()), nowMs); // how many it now holds
  if (++pending_->taken == pending_->expected) {
    pending_.reset();
  }
  return true;
}

} // namespace

std::size_t templateDataBytes(TemplateTable table) {
  return table == TemplateTable::Trace ? kTraceTemplateBytes : kUserTemplateBytes;
}

std::size_t templateLimit(TemplateTable table) {
  return table == TemplateTable::Trace ? kTraceTemplateLimit : kUserTemplateLimit;
}

void addTemplateCommands(Receiver &receiver) {
  auto exchange = std::make_shared<TemplateExchange>(receiver);
  const auto add = [&receiver, &exchange](const char *word, TemplateTable table, auto action) {
    receiver.addCommand(
        word, [exchange, table, action](Receiver &, const CommandArgs &args, std::int64_t nowMs) {
          action(*exchange, table, args, nowMs);
        });
  };
  const auto table = [](TemplateExchange &e, TemplateTable t, const CommandArgs &,
                        std::int64_t now) { e.answerTable(t, now); };
  const auto count = [](TemplateExchange &e, TemplateTable t, const CommandArgs &args,
                        std::int64_t) { e.announce(t, args); };
  const auto data = [](TemplateExchange &e, TemplateTable t, const CommandArgs &, std::int64_t) {
    e.expectRecord(t);
  };
  add("locut", TemplateTable::User, table);
  add("ttdata", TemplateTable::Trace, table);
  add("pcut", TemplateTable::User, count);
  add("pcttlen", TemplateTable::Trace, count);
  add("fdata", TemplateTable::User, data);
  add("pcttd", TemplateTable::Trace, data);
}

} // namespace tarnwick::sim
