#include "record_list.h"

#include "record_columns.h"

#include <algorithm>
#include <numeric>

namespace tarnwick {

namespace {

char foldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte order of the folded texts, as unsigned bytes.
bool keyLess(const std::string &a, const std::string &b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

} // namespace

std::string sortKey(const RecordRow &row, RecordKind kind, std::size_t column) {
  std::string key = columnText(row, kind, column);
  std::transform(key.begin(), key.end(), key.begin(), foldCase);
  return key;
}

void sortEntries(std::vector<RecordEntry> &entries, RecordKind kind, std::size_t column,
                 SortDirection direction) {
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const RecordEntry &entry : entries) {
    keys.push_back(sortKey(entry.row, kind, column));
  }
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const bool ascending = direction == SortDirection::Ascending;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ascending ? keyLess(keys[a], keys[b]) : keyLess(keys[b], keys[a]);
  });
  std::vector<RecordEntry> sorted;
  sorted.reserve(entries.size());
  for (std::size_t index : order) {
    sorted.push_back(std::move(entries[index]));
  }
  entries = std::move(sorted);
}

void RecordList::reset(RecordKind kind) {
  kind_ = kind;
  entries_.clear();
  path_.clear();
  modified_ = false;
  sort_ = {};
}

void RecordList::load(std::vector<RecordEntry> entries, const std::filesystem::path &path) {
  entries_ = std::move(entries);
  path_ = path;
  modified_ = false;
}

void RecordList::append(RecordEntry entry) {
  entries_.push_back(std::move(entry));
}

void RecordList::append(const std::vector<RecordEntry> &entries) {
  entries_.insert(entries_.end(), entries.begin(), entries.end());
}

std::string RecordList::caption(const StringTable &strings) const {
  return bound() ? path_.filename().string() : strings.text(sid::kNewMarkerRecord);
}

void RecordList::sortByColumn(std::size_t column) {
  if (sort_.column == column) {
    sort_.direction = sort_.direction == SortDirection::Ascending ? SortDirection::Descending
                                                                  : SortDirection::Ascending;
  } else {
    sort_.column = column;
    sort_.direction = SortDirection::Ascending;
  }
  sortEntries(entries_, kind_, column, sort_.direction);
  modified_ = true;
}

std::vector<std::size_t> RecordList::validSelection(const RecordSelection &selection) const {
  std::vector<std::size_t> rows;
  for (std::size_t index : selection) {
    if (index < entries_.size()) {
      rows.push_back(index);
    }
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void RecordList::setComment(const RecordSelection &selection, std::string_view text) {
  const auto rows = validSelection(selection);
  if (rows.empty()) {
    return;
  }
  const std::string comment(text.substr(0, kCommentBytes));
  for (std::size_t index : rows) {
    entries_[index].row.comment = comment;
  }
  modified_ = true;
}

std::vector<RecordEntry> RecordList::selected(const RecordSelection &selection) const {
  std::vector<RecordEntry> copies;
  for (std::size_t index : validSelection(selection)) {
    copies.push_back(entries_[index]);
  }
  return copies;
}

void RecordList::remove(const RecordSelection &selection) {
  const auto rows = validSelection(selection);
  if (rows.empty()) {
    return;
  }
  std::vector<RecordEntry> kept;
  kept.reserve(entries_.size() - rows.size());
  std::size_t next = 0;
  for (std::size_t index = 0; index < entries_.size(); ++index) {
    if (next < rows.size() && rows[next] == index) {
      ++next;
      continue;
    }
    kept.push_back(std::move(entries_[index]));
  }
  entries_ = std::move(kept);
  modified_ = true;
}

bool RecordClipboard::canPasteInto(RecordKind kind) const {
  return !entries_.empty() && cable_ == isCable(kind);
}

void RecordClipboard::copy(const RecordList &list, const RecordSelection &selection) {
  auto copies = list.selected(selection);
  if (copies.empty()) {
    return;
  }
  entries_ = std::move(copies);
  cable_ = isCable(list.kind());
}

void RecordClipboard::cut(RecordList &list, const RecordSelection &selection) {
  copy(list, selection);
  list.remove(selection);
}

void RecordClipboard::paste(RecordList &list) const {
  if (!canPasteInto(list.kind())) {
    return;
  }
  list.append(entries_);
  list.markModified();
}

} // namespace tarnwick
