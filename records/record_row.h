// A record decoded into the texts the list shows and the exports write.
#pragma once

#include "glossary.h"
#include "record_layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tarnwick {

inline constexpr std::size_t kShownPairs = 6;   // the list's user-data columns
inline constexpr std::size_t kDecodedPairs = 8; // Data1 to Data8 of the export

struct UserDataPair {
  std::string label;
  std::string description;
  bool operator==(const UserDataPair &) const = default;
};

struct RecordRow {
  // Marker records.
  std::string serial;  // "000-000-0000"
  std::string code;    // the marker memory type, kept but not shown
  std::string utility; // "GAS", or "Not an Tq Marker" for serial 0
  std::string style;   // "Ball", or " " for serial 0
  // Cable records.
  std::string seqId;
  std::string frequency; // whole hertz
  std::string depth;     // inches, six decimals
  std::string current;   // mA
  // Both.
  std::string dateTime; // "MM/DD/YY HH:MM:SS M/D/Y" or empty
  std::string latitude; // "45 Deg 50.1234 Min N" or empty
  std::string longitude;
  std::string comment;
  std::array<UserDataPair, kDecodedPairs> pairs; // empty where the user data has fewer

  // Label, " : ", description; empty when both are empty. index from 0.
  std::string pairText(std::size_t index) const;
  bool operator==(const RecordRow &) const = default;
};

// Any length: padded with zeros or cut to 160 (a marker) or 192 (a cable record).
RecordRow decodeMarkerRecord(std::span<const std::uint8_t> bytes, const Glossary &glossary);
RecordRow decodeCableRecord(std::span<const std::uint8_t> bytes, const Glossary &glossary);
RecordRow decodeRecord(RecordKind kind, std::span<const std::uint8_t> bytes,
                       const Glossary &glossary);

// The texts one at a time.
std::string serialText(std::uint32_t serial);
std::string utilityText(int code);
std::string styleText(int code);
// Empty when a byte is out of range; cable records are also empty when all six are 0.
std::string dateTimeText(std::span<const std::uint8_t, 6> bytes, bool isCable);
std::string latitudeText(std::uint16_t value, std::uint16_t fraction);
std::string longitudeText(std::uint16_t value, std::uint16_t fraction);
std::string depthText(std::uint32_t value);
std::string frequencyText(std::uint32_t value);

} // namespace tarnwick
