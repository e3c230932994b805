#include "commands.h"
#include "eeprom_lines.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(EepromLines, fieldWithSpacesInFrontReadsAsItsDigit) {
  EXPECT_EQ(decodeErField("  7"), 7);
  EXPECT_EQ(decodeErField("    7"), 7);
}

TEST(EepromLines, spaceInTheTensPlaceCountsAsZero) {
  EXPECT_EQ(decodeErField("1 3"), 103);
  EXPECT_EQ(decodeErField("  1 3"), 103);
}

TEST(EepromLines, onlyTheLastThreeCharactersCount) {
  EXPECT_EQ(decodeErField("  255"), 255);
  EXPECT_EQ(decodeErField("99  0"), 0);
  EXPECT_EQ(decodeErField("     "), 0);
}

TEST(EepromLines, anythingButDigitsAndSpacesIsRefused) {
  EXPECT_EQ(decodeErField("  1x3"), std::nullopt);
  EXPECT_EQ(decodeErField("\n\r  7"), 7); // the skipped characters may be anything
  EXPECT_EQ(decodeErField("  \r12"), std::nullopt);
  EXPECT_EQ(decodeErField("12"), std::nullopt);
}

TEST(EepromLines, twoBytesMakeAWordHighFirst) {
  EXPECT_EQ(erWord(1, 44), 300);
  EXPECT_EQ(erWord(0, 0), 0);
  EXPECT_EQ(erWord(255, 255), 65535);
}

TEST(EepromLines, readLinesEndInOne) {
  EXPECT_EQ(erLine(54874, 2), cmd::kReadCableCount);
  EXPECT_EQ(erLine(54880, 384), "er 54880 384 1");
}

TEST(EepromLines, writeLinesCarryTheCountAndTheBytes) {
  EXPECT_EQ(ewLine(1, {0, 0}), cmd::kClearReadMarkers);
  EXPECT_EQ(ewLine(7, {0, 0}), cmd::kClearProgrammedMarkers);
  EXPECT_EQ(ewLine(54872, {0, 0, 0, 0}), cmd::kClearCableData);
  EXPECT_EQ(ewLine(100, {255, 1}), "ew 100 2 255 1");
}

} // namespace
} // namespace tarnwick
