#include "record_columns.h"

namespace tarnwick {

namespace {

using F = RecordField;

constexpr RecordColumn kMarkerColumns[] = {
    {F::Serial, sid::kSerialIdHeader, 100},
    {F::Utility, sid::kFreqHeader, 65},
    {F::Style, sid::kTypeHeader, 65},
    {F::DateTime, sid::kDateTimeHeader, 120},
    {F::Comment, sid::kCommentsHeader, kDefaultColumnWidth},
    {F::Latitude, sid::kLatitudeHeader, kDefaultColumnWidth},
    {F::Longitude, sid::kLongitudeHeader, kDefaultColumnWidth},
    {F::Pair1, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair2, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair3, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair4, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair5, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair6, sid::kUserDataHeader, kDefaultColumnWidth},
};

constexpr RecordColumn kCableColumns[] = {
    {F::SeqId, sid::kSeqIdHeader, 100},
    {F::Frequency, sid::kFreqHeader, 65},
    {F::Depth, sid::kDepthHeader, 65},
    {F::Current, sid::kCurrentHeader, 65},
    {F::DateTime, sid::kDateTimeHeader, 120},
    {F::Comment, sid::kCommentsHeader, kDefaultColumnWidth},
    {F::Latitude, sid::kLatitudeHeader, kDefaultColumnWidth},
    {F::Longitude, sid::kLongitudeHeader, kDefaultColumnWidth},
    {F::Pair1, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair2, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair3, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair4, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair5, sid::kUserDataHeader, kDefaultColumnWidth},
    {F::Pair6, sid::kUserDataHeader, kDefaultColumnWidth},
};

} // namespace

std::span<const RecordColumn> recordColumns(RecordKind kind) {
  if (isCable(kind)) {
    return kCableColumns;
  }
  return kMarkerColumns;
}

std::string fieldText(const RecordRow &row, RecordField field) {
  switch (field) {
  case F::Serial:
    return row.serial;
  case F::Utility:
    return row.utility;
  case F::Style:
    return row.style;
  case F::SeqId:
    return row.seqId;
  case F::Frequency:
    return row.frequency;
  case F::Depth:
    return row.depth;
  case F::Current:
    return row.current;
  case F::DateTime:
    return row.dateTime;
  case F::Comment:
    return row.comment;
  case F::Latitude:
    return row.latitude;
  case F::Longitude:
    return row.longitude;
  case F::Pair1:
  case F::Pair2:
  case F::Pair3:
  case F::Pair4:
  case F::Pair5:
  case F::Pair6:
    return row.pairText(static_cast<std::size_t>(field) - static_cast<std::size_t>(F::Pair1));
  }
  return {};
}

std::string columnText(const RecordRow &row, RecordKind kind, std::size_t column) {
  const auto columns = recordColumns(kind);
  return column < columns.size() ? fieldText(row, columns[column].field) : std::string();
}

} // namespace tarnwick
