#include "downloads.h"

#include "block_mode.h"
#include "framed_block_mode.h"
#include "receiver.h"

#include <algorithm>
#include <charconv>
#include <memory>

namespace tarnwick::sim {

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kEndOfItem = 0x7F;
constexpr std::uint8_t kListFrame = 0x0A;
constexpr std::uint8_t kTableFrame = 0x19;

// The receiver's own glossary table: each group's entry count and the
// longest item it takes, by group code.
struct GroupShape {
  int code;
  int count;
  int indexBits;
  std::size_t maxItem;
};

constexpr GroupShape kGroupShapes[] = {
    {7, 8, 3, 8},    {8, 8, 3, 8},    {9, 16, 4, 8},   {10, 32, 5, 8},  {14, 8, 3, 14},
    {15, 8, 3, 14},  {16, 8, 3, 14},  {17, 16, 4, 14}, {18, 16, 4, 14}, {19, 16, 4, 14},
    {20, 16, 4, 14}, {21, 32, 5, 14}, {22, 32, 5, 14}, {23, 32, 5, 14}, {24, 32, 5, 14},
    {25, 32, 5, 14}, {26, 8, 3, 8},   {27, 16, 4, 8},  {28, 16, 4, 14}, {29, 64, 6, 14},
};

const GroupShape *shapeOf(int code) {
  const auto *found = std::find_if(std::begin(kGroupShapes), std::end(kGroupShapes),
                                   [code](const GroupShape &shape) { return shape.code == code; });
  return found == std::end(kGroupShapes) ? nullptr : found;
}

std::optional<int> parseInt(std::string_view text) {
  int value = 0;
  const auto *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::size_t> parseCount(std::string_view text) {
  const auto value = parseInt(text);
  if (!value || *value < 0) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(*value);
}

// The words from first on as they stood in the line (the arguments are views
// into the one line), so that a name keeps its inner spaces.
std::string restOfLine(const CommandArgs &args, std::size_t first) {
  if (first >= args.size()) {
    return {};
  }
  const char *begin = args[first].data();
  const char *end = args.back().data() + args.back().size();
  return std::string(begin, static_cast<std::size_t>(end - begin));
}

bool withheld(const std::optional<std::size_t> &fault, std::size_t arrival) {
  return fault && *fault == arrival;
}

} // namespace

Downloads::Downloads(Receiver &receiver, const DownloadFaults &faults)
    : receiver_(receiver), faults_(faults) {}

void Downloads::install() {
  const auto word = [this](const char *name,
                           void (Downloads::*handler)(const CommandArgs &, std::int64_t)) {
    receiver_.addCommand(name,
                         [this, handler](Receiver &, const CommandArgs &args, std::int64_t nowMs) {
                           (this->*handler)(args, nowMs);
                         });
  };
  word("gn", &Downloads::onGroupHeader);
  word("gdata", &Downloads::onGroupData);
  word("pcll", &Downloads::onListHeader);
  word("ldata", &Downloads::onListData);
  word("pctl", &Downloads::onTableHeader);
  word("tdata", &Downloads::onTableData);
  word("gloss", &Downloads::onVersion);
  receiver_.addCommand("linit", [this](Receiver &, const CommandArgs &, std::int64_t) {
    session_ = Session::UserList;
    ++listStarts_;
  });
  receiver_.addCommand("tinit", [this](Receiver &, const CommandArgs &, std::int64_t) {
    session_ = Session::Descriptions;
    ++tableStarts_;
  });
}

const ReceivedGroup *Downloads::group(int code) const {
  const auto found =
      std::find_if(groups_.begin(), groups_.end(),
                   [code](const ReceivedGroup &group) { return group.code == code; });
  return found == groups_.end() ? nullptr : &*found;
}

// "gn CODE INDEXBITS COUNT": the header must match the receiver's table.
void Downloads::onGroupHeader(const CommandArgs &args, std::int64_t) {
  session_ = Session::Glossary;
  pendingGroup_.reset();
  if (args.size() != 3) {
    refuse("gn: three numbers expected");
    return;
  }
  const auto code = parseInt(args[0]);
  const auto bits = parseInt(args[1]);
  const auto count = parseInt(args[2]);
  const GroupShape *shape = code ? shapeOf(*code) : nullptr;
  if (shape == nullptr || bits != shape->indexBits || count != shape->count) {
    refuse("gn: no group " + restOfLine(args, 0));
    return;
  }
  pendingGroup_ = ReceivedGroup{shape->code, shape->indexBits, shape->count, {}};
}

// "gdata": the announced group's items follow, each closed by 0x7F or by
// reaching the group's longest item.
void Downloads::onGroupData(const CommandArgs &, std::int64_t nowMs) {
  if (!pendingGroup_) {
    refuse("gdata without a group header");
    return;
  }
  receiving_ = *pendingGroup_;
  pendingGroup_.reset();
  const GroupShape &shape = *shapeOf(receiving_.code);
  const std::size_t first = items_;
  items_ += static_cast<std::size_t>(shape.count);
  BlockFaults faults;
  if (faults_.noAckForItem && *faults_.noAckForItem >= first && *faults_.noAckForItem < items_) {
    faults.noAckForItem = *faults_.noAckForItem - first;
  }
  BlockFormat format;
  format.terminator = kEndOfItem;
  format.items = static_cast<std::size_t>(shape.count);
  format.maxItemBytes = shape.maxItem;
  format.abandonAfterMs = kAbandonAfterMs;
  receiver_.enterMode(std::make_unique<BlockMode>(
      receiver_, format, faults,
      [this](std::size_t, std::span<const std::uint8_t> item) {
        keepItem(std::string(item.begin(), item.end()));
      },
      nowMs));
}

void Downloads::keepItem(std::string item) {
  receiving_.items.push_back(std::move(item));
  if (receiving_.items.size() == static_cast<std::size_t>(receiving_.count)) {
    keepGroup();
  }
}

void Downloads::keepGroup() {
  const auto found = std::find_if(groups_.begin(), groups_.end(), [this](const ReceivedGroup &g) {
    return g.code == receiving_.code;
  });
  if (found != groups_.end()) {
    *found = receiving_;
  } else {
    groups_.push_back(receiving_);
  }
}

// "pcll COUNT LENGTH NAME": COUNT is the codes to come + 2; NAME has LENGTH
// characters after one space.
void Downloads::onListHeader(const CommandArgs &args, std::int64_t nowMs) {
  pendingList_.reset();
  const std::size_t arrival = listLines_++;
  // Plain numbers rather than optionals: GCC 12 takes an optional's value
  // for uninitialised here at -O1 under the thread sanitizer.
  const std::size_t none = static_cast<std::size_t>(-1);
  const std::size_t count = args.size() >= 2 ? parseCount(args[0]).value_or(none) : none;
  const std::size_t length = args.size() >= 2 ? parseCount(args[1]).value_or(none) : none;
  const std::string name = restOfLine(args, 2);
  if (count == none || count < 2 || count - 2 > kMaxListCodes || length != name.size()) {
    refuse("pcll: not a list header: " + restOfLine(args, 0));
    return;
  }
  if (withheld(faults_.noAckForList, arrival)) {
    return;
  }
  pendingList_ = PendingList{name, count - 2};
  acknowledge(nowMs);
}

void Downloads::onListData(const CommandArgs &, std::int64_t nowMs) {
  if (!pendingList_) {
    refuse("ldata without a list header");
    return;
  }
  const PendingList list = *pendingList_;
  pendingList_.reset();
  FramedBlock block{kListFrame, list.codes, !withheld(faults_.noAckForListData, listBlocks_++),
                    kAbandonAfterMs};
  receiver_.enterMode(std::make_unique<FramedBlockMode>(
      receiver_, block,
      [this, name = list.name](const std::vector<std::uint16_t> &codes) {
        lists_.push_back({name, codes});
      },
      [this](const std::string &what) { refuse("ldata: " + what); }, nowMs));
}

// "pctl COUNT HIGH LOW": COUNT is the values to come + 2; the tag's two bytes.
void Downloads::onTableHeader(const CommandArgs &args, std::int64_t nowMs) {
  pendingTable_.reset();
  const std::size_t arrival = tableLines_++;
  const auto count = args.size() == 3 ? parseCount(args[0]) : std::nullopt;
  const auto high = args.size() == 3 ? parseCount(args[1]) : std::nullopt;
  const auto low = args.size() == 3 ? parseCount(args[2]) : std::nullopt;
  if (!count || *count < 2 || !high || *high > 0xFF || !low || *low > 0xFF) {
    refuse("pctl: not a table header: " + restOfLine(args, 0));
    return;
  }
  if (withheld(faults_.noAckForEntry, arrival)) {
    return;
  }
  pendingTable_ = PendingTable{static_cast<std::uint16_t>((*high << 8) | *low), *count - 2};
  acknowledge(nowMs);
}

// In a description list a table tagged 0xFF00 is a fill entry: its one
// value 350 times, whatever the header counted.
void Downloads::onTableData(const CommandArgs &, std::int64_t nowMs) {
  if (!pendingTable_) {
    refuse("tdata without a table header");
    return;
  }
  const PendingTable table = *pendingTable_;
  pendingTable_.reset();
  const bool fill = session_ == Session::Descriptions && table.tag == kFillTag;
  FramedBlock block{kTableFrame, fill ? kFillValues : table.values,
                    !withheld(faults_.noAckForEntryData, tableBlocks_++), kAbandonAfterMs};
  receiver_.enterMode(std::make_unique<FramedBlockMode>(
      receiver_, block,
      [this, tag = table.tag, fill](const std::vector<std::uint16_t> &values) {
        tables_.push_back({tag, values, fill});
      },
      [this](const std::string &what) { refuse("tdata: " + what); }, nowMs));
}

// "gloss VERSION".
void Downloads::onVersion(const CommandArgs &args, std::int64_t nowMs) {
  if (args.size() != 1) {
    refuse("gloss: one version expected");
    return;
  }
  if (faults_.noAckForVersion) {
    return;
  }
  version_ = std::string(args[0]);
  acknowledge(nowMs);
}

void Downloads::acknowledge(std::int64_t nowMs) {
  receiver_.sendByte(kAck, nowMs);
}

void Downloads::refuse(std::string what) {
  errors_.push_back(std::move(what));
}

} // namespace tarnwick::sim
