#include "demo_tree.h"
#include "template_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

using testing::binary;
using testing::packBits;
using Bytes = std::vector<std::uint8_t>;

// Depth is code 7 index 6 (label "0000111 110" in 7 bits).
Glossary smallGlossary() {
  Glossary glossary;
  glossary.setEntry(7, 6, "Depth");
  glossary.setEntry(8, 5, "Date");
  glossary.setEntry(9, 1, "Svc Line");
  glossary.setEntry(21, 3, "Service Line");
  glossary.setUserEntries({"Crew ID"}, {"Night Crew"});
  return glossary;
}

const std::string kDepth7 = "0000111 110";

TemplateEncoding encode(const std::vector<TemplateRow> &rows, int width = 7,
                        DateOrder order = DateOrder::MonthDayYear,
                        TemplateKind kind = TemplateKind::Marker) {
  static const Glossary glossary = smallGlossary();
  return encodeTemplate(glossary, rows, width, order, kind);
}

int measure(const std::vector<TemplateRow> &rows, int width = 7) {
  static const Glossary glossary = smallGlossary();
  return measureTemplate(glossary, rows, width);
}

DecodedTemplate decode(const Bytes &bytes, TemplateKind kind = TemplateKind::Marker) {
  static const Glossary glossary = smallGlossary();
  return decodeTemplate(glossary, bytes, kind);
}

TEST(TemplateCodec, emptyTemplateIn7BitsIsOneZeroByteAndMeasuresNothing) {
  EXPECT_EQ(encode({}).bytes, (Bytes{0x00}));
  EXPECT_EQ(encode(std::vector<TemplateRow>(6)).bytes, (Bytes{0x00}));
  EXPECT_EQ(measure(std::vector<TemplateRow>(6)), 0);
  const DecodedTemplate decoded = decode({0x00});
  EXPECT_TRUE(decoded.rows.empty());
  EXPECT_EQ(decoded.width, 7);
}

TEST(TemplateCodec, emptyTemplateIn8BitsIsTheTenBitHeader) {
  // code 12 in 7 bits, then 1 in 3 bits: 0001100 001
  EXPECT_EQ(encode({}, 8).bytes, (Bytes{0x18, 0x40}));
  EXPECT_EQ(encode({}, 8).bits, 10U);
  EXPECT_EQ(measure({}, 8), 10);
  const DecodedTemplate decoded = decode({0x18, 0x40});
  EXPECT_TRUE(decoded.rows.empty());
  EXPECT_EQ(decoded.width, 8);
}

TEST(TemplateCodec, anyWidthOtherThan8Is7) {
  EXPECT_EQ(encode({}, 16).bytes, (Bytes{0x00}));
  EXPECT_EQ(measure({{"Depth", ""}}, 9), 10);
}

TEST(TemplateCodec, numberUpTo99IsWrittenAsCharacters) {
  const TemplateEncoding encoding = encode({{"Depth", "99"}});
  EXPECT_EQ(encoding.bytes, (Bytes{0x0F, 0x9C, 0xB9, 0x00})); // a full last byte adds a zero byte
  EXPECT_EQ(encoding.bits, 24U);
  EXPECT_EQ(measure({{"Depth", "99"}}), 24);
  EXPECT_EQ(decode(encoding.bytes).rows, (std::vector<TemplateRow>{{"Depth", "99"}}));
}

struct NumberCase {
  std::string digits;
  std::string tokenBits; // code character and value bits
  int measure;
};

TEST(TemplateCodec, numbersTakeTheSmallestCode) {
  const std::vector<NumberCase> cases = {
      {"100", "0000001" + binary(100, 10), 27},
      {"1023", "0000001" + binary(1023, 10), 27},
      {"1024", "0000010" + binary(1024, 14), 31},
      {"16383", "0000010" + binary(16383, 14), 31},
      {"16384", "0000011" + binary(16384, 20), 37},
      {"1048575", "0000011" + binary(1048575, 20), 37},
      {"1048576", "0000100" + binary(21, 6) + binary(1048576, 21), 44},
      {"9223372036854775807", "0000100" + binary(63, 6) + binary(9223372036854775807ULL, 63),
       10 + 7 + 6 + 63},
  };
  for (const NumberCase &c : cases) {
    const std::vector<TemplateRow> rows = {{"Depth", c.digits}};
    EXPECT_EQ(encode(rows, 7, DateOrder::MonthDayYear, TemplateKind::Trace).bytes,
              packBits(kDepth7 + c.tokenBits))
        << c.digits;
    EXPECT_EQ(measure(rows), c.measure) << c.digits;
    EXPECT_EQ(decode(encode(rows).bytes).rows, rows) << c.digits;
  }
}

TEST(TemplateCodec, zeroAndValuesOf2To63OrMoreAreTheText0) {
  for (const std::string digits :
       {"0", "000", "9223372036854775808", "18446744073709551615", "99999999999999999999999"}) {
    const std::vector<TemplateRow> rows = {{"Depth", digits}};
    EXPECT_EQ(encode(rows).bytes, packBits(kDepth7 + "0110000")) << digits;
    EXPECT_EQ(measure(rows), 17) << digits;
    EXPECT_EQ(decode(encode(rows).bytes).rows[0].description, "0");
  }
  // Leading zeros are not kept: the value is written.
  EXPECT_EQ(decode(encode({{"Depth", "007"}}).bytes).rows[0].description, "7");
  EXPECT_EQ(measure({{"Depth", "007"}}), 17);
}

TEST(TemplateCodec, dayMonthYearDateIsCode6WithDigitsReordered) {
  // 311299 (31 December 1999) is stored as 123199.
  const std::vector<TemplateRow> rows = {{"Date", "311299"}};
  const TemplateEncoding encoding = encode(rows, 7, DateOrder::DayMonthYear);
  EXPECT_EQ(encoding.bytes, packBits("0001000 101"
                                     "0000110" +
                                     binary(123199, 17)));
  EXPECT_EQ(binary(123199, 17), "11110000100111111");
  EXPECT_EQ(measure(rows), 34);
  const DecodedTemplate decoded = decode(encoding.bytes);
  EXPECT_EQ(decoded.rows, rows);
  EXPECT_EQ(decoded.dateOrder, DateOrder::DayMonthYear);
}

TEST(TemplateCodec, monthDayYearDateIsCode5) {
  const std::vector<TemplateRow> rows = {{"DATE", "061524"}};
  EXPECT_EQ(encode(rows).bytes, packBits("0001000 101"
                                         "0000101" +
                                         binary(61524, 17)));
  const DecodedTemplate decoded = decode(encode(rows).bytes);
  EXPECT_EQ(decoded.rows, (std::vector<TemplateRow>{{"Date", "061524"}}));
  EXPECT_EQ(decoded.dateOrder, DateOrder::MonthDayYear);
}

TEST(TemplateCodec, datesFrom123200AreDroppedButStillMeasured) {
  EXPECT_EQ(encode({{"Date", "123200"}}).bytes, packBits("0001000 101"));
  EXPECT_EQ(measure({{"Date", "123200"}}), 34);
  // 011399 day/month/year is 130199 as MMDDYY: dropped.
  EXPECT_EQ(encode({{"Date", "011399"}}, 7, DateOrder::DayMonthYear).bytes,
            packBits("0001000 101"));
}

TEST(TemplateCodec, aDateThatIsNotSixDigitsIs000000) {
  for (const std::string text : {"1299", "12/31/99", "1231999"}) {
    EXPECT_EQ(encode({{"Date", text}}).bytes, packBits("0001000 101"
                                                       "0000101" +
                                                       binary(0, 17)))
        << text;
    EXPECT_EQ(decode(encode({{"Date", text}}).bytes).rows[0].description, "000000");
  }
}

TEST(TemplateCodec, literalLabelCarriesItsLengthLessOne) {
  const std::string foo = "0001011 010" + binary('F', 7) + binary('o', 7) + binary('o', 7);
  EXPECT_EQ(encode({{"Foo", ""}}).bytes, packBits(foo));
  EXPECT_EQ(measure({{"Foo", ""}}), 7 + 3 + 21);
  EXPECT_EQ(decode(packBits(foo)).rows, (std::vector<TemplateRow>{{"Foo", ""}}));
  // At most eight characters go into the stream.
  const std::vector<TemplateRow> nine = {{"Abcdefghi", ""}};
  EXPECT_EQ(decode(encode(nine).bytes).rows[0].label, "Abcdefgh");
  EXPECT_EQ(measure(nine), 7 + 3 + 56);
}

TEST(TemplateCodec, anEmptyLabelBeforeADescriptionBecomesADot) {
  const std::vector<TemplateRow> rows = {{"", "Ab"}};
  EXPECT_EQ(encode(rows).bytes,
            packBits("0001011 000" + binary('.', 7) + binary('A', 7) + binary('b', 7)));
  EXPECT_EQ(measure(rows), 7 + 3 + 7 + 14);
  EXPECT_EQ(decode(encode(rows).bytes).rows, (std::vector<TemplateRow>{{".", "Ab"}}));
}

TEST(TemplateCodec, glossaryEntriesAreCodeAndIndex) {
  const std::vector<TemplateRow> rows = {{"svc line", "SERVICE LINE"}, {"Crew ID", "Night Crew"}};
  EXPECT_EQ(encode(rows).bytes, packBits("0001001 0001"
                                         "0010101 00011"
                                         "0011010 000"
                                         "0011100 0000"));
  EXPECT_EQ(measure(rows), 11 + 12 + 10 + 11);
  EXPECT_EQ(decode(encode(rows).bytes).rows,
            (std::vector<TemplateRow>{{"Svc Line", "Service Line"}, {"Crew ID", "Night Crew"}}));
}

TEST(TemplateCodec, eightBitWidthWritesWholeBytesAfterTheHeader) {
  const std::vector<TemplateRow> rows = {{"Depth", "\xE9t\xE9"}};
  EXPECT_EQ(encode(rows, 8).bytes, packBits("0001100 001"
                                            "00000111 110"
                                            "11101001"
                                            "01110100"
                                            "11101001"));
  EXPECT_EQ(measure(rows, 8), 10 + 11 + 24);
  const DecodedTemplate decoded = decode(encode(rows, 8).bytes);
  EXPECT_EQ(decoded.width, 8);
  EXPECT_EQ(decoded.rows, rows);
}

TEST(TemplateCodec, sevenBitWidthKeepsTheLowSevenBits) {
  // 0xE9 becomes 0x69 'i'; a character that would read back as a token code
  // (below 32 after masking) is written as '?'.
  EXPECT_EQ(encode({{"Depth", "\xE9\x85\x01z"}}).bytes,
            packBits(kDepth7 + binary(0x69, 7) + binary('?', 7) + binary('?', 7) + binary('z', 7)));
}

TEST(TemplateCodec, markerTemplatesKeepAtMost112Bytes) {
  std::vector<TemplateRow> rows;
  for (int i = 0; i < 6; ++i) {
    rows.push_back(
        {"Lbl" + std::string(5, static_cast<char>('a' + i)), "description #" + std::to_string(i)});
  }
  const TemplateEncoding trace = encode(rows, 7, DateOrder::MonthDayYear, TemplateKind::Trace);
  const TemplateEncoding marker = encode(rows, 7, DateOrder::MonthDayYear, TemplateKind::Marker);
  ASSERT_GT(trace.bytes.size(), 112U);
  EXPECT_EQ(trace.bytes.size(), trace.bits / 8 + 1);
  ASSERT_EQ(marker.bytes.size(), 112U);
  EXPECT_TRUE(std::equal(marker.bytes.begin(), marker.bytes.end(), trace.bytes.begin()));
  // A marker decode reads only the first 112 bytes of what it is given.
  EXPECT_EQ(decode(trace.bytes, TemplateKind::Marker).rows, decode(marker.bytes).rows);
  EXPECT_NE(decode(trace.bytes, TemplateKind::Trace).rows, decode(marker.bytes).rows);
  EXPECT_EQ(decode(trace.bytes, TemplateKind::Trace).rows, rows);
}

TEST(TemplateCodec, exactly112BytesOfBitsGetNoExtraByteInAMarkerTemplate) {
  // 11 + 60 * 7 + 10 + 65 * 7 = 896 bits.
  const std::vector<TemplateRow> rows = {{"Svc Line", std::string(60, 'x')},
                                         {"Depth", std::string(65, 'y')}};
  ASSERT_EQ(measure(rows), 896);
  const TemplateEncoding marker = encode(rows);
  EXPECT_EQ(marker.bits, 896U);
  EXPECT_EQ(marker.bytes.size(), 112U);
  EXPECT_EQ(encode(rows, 7, DateOrder::MonthDayYear, TemplateKind::Trace).bytes.size(), 113U);
  EXPECT_EQ(decode(marker.bytes).rows, rows);
}

TEST(TemplateCodec, decodingStopsAtUnknownCodesAndShortStreams) {
  EXPECT_TRUE(decode(packBits("0001101" + binary('x', 7))).rows.empty()); // 13 is no token
  EXPECT_TRUE(decode({}).rows.empty());
  // A label whose index is cut off.
  EXPECT_TRUE(decode({0x0E}).rows.empty());
  // Code 4 with a bit count longer than the stream.
  EXPECT_EQ(decode(packBits(kDepth7 + "0000100" + binary(63, 6) + "1")).rows,
            (std::vector<TemplateRow>{{"Depth", ""}}));
  // A description before any label gets an empty label.
  EXPECT_EQ(decode(packBits(binary('A', 7))).rows, (std::vector<TemplateRow>{{"", "A"}}));
}

TEST(TemplateCodec, contentEncodesItsRowsAndDecodeReportsTheWidth) {
  const Glossary glossary = smallGlossary();
  TemplateContent content(glossary);
  content.setWidth(8);
  content.setRows({"Depth", "Date"}, {"42", "010203"});
  content.setDateOrder(DateOrder::DayMonthYear);
  const Bytes bytes = content.encode(TemplateKind::Trace);
  EXPECT_EQ(content.measure(), 10 + 11 + 16 + 11 + 25);
  TemplateContent other(glossary);
  EXPECT_EQ(other.decode(bytes, TemplateKind::Trace), 8);
  EXPECT_EQ(other.labels(), (std::vector<std::string>{"Depth", "Date"}));
  EXPECT_EQ(other.descriptions(), (std::vector<std::string>{"42", "010203"}));
  EXPECT_EQ(other.dateOrder(), DateOrder::DayMonthYear);
}

// Random rows over the demo glossary: what decoding gives back is the
// glossary's spelling of found entries and the canonical form of numbers.
class RoundTrip {
public:
  explicit RoundTrip(const Glossary &glossary, int width)
      : glossary_(glossary), width_(width), labels_(glossary.listLabels()),
        descriptions_(glossary.listDescriptions()) {}

  std::vector<TemplateRow> randomRows(DateOrder order) {
    std::vector<TemplateRow> rows(pick(1, 6));
    for (TemplateRow &row : rows) {
      row.label = randomLabel();
      row.description = glossary_.isDateLabel(row.label) ? randomDate(order) : randomDescription();
    }
    return rows;
  }

  std::vector<TemplateRow> expected(const std::vector<TemplateRow> &rows) const {
    std::vector<TemplateRow> out;
    for (const TemplateRow &row : rows) {
      std::string label = row.label.empty() && !row.description.empty() ? "." : row.label;
      if (label.empty()) {
        continue;
      }
      const GlossaryMatch labelMatch = glossary_.findLabel(label);
      std::string description = row.description;
      const GlossaryMatch match = glossary_.findDescription(description);
      if (!description.empty() && !glossary_.isDateLabel(label) && match.found()) {
        description = glossary_.text(match.ref());
      }
      out.push_back({labelMatch.found() ? glossary_.text(labelMatch.ref()) : label, description});
    }
    return out;
  }

private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string randomText(int length, bool wide) {
    std::string text;
    for (int i = 0; i < length; ++i) {
      text += static_cast<char>(pick(32, wide ? 255 : 126));
    }
    return text;
  }

  std::string randomLabel() {
    switch (pick(0, 3)) {
    case 0:
      return "";
    case 1: {
      std::string text = randomText(pick(1, 8), width_ == 8);
      return glossary_.findLabel(text).found() ? "" : text;
    }
    default:
      return labels_[static_cast<std::size_t>(pick(0, static_cast<int>(labels_.size()) - 1))];
    }
  }

  std::string randomDescription() {
    switch (pick(0, 4)) {
    case 0:
      return "";
    case 1: {
      const int digits = pick(1, 14);
      std::string number(1, static_cast<char>('0' + pick(1, 9)));
      for (int i = 1; i < digits; ++i) {
        number += static_cast<char>('0' + pick(0, 9));
      }
      return number;
    }
    case 2: {
      std::string text = randomText(pick(1, 14), width_ == 8);
      const bool digits = text.find_first_not_of("0123456789") == std::string::npos;
      return digits || glossary_.findDescription(text).found() ? "x" + text.substr(1) : text;
    }
    default:
      return descriptions_[static_cast<std::size_t>(
          pick(0, static_cast<int>(descriptions_.size()) - 1))];
    }
  }

  std::string randomDate(DateOrder order) {
    const int month = pick(1, 12);
    const int day = pick(1, 31);
    const int year = pick(0, 99);
    const auto two = [](int value) {
      return std::string(1, static_cast<char>('0' + value / 10)) +
             static_cast<char>('0' + value % 10);
    };
    return order == DateOrder::DayMonthYear ? two(day) + two(month) + two(year)
                                            : two(month) + two(day) + two(year);
  }

  const Glossary &glossary_;
  int width_;
  std::vector<std::string> labels_;
  std::vector<std::string> descriptions_;
  std::mt19937 random_{20240615};
};

TEST(TemplateCodecRoundTrip, randomRowsOverTheDemoGlossaryComeBack) {
  const Glossary glossary = demoEnglishGlossary();
  for (int width : {7, 8}) {
    RoundTrip trip(glossary, width);
    for (int i = 0; i < 400; ++i) {
      const DateOrder order = i % 2 == 0 ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
      const std::vector<TemplateRow> rows = trip.randomRows(order);
      const TemplateEncoding encoding =
          encodeTemplate(glossary, rows, width, order, TemplateKind::Trace);
      const DecodedTemplate decoded = decodeTemplate(glossary, encoding.bytes, TemplateKind::Trace);
      ASSERT_EQ(decoded.rows, trip.expected(rows)) << "width " << width << " case " << i;
      EXPECT_EQ(decoded.width, width);
      EXPECT_EQ(static_cast<std::size_t>(measureTemplate(glossary, rows, width)), encoding.bits);
      EXPECT_EQ(encoding.bytes.size(), encoding.bits / 8 + 1);
    }
  }
}

} // namespace
} // namespace tarnwick
