// The receiver's side of the glossary, user list and description list
// downloads: the console words that announce them ("gn", "gdata", "pcll",
// "ldata", "pctl", "tdata", "linit", "tinit", "gloss"), the checks of the
// framing each gets, the ACK for each step taken, and what was received, so
// that tests can compare it with what was meant to be sent.
#pragma once

#include "console_mode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::sim {

class Receiver;

// An ACK withheld on demand: the step is neither kept nor answered. Each kind
// counts from 0 in the order its steps arrive.
struct DownloadFaults {
  std::optional<std::size_t> noAckForItem;      // glossary items, over all the groups
  std::optional<std::size_t> noAckForList;      // "pcll" header lines
  std::optional<std::size_t> noAckForListData;  // "ldata" blocks
  std::optional<std::size_t> noAckForEntry;     // "pctl" header lines
  std::optional<std::size_t> noAckForEntryData; // "tdata" blocks
  bool noAckForVersion = false;                 // the "gloss" line
};

// One glossary group as it arrived: its "gn" header and its items.
struct ReceivedGroup {
  int code = 0;
  int indexBits = 0;
  int count = 0;
  std::vector<std::string> items;
  bool operator==(const ReceivedGroup &) const = default;
};

// A "pcll" header with its "ldata" block.
struct ReceivedList {
  std::string name;
  std::vector<std::uint16_t> codes;
  bool operator==(const ReceivedList &) const = default;
};

// A "pctl" header with its "tdata" block.
struct ReceivedTable {
  std::uint16_t tag = 0;
  std::vector<std::uint16_t> values;
  bool fill = false; // a fill entry of a description list: 350 values
  bool operator==(const ReceivedTable &) const = default;
};

class Downloads {
public:
  static constexpr std::int64_t kAbandonAfterMs = 5000; // a block left this long is given up
  static constexpr std::uint16_t kFillTag = 0xFF00;
  static constexpr std::size_t kFillValues = 350;
  static constexpr std::size_t kMaxListCodes = 88;

  Downloads(Receiver &receiver, const DownloadFaults &faults);
  Downloads(const Downloads &) = delete;
  Downloads &operator=(const Downloads &) = delete;

  // Gives the console the download words.
  void install();

  // What was taken and acknowledged: one group per code, the latest; the
  // lists and tables in the order they came.
  const std::vector<ReceivedGroup> &groups() const { return groups_; }
  const ReceivedGroup *group(int code) const;
  const std::vector<ReceivedList> &lists() const { return lists_; }
  const std::vector<ReceivedTable> &tables() const { return tables_; }
  const std::optional<std::string> &glossaryVersion() const { return version_; }
  int listStarts() const { return listStarts_; }   // "linit" lines
  int tableStarts() const { return tableStarts_; } // "tinit" lines
  // Framing the receiver refused, in order.
  const std::vector<std::string> &errors() const { return errors_; }

private:
  enum class Session { None, Glossary, UserList, Descriptions };
  struct PendingList {
    std::string name;
    std::size_t codes;
  };
  struct PendingTable {
    std::uint16_t tag;
    std::size_t values;
  };

  void onGroupHeader(const CommandArgs &args, std::int64_t nowMs);
  void onGroupData(const CommandArgs &args, std::int64_t nowMs);
  void onListHeader(const CommandArgs &args, std::int64_t nowMs);
  void onListData(const CommandArgs &args, std::int64_t nowMs);
  void onTableHeader(const CommandArgs &args, std::int64_t nowMs);
  void onTableData(const CommandArgs &args, std::int64_t nowMs);
  void onVersion(const CommandArgs &args, std::int64_t nowMs);
  void keepItem(std::string item);
  void keepGroup();
  void acknowledge(std::int64_t nowMs);
  void refuse(std::string what);

  Receiver &receiver_;
  const DownloadFaults &faults_;
  Session session_ = Session::None;
  std::optional<ReceivedGroup> pendingGroup_;
  ReceivedGroup receiving_;
  std::optional<PendingList> pendingList_;
  std::optional<PendingTable> pendingTable_;
  std::size_t items_ = 0;     // glossary items announced so far
  std::size_t listLines_ = 0; // "pcll" lines so far
  std::size_t listBlocks_ = 0;
  std::size_t tableLines_ = 0;
  std::size_t tableBlocks_ = 0;
  std::vector<ReceivedGroup> groups_;
  std::vector<ReceivedList> lists_;
  std::vector<ReceivedTable> tables_;
  std::optional<std::string> version_;
  int listStarts_ = 0;
  int tableStarts_ = 0;
  std::vector<std::string> errors_;
};

} // namespace tarnwick::sim
