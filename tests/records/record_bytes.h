// Records built field by field, as the receiver lays them out.
#pragma once

#include "record_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::testing {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes &bytes, std::size_t at, unsigned value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline void put32(Bytes &bytes, std::size_t at, std::uint32_t value) {
  put16(bytes, at, value >> 16);
  put16(bytes, at + 2, value & 0xFFFF);
}

struct Position {
  unsigned latitude = 0, latitudeFraction = 0, longitude = 0, longitudeFraction = 0;
};

struct MarkerFields {
  std::uint32_t serial = 0;
  int utility = 0; // 4 bits
  int style = 0;   // 4 bits
  int memoryType = 0;
  std::array<std::uint8_t, 6> date{};
  std::optional<Position> position;
  Bytes userData; // at most 112 bytes
};

inline Bytes markerRecord(const MarkerFields &f) {
  Bytes r(kMarkerRecordBytes, 0);
  put32(r, marker::kSerial, f.serial);
  r[marker::kCodes] = static_cast<std::uint8_t>(f.memoryType << 5 | (f.utility >> 3 & 1));
  r[marker::kStyle] = static_cast<std::uint8_t>((f.utility & 7) << 5 | (f.style & 0x0F) << 1);
  std::copy(f.userData.begin(), f.userData.end(), r.begin() + marker::kUserData);
  std::copy(f.date.begin(), f.date.end(), r.begin() + marker::kDate);
  if (f.position) {
    put16(r, marker::kPosition, f.position->latitude);
    put16(r, marker::kPosition + 2, f.position->latitudeFraction);
    put16(r, marker::kPosition + 4, f.position->longitude);
    put16(r, marker::kPosition + 6, f.position->longitudeFraction);
    r[marker::kGpsMark] = kGpsMarkByte;
  }
  r[6] = 0xA6; // bytes the program does not decode travel unchanged
  r[159] = 0x5F;
  return r;
}

inline Bytes serialRecord(std::uint32_t serial, int utility = 0) {
  MarkerFields fields;
  fields.serial = serial;
  fields.utility = utility;
  return markerRecord(fields);
}

struct CableFields {
  std::string seqId = "SEQ00001";
  std::uint32_t frequency = 0;
  std::uint32_t depth = 0;
  unsigned current = 0;
  std::array<std::uint8_t, 6> date{};
  std::optional<Position> position;
  Bytes userData;
};

inline Bytes cableRecord(const CableFields &f) {
  Bytes r(kCableRecordBytes, 0);
  std::copy(f.seqId.begin(), f.seqId.end(), r.begin());
  put32(r, cable::kFrequency, f.frequency);
  put32(r, cable::kDepth, f.depth);
  put16(r, cable::kCurrent, f.current);
  std::copy(f.userData.begin(), f.userData.end(), r.begin() + cable::kUserData);
  if (f.position) {
    put16(r, cable::kPosition, f.position->latitude);
    put16(r, cable::kPosition + 2, f.position->latitudeFraction);
    put16(r, cable::kPosition + 4, f.position->longitude);
    put16(r, cable::kPosition + 6, f.position->longitudeFraction);
    r[cable::kGpsMark] = kGpsMarkByte;
  }
  std::copy(f.date.begin(), f.date.end(), r.begin() + cable::kDate);
  r[180] = 0x77;
  return r;
}

// A record file: count, records, then the comment blocks.
inline Bytes recordFile(const std::vector<Bytes> &records,
                        const std::vector<std::string> &comments = {}) {
  Bytes file(4, 0);
  put32(file, 0, static_cast<std::uint32_t>(records.size()));
  for (const Bytes &record : records) {
    file.insert(file.end(), record.begin(), record.end());
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    Bytes block(kCommentBytes, 0);
    if (i < comments.size()) {
      std::copy(comments[i].begin(), comments[i].end(), block.begin());
    }
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

} // namespace tarnwick::testing
