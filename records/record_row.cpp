#include "record_row.h"

#include "template_codec.h"

#include <algorithm>
#include <cstdio>

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, 9> kUtilities = {"GP",  "COM", "GAS", "TEL",   "W/W",
                                                        "WTR", "PWR", "IDF", "CE PWR"};
constexpr std::array<std::string_view, 5> kStyles = {"Near Surface", "Disc", "Ball", "Mini",
                                                     "Full Range"};
constexpr std::string_view kNoSerial = "000-000-0000";
constexpr std::string_view kNotAMarker = "Not an Tq Marker";

// As printf's "%0<width>d": the sign counts in the width.
std::string zeroPadded(long long value, std::size_t width) {
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -value : value);
  const std::size_t room = negative && width > 0 ? width - 1 : width;
  if (digits.size() < room) {
    digits.insert(0, room - digits.size(), '0');
  }
  return negative ? "-" + digits : digits;
}

// "<first digits> Deg <last two>.<fraction> Min <hemisphere>"
std::string positionText(int folded, std::size_t width, std::size_t degreeDigits,
                         std::uint16_t fraction, char hemisphere) {
  const std::string digits = zeroPadded(folded, width);
  const std::size_t tail = std::min<std::size_t>(2, digits.size());
  return digits.substr(0, std::min(degreeDigits, digits.size())) + " Deg " +
         digits.substr(digits.size() - tail) + "." + zeroPadded(fraction, 4) + " Min " + hemisphere;
}

void decodeUserData(RecordRow &row, std::span<const std::uint8_t> bytes, TemplateKind kind,
                    const Glossary &glossary) {
  const DecodedTemplate decoded = decodeTemplate(glossary, bytes, kind);
  const std::size_t count = std::min(decoded.rows.size(), row.pairs.size());
  for (std::size_t i = 0; i < count; ++i) {
    row.pairs[i] = {decoded.rows[i].label, decoded.rows[i].description};
  }
}

void decodePosition(RecordRow &row, std::span<const std::uint8_t> record, std::size_t at) {
  row.latitude = latitudeText(bigEndian16(record, at), bigEndian16(record, at + 2));
  row.longitude = longitudeText(bigEndian16(record, at + 4), bigEndian16(record, at + 6));
}

std::span<const std::uint8_t, 6> dateBytes(std::span<const std::uint8_t> record, std::size_t at) {
  return record.subspan(at).first<6>();
}

} // namespace

std::string RecordRow::pairText(std::size_t index) const {
  if (index >= pairs.size() || (pairs[index].label.empty() && pairs[index].description.empty())) {
    return {};
  }
  return pairs[index].label + " : " + pairs[index].description;
}

std::string serialText(std::uint32_t serial) {
  const std::string digits = zeroPadded(serial, 10);
  return digits.substr(0, 3) + "-" + digits.substr(3, 3) + "-" + digits.substr(6);
}

std::string utilityText(int code) {
  return code >= 0 && static_cast<std::size_t>(code) < kUtilities.size()
             ? std::string(kUtilities[static_cast<std::size_t>(code)])
             : std::string();
}

std::string styleText(int code) {
  return code >= 0 && static_cast<std::size_t>(code) < kStyles.size()
             ? std::string(kStyles[static_cast<std::size_t>(code)])
             : std::string();
}

std::string dateTimeText(std::span<const std::uint8_t, 6> b, bool isCable) {
  const bool inRange = b[0] < 13 && b[1] < 32 && b[2] < 100 && b[3] < 25 && b[4] < 61 && b[5] < 61;
  const bool allZero = std::all_of(b.begin(), b.end(), [](std::uint8_t v) { return v == 0; });
  if (!inRange || (isCable && allZero)) {
    return {};
  }
  return zeroPadded(b[0], 2) + "/" + zeroPadded(b[1], 2) + "/" + zeroPadded(b[2], 2) + " " +
         zeroPadded(b[3], 2) + ":" + zeroPadded(b[4], 2) + ":" + zeroPadded(b[5], 2) + " M/D/Y";
}

std::string latitudeText(std::uint16_t value, std::uint16_t fraction) {
  const bool south = value > 9000;
  const int folded = south ? 18000 - int{value} : int{value};
  return positionText(folded, 4, 2, fraction, south ? 'S' : 'N');
}

std::string longitudeText(std::uint16_t value, std::uint16_t fraction) {
  const bool west = value > 18000;
  const int folded = west ? 36000 - int{value} : int{value};
  return positionText(folded, 5, 3, fraction, west ? 'W' : 'E');
}

// floor(value × 100 / 256) × 0.01, the product wrapping at 32 bits.
std::string depthText(std::uint32_t value) {
  const std::uint32_t hundredths = static_cast<std::uint32_t>(value * 100U) / 256U;
  char text[48];
  std::snprintf(text, sizeof text, "%f", hundredths * 0.01);
  return text;
}

std::string frequencyText(std::uint32_t value) {
  return std::to_string((std::uint64_t{value} + 128) >> 8);
}

RecordRow decodeMarkerRecord(std::span<const std::uint8_t> bytes, const Glossary &glossary) {
  const std::vector<std::uint8_t> record = fitRecord(bytes, kMarkerRecordBytes);
  RecordRow row;
  const std::uint32_t serial = bigEndian32(record, marker::kSerial);
  const std::uint8_t codes = record[marker::kCodes];
  const std::uint8_t styleByte = record[marker::kStyle];
  row.serial = serialText(serial);
  row.code = std::to_string(codes >> 5);
  const bool noMarker = row.serial == kNoSerial;
  row.utility =
      noMarker ? std::string(kNotAMarker) : utilityText((codes & 1) << 3 | styleByte >> 5);
  row.style = serial == 0 ? std::string(" ") : styleText(styleByte >> 1 & 0x0F);
  decodeUserData(row, std::span(record).subspan(marker::kUserData, marker::kUserDataBytes),
                 TemplateKind::Marker, glossary);
  row.dateTime = dateTimeText(dateBytes(record, marker::kDate), false);
  if (record[marker::kGpsMark] == kGpsMarkByte) {
    decodePosition(row, record, marker::kPosition);
  }
  return row;
}

RecordRow decodeCableRecord(std::span<const std::uint8_t> bytes, const Glossary &glossary) {
  const std::vector<std::uint8_t> record = fitRecord(bytes, kCableRecordBytes);
  RecordRow row;
  const auto seq = std::span(record).first(cable::kSeqIdBytes);
  row.seqId.assign(seq.begin(), std::find(seq.begin(), seq.end(), 0));
  row.frequency = frequencyText(bigEndian32(record, cable::kFrequency));
  row.depth = depthText(bigEndian32(record, cable::kDepth));
  row.current = std::to_string(bigEndian16(record, cable::kCurrent));
  decodeUserData(row, std::span(record).subspan(cable::kUserData, cable::kUserDataBytes),
                 TemplateKind::Trace, glossary);
  row.dateTime = dateTimeText(dateBytes(record, cable::kDate), true);
  if (record[cable::kGpsMark] == kGpsMarkByte) {
    decodePosition(row, record, cable::kPosition);
  }
  return row;
}

RecordRow decodeRecord(RecordKind kind, std::span<const std::uint8_t> bytes,
                       const Glossary &glossary) {
  return isCable(kind) ? decodeCableRecord(bytes, glossary) : decodeMarkerRecord(bytes, glossary);
}

} // namespace tarnwick
