// The record list view's columns: what each shows, its title and width. The
// dialog and `records show` read the same table.
#pragma once

#include "record_layout.h"
#include "record_row.h"
#include "string_ids.h"

#include <span>
#include <string>

namespace tarnwick {

enum class RecordField {
  Serial,
  Utility,
  Style,
  SeqId,
  Frequency,
  Depth,
  Current,
  DateTime,
  Comment,
  Latitude,
  Longitude,
  Pair1,
  Pair2,
  Pair3,
  Pair4,
  Pair5,
  Pair6,
};

inline constexpr int kDefaultColumnWidth = 0; // the view's own default

struct RecordColumn {
  RecordField field;
  StringId title;
  int width;
};

// Thirteen columns for the marker kinds, fourteen for cable records.
std::span<const RecordColumn> recordColumns(RecordKind kind);

std::string fieldText(const RecordRow &row, RecordField field);
// Empty for a column the kind does not have.
std::string columnText(const RecordRow &row, RecordKind kind, std::size_t column);

} // namespace tarnwick
