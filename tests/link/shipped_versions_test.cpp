#include "shipped_versions.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnwick {
namespace {

using testing::TempFolder;

ShippedVersions parse(const std::string &text) {
  std::istringstream in(text);
  return ShippedVersions::read(in);
}

TEST(ShippedVersions, valueIsTheNumberBetweenEqualsAndDot) {
  EXPECT_EQ(versionFromLine("label=12.0"), 12);
  EXPECT_EQ(versionFromLine("name=23.0"), 23);
  EXPECT_EQ(versionFromLine("A = 7.5"), 7);
  EXPECT_EQ(versionFromLine("x=3.1.2"), 3);
}

TEST(ShippedVersions, aLineWithoutDotIsZero) {
  EXPECT_EQ(versionFromLine("label=12"), 0);
  EXPECT_EQ(versionFromLine(""), 0);
  EXPECT_EQ(versionFromLine("12.0"), 0);     // no "="
  EXPECT_EQ(versionFromLine("v.2=12.0"), 0); // "." before "="
  EXPECT_EQ(versionFromLine("a=.5"), 0);
}

TEST(ShippedVersions, firstLineLabel12GivesTwelveForTheFirstFamily) {
  const auto versions = parse("label=12.0\r\n");
  EXPECT_EQ(versions.version(VersionSlot::A), 12);
  EXPECT_EQ(versions.version(VersionSlot::B), 0);
}

TEST(ShippedVersions, eightLinesFillTheSlotsInOrder) {
  const auto versions = parse("A=1.0\r\nB=2.0\r\nC=3.0\r\nD=4.0\r\nE=5.0\r\nF=6.0\r\nG=7.0\r\n"
                              "H=8.0\r\nI=9.0\r\n");
  for (int slot = 0; slot < kVersionSlotCount; ++slot) {
    EXPECT_EQ(versions.version(static_cast<VersionSlot>(slot)), slot + 1);
  }
}

TEST(ShippedVersions, lastCharacterOfEachLineIsDropped) {
  std::istringstream in("A=12.0\r\nB=5.\nC=9");
  std::string line;
  ASSERT_TRUE(readVersionLine(in, line));
  EXPECT_EQ(line, "A=12.0\r");
  ASSERT_TRUE(readVersionLine(in, line));
  EXPECT_EQ(line, "B=5.");
  ASSERT_TRUE(readVersionLine(in, line));
  EXPECT_EQ(line, "C="); // the final line had no line feed: its digit goes
  EXPECT_FALSE(readVersionLine(in, line));
  // A last line without line feed still reads when a digit follows the dot.
  EXPECT_EQ(parse("A=1.0\nH=8.0").version(VersionSlot::B), 8);
}

TEST(ShippedVersions, aLineLongerThanFiftyCharactersIsReadInTwoParts) {
  const std::string longLabel(48, 'x');
  const auto versions = parse(longLabel + "=4.0\nB=6.0\n");
  // The first 50 characters end before the ".": slot A is 0; the rest, "0\n",
  // fills slot B; "B=6.0" lands in slot C.
  EXPECT_EQ(versions.version(VersionSlot::A), 0);
  EXPECT_EQ(versions.version(VersionSlot::B), 0);
  EXPECT_EQ(versions.version(VersionSlot::C), 6);
}

TEST(ShippedVersions, aShortFileLeavesTheRestZero) {
  const auto versions = parse("A=12.0\r\nB=3.0\r\n");
  EXPECT_EQ(versions.version(VersionSlot::B), 3);
  EXPECT_EQ(versions.version(VersionSlot::C), 0);
  EXPECT_EQ(versions.version(VersionSlot::H), 0);
}

TEST(ShippedVersions, aMissingFileGivesZeros) {
  TempFolder work;
  const auto versions = ShippedVersions::readFile(work.path());
  for (int slot = 0; slot < kVersionSlotCount; ++slot) {
    EXPECT_EQ(versions.version(static_cast<VersionSlot>(slot)), 0);
  }
}

TEST(ShippedVersions, theFileIsReadFromTheCfgFolder) {
  TempFolder work;
  work.write("Cfg/BrimstelLocatorVersion.cfg",
             "Main=21.0\r\nKv=4.0\r\nNine=30.0\r\nGen2=23.0\r\nIN=2.0\r\nThree=40.0\r\n"
             "Series=3.0\r\nGlossary=5.0\r\n");
  const auto versions = ShippedVersions::readFile(work.path());
  EXPECT_EQ(versions.version(VersionSlot::A), 21);
  EXPECT_EQ(versions.version(VersionSlot::D), 23);
  EXPECT_EQ(versions.version(VersionSlot::H), 5);
}

} // namespace
} // namespace tarnwick
