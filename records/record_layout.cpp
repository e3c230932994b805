#include "record_layout.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr std::array<RecordKindInfo, 5> kKinds = {{
    {RecordKind::LegacyRead, "", kMarkerRecordBytes, "Read marker files (*.rmr)|*.rmr|",
     "Read marker files (*.rmr)|*.rmr|", "*.rmr", "*.rmr"},
    {RecordKind::LegacyProgrammed, "", kMarkerRecordBytes, "Programmed marker files (*.pgr)|*.pgr|",
     "Programmed marker files (*.pgr)|*.pgr|", "*.pgr", "*.pgr"},
    {RecordKind::ReadMarkers, "rmrx", kMarkerRecordBytes,
     "Read marker files (*.rmrx;*.rmr)|*.rmrx;*.rmr|", "Read marker files (*.rmrx)|*.rmrx|",
     "*.rmrx;*.rmr", "*.rmrx"},
    {RecordKind::ProgrammedMarkers, "pgrx", kMarkerRecordBytes,
     "Programmed marker files (*.pgrx;*.pgr)|*.pgrx;*.pgr|",
     "Programmed marker files (*.pgrx)|*.pgrx|", "*.pgrx;*.pgr", "*.pgrx"},
    {RecordKind::CableData, "cdrx", kCableRecordBytes, "Cable depth files *.cdrx|",
     "Cable depth files *.cdrx|", "*.cdrx", "*.cdrx"},
}};

void copyRange(std::span<const std::uint8_t> from, std::size_t first, std::size_t last,
               std::vector<std::uint8_t> &to, std::size_t at) {
  std::copy(from.begin() + static_cast<std::ptrdiff_t>(first),
            from.begin() + static_cast<std::ptrdiff_t>(last + 1),
            to.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace

const RecordKindInfo &kindInfo(RecordKind kind) {
  const auto index = static_cast<std::size_t>(kind);
  return kKinds[index < kKinds.size() ? index : static_cast<std::size_t>(RecordKind::ReadMarkers)];
}

bool isCable(RecordKind kind) {
  return kind == RecordKind::CableData;
}

RecordKind currentKind(RecordKind kind) {
  switch (kind) {
  case RecordKind::LegacyRead:
    return RecordKind::ReadMarkers;
  case RecordKind::LegacyProgrammed:
    return RecordKind::ProgrammedMarkers;
  default:
    return kind;
  }
}

void appendBigEndian32(std::vector<std::uint8_t> &out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift & 0xFF));
  }
}

std::vector<std::uint8_t> widenLegacyRecord(std::span<const std::uint8_t> legacy) {
  const std::vector<std::uint8_t> in = fitRecord(legacy, kLegacyMarkerRecordBytes);
  std::vector<std::uint8_t> out(kMarkerRecordBytes, 0);
  copyRange(in, 0, 7, out, 0);
  if (in[8] == 0) {
    copyRange(in, 8, 15, out, 128);
    copyRange(in, 40, 63, out, 136);
  } else {
    copyRange(in, 8, 31, out, 8);
    copyRange(in, 32, 63, out, 128);
  }
  return out;
}

std::vector<std::uint8_t> fitRecord(std::span<const std::uint8_t> bytes, std::size_t size) {
  std::vector<std::uint8_t> out(
      bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), size)));
  out.resize(size, 0);
  return out;
}

std::vector<std::uint8_t> markerRecordFromReply(std::span<const std::uint8_t> bytes,
                                                std::size_t recordSize) {
  return recordSize == kLegacyMarkerRecordBytes ? widenLegacyRecord(bytes)
                                                : fitRecord(bytes, kMarkerRecordBytes);
}

} // namespace tarnwick
