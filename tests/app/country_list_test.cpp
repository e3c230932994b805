#include "country_list.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

TEST(CountryList, readsFourLinesAfterEachCountryMarker) {
  const auto entries = parseCountryList("# countries\n"
                                        "[COUNTRY]\n"
                                        "None\n"
                                        "TEL 0 PWR 0 GAS 0 WAT 0 WAS 0 COM 0 GP 0\n"
                                        "none.bmp\n"
                                        "none_big.bmp\n"
                                        "[COUNTRY]\n"
                                        "Germany\n"
                                        "TEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n"
                                        "de.bmp\n"
                                        "de_big.bmp\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "None");
  EXPECT_EQ(entries[1].name, "Germany");
  EXPECT_EQ(entries[1].settings, "TEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1");
  EXPECT_EQ(entries[1].listImage, "de.bmp");
  EXPECT_EQ(entries[1].picture, "de_big.bmp");
}

TEST(CountryList, commentsHideMarkersAndTheRestOfTheMarkerLineIsSkipped) {
  const auto entries = parseCountryList("#[COUNTRY]\nHidden\n"
                                        "words that mean nothing # [COUNTRY]\n"
                                        "  [COUNTRY]extra words here\r\n"
                                        "United States of America\r\n"
                                        "TEL 1\r\n"
                                        "us.bmp\r\n"
                                        "us_big.bmp\r\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "United States of America");
  EXPECT_EQ(entries[0].listImage, "us.bmp");
  EXPECT_EQ(entries[0].picture, "us_big.bmp");
}

TEST(CountryList, theFourLinesAreTakenAsTheyStand) {
  const auto entries = parseCountryList("[COUNTRY]\n# not a comment here\n\n  spaced.bmp \nx\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "# not a comment here");
  EXPECT_EQ(entries[0].settings, "");
  EXPECT_EQ(entries[0].listImage, "  spaced.bmp ");
  EXPECT_EQ(entries[0].picture, "x");
}

TEST(CountryList, anEntryCutOffKeepsWhatItHas) {
  auto entries = parseCountryList("[COUNTRY]\nFrance\nTEL 1");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "France");
  EXPECT_EQ(entries[0].settings, "TEL 1");
  EXPECT_EQ(entries[0].listImage, "");
  EXPECT_EQ(entries[0].picture, "");
  EXPECT_TRUE(parseCountryList("[COUNTRY]\n").empty());
  EXPECT_TRUE(parseCountryList("[COUNTRY]").empty());
  EXPECT_TRUE(parseCountryList("").empty());
}

TEST(CountryList, longLinesCountTheirFirst249Characters) {
  const std::string longName(400, 'N');
  const auto entries = parseCountryList("[COUNTRY]\n" + longName + "\ns\ni.bmp\np.bmp\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, std::string(249, 'N'));
  EXPECT_EQ(entries[0].settings, "s");
  EXPECT_EQ(entries[0].picture, "p.bmp");
}

TEST(CountryList, aMarkerInsideAnEntryIsData) {
  const auto entries = parseCountryList("[COUNTRY]\nA\n[COUNTRY]\nB\nC\n[COUNTRY]\nD\n1\n2\n3\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].settings, "[COUNTRY]");
  EXPECT_EQ(entries[0].picture, "C");
  EXPECT_EQ(entries[1].name, "D");
}

TEST(CountryList, anyBytesAreAccepted) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<std::size_t>(random() % 300), '\0');
    for (char &c : bytes) {
      const char alphabet[] = {'[', 'C',  'O',  'U', 'N', 'T',  'R',   'Y',
                               ']', '\n', '\r', '#', ' ', '\0', '\xFF'};
      c = alphabet[random() % sizeof alphabet];
    }
    const auto entries = parseCountryList(bytes);
    for (const auto &entry : entries) {
      EXPECT_LE(entry.name.size(), 249u);
    }
  }
}

} // namespace
} // namespace tarnwick
