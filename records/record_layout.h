// The record layouts the receiver sends and record files store, and the
// three record kinds with what differs between them.
#pragma once

#include "string_ids.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tarnwick {

enum class RecordKind : int {
  LegacyRead = 0,       // ".rmr" files only
  LegacyProgrammed = 1, // ".pgr" files only
  ReadMarkers = 2,
  ProgrammedMarkers = 3,
  CableData = 4,
};

inline constexpr std::size_t kMarkerRecordBytes = 160;
inline constexpr std::size_t kLegacyMarkerRecordBytes = 64;
inline constexpr std::size_t kCableRecordBytes = 192;
inline constexpr std::size_t kCommentBytes = 120;
inline constexpr std::size_t kRecordFileHeaderBytes = 4;
// The largest file the receivers fill: 17,500 marker records without comments.
inline constexpr std::size_t kLargestRecordFileBytes = 2'800'004;

// Where the fields of a MarkerRecord lie.
namespace marker {
inline constexpr std::size_t kSerial = 0;   // 4 bytes, 0: no electronic ID marker
inline constexpr std::size_t kCodes = 4;    // bit 0 utility high bit, bits 7-5 memory type
inline constexpr std::size_t kStyle = 5;    // bits 7-5 utility low bits, bits 4-1 style
inline constexpr std::size_t kUserData = 8; // 112 bytes of template encoding
inline constexpr std::size_t kUserDataBytes = 112;
inline constexpr std::size_t kDate = 128;     // month, day, year, hour, minute, second
inline constexpr std::size_t kPosition = 136; // latitude, fraction, longitude, fraction
inline constexpr std::size_t kGpsMark = 158;  // "$" when the position is valid
} // namespace marker

namespace cable {
inline constexpr std::size_t kSeqId = 0; // 8 characters
inline constexpr std::size_t kSeqIdBytes = 8;
inline constexpr std::size_t kFrequency = 8; // 1/256 Hz
inline constexpr std::size_t kDepth = 12;    // 1/256 inch
inline constexpr std::size_t kCurrent = 16;  // mA
inline constexpr std::size_t kUserData = 18; // 144 bytes of template encoding
inline constexpr std::size_t kUserDataBytes = 144;
inline constexpr std::size_t kPosition = 162;
inline constexpr std::size_t kDate = 170;
inline constexpr std::size_t kGpsMark = 191;
} // namespace cable

inline constexpr std::uint8_t kGpsMarkByte = '$';

// What differs between the kinds.
struct RecordKindInfo {
  RecordKind kind;
  std::string_view extension; // written; empty for the legacy kinds
  std::size_t recordBytes;    // in memory and in the files written
  std::string_view openFilter;
  std::string_view saveFilter;
  std::string_view openPattern;
  std::string_view savePattern;
};

const RecordKindInfo &kindInfo(RecordKind kind);
bool isCable(RecordKind kind);

// The kind's list layout: the legacy kinds are their current kinds.
RecordKind currentKind(RecordKind kind);

// Bytes 0-3, 16 or 32 bits, big-endian.
inline std::uint32_t bigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}
inline std::uint16_t bigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}
void appendBigEndian32(std::vector<std::uint8_t> &out, std::uint32_t value);

// A 64-byte legacy record widened to 160 bytes, the user data and the date
// moved to their places.
std::vector<std::uint8_t> widenLegacyRecord(std::span<const std::uint8_t> legacy);
// Padded with zeros or cut to size.
std::vector<std::uint8_t> fitRecord(std::span<const std::uint8_t> bytes, std::size_t size);
// What the receiver sent in a record of recordSize bytes, as a MarkerRecord:
// 64 bytes widened, anything else padded or cut to 160.
std::vector<std::uint8_t> markerRecordFromReply(std::span<const std::uint8_t> bytes,
                                                std::size_t recordSize);

} // namespace tarnwick
