#include "demo_templates.h"
#include "record_bytes.h"
#include "record_row.h"
#include "record_upload.h"
#include "template_codec.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using namespace testing;

const Glossary &glossary() {
  static const Glossary g = demoEnglishGlossary();
  return g;
}

struct PositionCase {
  unsigned latitude, latitudeFraction, longitude, longitudeFraction;
  std::string latitudeText, longitudeText;
};

TEST(RecordDecode, positionTexts) {
  const PositionCase cases[] = {
      {4550, 1234, 10000, 0, "45 Deg 50.1234 Min N", "100 Deg 00.0000 Min E"},
      {13470, 0, 10000, 0, "45 Deg 30.0000 Min S", "100 Deg 00.0000 Min E"},
      {9000, 0, 18000, 9999, "90 Deg 00.0000 Min N", "180 Deg 00.9999 Min E"},
      {9001, 5, 18001, 1, "89 Deg 99.0005 Min S", "179 Deg 99.0001 Min W"},
      {0, 0, 27170, 42, "00 Deg 00.0000 Min N", "088 Deg 30.0042 Min W"},
  };
  for (const PositionCase &c : cases) {
    EXPECT_EQ(latitudeText(static_cast<std::uint16_t>(c.latitude),
                           static_cast<std::uint16_t>(c.latitudeFraction)),
              c.latitudeText);
    EXPECT_EQ(longitudeText(static_cast<std::uint16_t>(c.longitude),
                            static_cast<std::uint16_t>(c.longitudeFraction)),
              c.longitudeText);
  }
}

TEST(RecordDecode, positionOnlyWithTheDollarMark) {
  MarkerFields fields;
  fields.serial = 7;
  RecordRow row = decodeMarkerRecord(markerRecord(fields), glossary());
  EXPECT_EQ(row.latitude, "");
  EXPECT_EQ(row.longitude, "");
  fields.position = Position{4550, 1234, 10000, 0};
  row = decodeMarkerRecord(markerRecord(fields), glossary());
  EXPECT_EQ(row.latitude, "45 Deg 50.1234 Min N");
}

TEST(RecordDecode, dateTexts) {
  struct Case {
    std::array<std::uint8_t, 6> bytes;
    bool cable;
    std::string text;
  };
  const Case cases[] = {
      {{5, 17, 24, 14, 3, 9}, false, "05/17/24 14:03:09 M/D/Y"},
      {{12, 31, 99, 24, 60, 60}, false, "12/31/99 24:60:60 M/D/Y"},
      {{13, 1, 24, 0, 0, 0}, false, ""},
      {{1, 32, 24, 0, 0, 0}, false, ""},
      {{1, 1, 100, 0, 0, 0}, false, ""},
      {{1, 1, 1, 25, 0, 0}, false, ""},
      {{1, 1, 1, 0, 61, 0}, false, ""},
      {{1, 1, 1, 0, 0, 61}, false, ""},
      {{0, 0, 0, 0, 0, 0}, false, "00/00/00 00:00:00 M/D/Y"},
      {{0, 0, 0, 0, 0, 0}, true, ""},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(dateTimeText(c.bytes, c.cable), c.text);
  }
}

TEST(RecordDecode, markerTextsAndSerialZero) {
  MarkerFields gas;
  gas.serial = 1234567890;
  gas.utility = 2;
  gas.style = 2;
  gas.memoryType = 5;
  const RecordRow row = decodeMarkerRecord(markerRecord(gas), glossary());
  EXPECT_EQ(row.serial, "123-456-7890");
  EXPECT_EQ(row.utility, "GAS");
  EXPECT_EQ(row.style, "Ball");
  EXPECT_EQ(row.code, "5");

  MarkerFields none = gas;
  none.serial = 0;
  const RecordRow zero = decodeMarkerRecord(markerRecord(none), glossary());
  EXPECT_EQ(zero.serial, "000-000-0000");
  EXPECT_EQ(zero.utility, "Not an Tq Marker");
  EXPECT_EQ(zero.style, " ");

  const std::pair<int, const char *> utilities[] = {{8, "CE PWR"}, {9, ""}, {15, ""}};
  for (const auto &[code, text] : utilities) {
    EXPECT_EQ(utilityText(code), text);
  }
  EXPECT_EQ(styleText(4), "Full Range");
  EXPECT_EQ(styleText(5), "");
}

TEST(RecordDecode, userDataWithTheTemplateCodec) {
  MarkerFields fields;
  fields.serial = 1;
  fields.userData = encodeTemplate(glossary(), {{"Owner", "City"}, {"Material", "PVC"}}, 7,
                                   DateOrder::MonthDayYear, TemplateKind::Marker)
                        .bytes;
  const RecordRow row = decodeMarkerRecord(markerRecord(fields), glossary());
  EXPECT_EQ(row.pairText(0), "Owner : City");
  EXPECT_EQ(row.pairText(1), "Material : PVC");
  EXPECT_EQ(row.pairText(2), "");
}

TEST(RecordDecode, cableTexts) {
  CableFields fields;
  fields.frequency = 512 * 256 + 127; // rounds down
  fields.depth = 36 * 256 + 255;      // 36.99... floored to hundredths
  fields.current = 65535;
  const RecordRow row = decodeCableRecord(cableRecord(fields), glossary());
  EXPECT_EQ(row.seqId, "SEQ00001");
  EXPECT_EQ(row.frequency, "512");
  EXPECT_EQ(row.depth, "36.990000");
  EXPECT_EQ(row.current, "65535");
  EXPECT_EQ(row.dateTime, "");
  EXPECT_EQ(frequencyText(512 * 256 + 128), "513");
  // The product wraps at 32 bits.
  EXPECT_EQ(depthText(0x0FFFFFFF),
            depthText(static_cast<std::uint32_t>(0x0FFFFFFFu * 100u) / 100u));
}

TEST(RecordDecode, legacyRecordsWidenBothWays) {
  Bytes legacy(kLegacyMarkerRecordBytes);
  for (std::size_t i = 0; i < legacy.size(); ++i) {
    legacy[i] = static_cast<std::uint8_t>(i + 1);
  }
  // Byte 8 not 0: user data 8-31 kept, 32-63 go to 128-159.
  Bytes wide = widenLegacyRecord(legacy);
  ASSERT_EQ(wide.size(), kMarkerRecordBytes);
  EXPECT_EQ(Bytes(wide.begin(), wide.begin() + 32), Bytes(legacy.begin(), legacy.begin() + 32));
  EXPECT_EQ(Bytes(wide.begin() + 32, wide.begin() + 128), Bytes(96, 0));
  EXPECT_EQ(Bytes(wide.begin() + 128, wide.end()), Bytes(legacy.begin() + 32, legacy.end()));
  // Byte 8 is 0: no user data, 8-15 to 128-135, 40-63 to 136-159.
  legacy[8] = 0;
  wide = widenLegacyRecord(legacy);
  EXPECT_EQ(Bytes(wide.begin(), wide.begin() + 8), Bytes(legacy.begin(), legacy.begin() + 8));
  EXPECT_EQ(Bytes(wide.begin() + 8, wide.begin() + 128), Bytes(120, 0));
  EXPECT_EQ(Bytes(wide.begin() + 128, wide.begin() + 136),
            Bytes(legacy.begin() + 8, legacy.begin() + 16));
  EXPECT_EQ(Bytes(wide.begin() + 136, wide.end()), Bytes(legacy.begin() + 40, legacy.end()));
}

TEST(RecordDecode, replyRecordsBySize) {
  Bytes longer(200, 0x11);
  EXPECT_EQ(markerRecordFromReply(longer, 200), Bytes(160, 0x11));
  Bytes shorter(100, 0x22);
  Bytes padded(160, 0);
  std::fill(padded.begin(), padded.begin() + 100, 0x22);
  EXPECT_EQ(markerRecordFromReply(shorter, 100), padded);
  EXPECT_EQ(markerRecordFromReply(Bytes(64, 0x33), 64).size(), kMarkerRecordBytes);
}

TEST(RecordDecode, missingByteDiagnostic) {
  const Bytes received = {1, 2, 3, 4, 5, 6, 7, 8, 255};
  EXPECT_EQ(missingByteDiagnostic(3, received), "Index-> 3\nData->\n1 2 3 4 5 6 7 8 \n255 ");
  EXPECT_EQ(missingByteDiagnostic(0, {}), "Index-> 0\nData->\n");
}

TEST(RecordDecode, cableDumpWithRowBreaks) {
  // Sixteen fields a row, rows ended LF CR, as the receiver dumps.
  std::string dump;
  for (int i = 0; i < 192; ++i) {
    if (i != 0 && i % 16 == 0) {
      dump += "\n\r";
    }
    char field[8];
    std::snprintf(field, sizeof field, "  %3d", i);
    dump += field;
  }
  const Bytes bytes(dump.begin(), dump.end());
  const auto records = decodeCableUpload(bytes, 1);
  ASSERT_EQ(records.size(), 1U);
  for (int i = 0; i < 192; ++i) {
    EXPECT_EQ(records[0][static_cast<std::size_t>(i)], i);
  }
}

} // namespace
} // namespace tarnwick
