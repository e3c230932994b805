// The bit-packed encoding of template rows: the same bits go into ".utl"
// files, marker memory and the user data of records pulled off receivers.
// Every token starts with a code written as one character of the current
// width (7 or 8 bits); bits go most significant first.
#pragma once

#include "glossary.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

enum class TemplateKind : int { None = 0, Marker = 1, Trace = 2 };
enum class DateOrder : int { MonthDayYear = 0, DayMonthYear = 1 };

struct TemplateRow {
  std::string label;
  std::string description;
  bool operator==(const TemplateRow &) const = default;
};

namespace token {
inline constexpr int kEnd = 0;           // padding of the final byte
inline constexpr int kNumber10 = 1;      // then 10 bits
inline constexpr int kNumber14 = 2;      // then 14 bits
inline constexpr int kNumber20 = 3;      // then 20 bits
inline constexpr int kNumberN = 4;       // then 6 bits n (20..63), then n bits
inline constexpr int kDateMdy = 5;       // then 17 bits MMDDYY
inline constexpr int kDateDmy = 6;       // then 17 bits MMDDYY, shown as DDMMYY
inline constexpr int kLiteralLabel = 11; // then 3 bits length-1, then the characters
inline constexpr int kWideHeader = 12;   // only first, in 7 bits, then 3 bits holding 1
inline constexpr int kFirstCharacter = 32;
inline constexpr int kDateBits = 17;
inline constexpr int kHeaderBits = 10;
} // namespace token

inline constexpr std::size_t kMarkerTemplateBytes = 112; // an extended marker's user memory
inline constexpr std::uint32_t kDateLimit = 123200;      // dates from here on are dropped

// Any width other than 8 is 7.
constexpr int normalisedWidth(int width) {
  return width == 8 ? 8 : 7;
}

struct TemplateEncoding {
  std::vector<std::uint8_t> bytes;
  std::size_t bits = 0; // bits written before the final byte was appended
};

struct DecodedTemplate {
  std::vector<TemplateRow> rows; // the non-empty rows, in order
  int width = 7;                 // 8 when the stream starts with the header
  DateOrder dateOrder = DateOrder::MonthDayYear;
};

TemplateEncoding encodeTemplate(const Glossary &glossary, const std::vector<TemplateRow> &rows,
                                int width, DateOrder order, TemplateKind kind);
// Marker templates use only the first 112 bytes. Decoding stops at the end
// code, at an unknown code or when the bits run out.
DecodedTemplate decodeTemplate(const Glossary &glossary, std::span<const std::uint8_t> bytes,
                               TemplateKind kind);
// Bits the encoding takes (the memory accounting); a date row counts its 17
// bits even when the date is dropped.
int measureTemplate(const Glossary &glossary, const std::vector<TemplateRow> &rows, int width);

// The content one editor works on.
class TemplateContent {
public:
  explicit TemplateContent(const Glossary &glossary) : glossary_(&glossary) {}

  void setRows(const std::vector<std::string> &labels,
               const std::vector<std::string> &descriptions);
  void setRows(std::vector<TemplateRow> rows) { rows_ = std::move(rows); }
  const std::vector<TemplateRow> &rows() const { return rows_; }
  std::vector<std::string> labels() const;
  std::vector<std::string> descriptions() const;

  void setWidth(int width) { width_ = normalisedWidth(width); }
  int width() const { return width_; }
  void setDateOrder(DateOrder order) { dateOrder_ = order; }
  DateOrder dateOrder() const { return dateOrder_; }
  void setGlossary(const Glossary &glossary) { glossary_ = &glossary; }

  const std::vector<std::uint8_t> &encode(TemplateKind kind);
  const std::vector<std::uint8_t> &bytes() const { return bytes_; }
  // Replaces the rows and the date order; returns the width found.
  int decode(std::span<const std::uint8_t> bytes, TemplateKind kind);
  int measure() const { return measureTemplate(*glossary_, rows_, width_); }

private:
  const Glossary *glossary_;
  std::vector<TemplateRow> rows_;
  int width_ = 7;
  DateOrder dateOrder_ = DateOrder::MonthDayYear;
  std::vector<std::uint8_t> bytes_;
};

} // namespace tarnwick
