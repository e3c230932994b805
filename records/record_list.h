// The record list of one kind: entries (decoded row and raw bytes) in list
// order, the file it is bound to, the modified flag, and the operations of
// the list view: header-click sort, comments, Copy/Cut/Paste and Delete.
#pragma once

#include "record_layout.h"
#include "record_row.h"
#include "string_table.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct RecordEntry {
  RecordRow row;
  std::vector<std::uint8_t> raw; // 160 bytes for a marker, 192 for a cable record
  bool operator==(const RecordEntry &) const = default;
};

// Rows selected in the view, by index; order and repeats do not matter.
using RecordSelection = std::vector<std::size_t>;

enum class SortDirection { Ascending, Descending };

struct SortState {
  std::optional<std::size_t> column; // the last clicked one
  SortDirection direction = SortDirection::Ascending;
};

// The text a column sorts by, folded so that letter case does not count.
std::string sortKey(const RecordRow &row, RecordKind kind, std::size_t column);
// Entries in order of the column's key; equal keys keep their order.
void sortEntries(std::vector<RecordEntry> &entries, RecordKind kind, std::size_t column,
                 SortDirection direction);

class RecordList {
public:
  explicit RecordList(RecordKind kind = RecordKind::ReadMarkers) : kind_(kind) {}

  RecordKind kind() const { return kind_; }
  const std::vector<RecordEntry> &entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // As the dialog opens: no entries, unbound, not modified, not sorted.
  void reset(RecordKind kind);
  // The entries of a file just read or written: bound to path, not modified.
  void load(std::vector<RecordEntry> entries, const std::filesystem::path &path);
  void append(RecordEntry entry);
  void append(const std::vector<RecordEntry> &entries);

  bool bound() const { return !path_.empty(); }
  const std::filesystem::path &path() const { return path_; }
  void bind(const std::filesystem::path &path) { path_ = path; }
  // The file name, or 61387 "New Marker Record" while unbound.
  std::string caption(const StringTable &strings) const;

  bool modified() const { return modified_; }
  void markModified() { modified_ = true; }
  void markSaved() { modified_ = false; }

  // A header click: the same column again toggles the direction, another
  // column sorts ascending.
  void sortByColumn(std::size_t column);
  const SortState &sortState() const { return sort_; }

  // Edit Comments: the text (cut to what a file keeps) on every selected row.
  void setComment(const RecordSelection &selection, std::string_view text);
  // The selected entries in list order.
  std::vector<RecordEntry> selected(const RecordSelection &selection) const;
  // Delete: the selected entries go, without asking.
  void remove(const RecordSelection &selection);

private:
  std::vector<std::size_t> validSelection(const RecordSelection &selection) const;

  RecordKind kind_;
  std::vector<RecordEntry> entries_;
  std::filesystem::path path_;
  bool modified_ = false;
  SortState sort_;
};

// The internal clipboard shared by every record list of the run. Pasting
// keeps the entries, so pasting twice appends them twice. Marker entries do
// not go into a cable list, nor the other way round.
class RecordClipboard {
public:
  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  // Whether Paste into a list of kind has anything to add.
  bool canPasteInto(RecordKind kind) const;

  // Nothing happens with an empty selection.
  void copy(const RecordList &list, const RecordSelection &selection);
  void cut(RecordList &list, const RecordSelection &selection);
  void paste(RecordList &list) const;

private:
  std::vector<RecordEntry> entries_;
  bool cable_ = false;
};

} // namespace tarnwick
