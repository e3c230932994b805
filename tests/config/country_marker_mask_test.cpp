#include "config_rig.h"
#include "country_marker_mask.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::TempDir;

constexpr CountryMarkerMask kNothing{};

const std::string kCountries = "# Countries and the marker types they permit\n"
                               "[COUNTRY]\n"
                               "Germany\n"
                               "TEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\n"
                               "de.bmp\n"
                               "de_big.bmp\n"
                               "[COUNTRY] second entry\r\n"
                               "United States of America\r\n"
                               "TEL 1 PWR 0 GAS 1 WAT 0 WAS 0 COM 0 GP 0\r\n"
                               "us.bmp\r\n"
                               "us_big.bmp\r\n";

TEST(CountryMarkerMask, readsTheSectionOfTheCountryByItsPosition) {
  EXPECT_EQ(parseCountryMask(kCountries, 0),
            (CountryMarkerMask{true, false, true, true, true, true, true}));
  EXPECT_EQ(parseCountryMask(kCountries, 1),
            (CountryMarkerMask{true, false, true, false, false, false, false}));
}

TEST(CountryMarkerMask, aCountryBeyondTheLastSectionPermitsNothing) {
  EXPECT_EQ(parseCountryMask(kCountries, 2), kNothing);
  EXPECT_EQ(parseCountryMask(kCountries, -1), kNothing);
  EXPECT_EQ(parseCountryMask("", 0), kNothing);
  // Words before the first section belong to no country, not to -1.
  EXPECT_EQ(parseCountryMask("TEL 1 GAS 1\n" + kCountries, -1), kNothing);
}

TEST(CountryMarkerMask, valuesBeginningWithOnePermit) {
  const std::string file = "[COUNTRY]\nX\nTEL 1x PWR yes GAS 01 WAT 10 WAS 1 COM 0 GP 1\n";
  EXPECT_EQ(parseCountryMask(file, 0),
            (CountryMarkerMask{true, false, false, true, true, false, true}));
}

TEST(CountryMarkerMask, keysAreMatchedByNameSoAMissingKeyShiftsNothing) {
  const std::string file = "[COUNTRY]\nX\nGP 1 TEL 1 GAS 0 WAT 1 COM 1 WAS 0\n";
  EXPECT_EQ(parseCountryMask(file, 0),
            (CountryMarkerMask{true, false, false, true, false, true, true}));
}

TEST(CountryMarkerMask, commentsAndTheNameLineAreNotRead) {
  const std::string file = "[COUNTRY]\n"
                           "TEL 1 GAS 1\n" // the name line, whatever it holds
                           "# TEL 1\n"
                           "PWR 1 # GAS 1 WAT 1\n"
                           "WAT #1\n"
                           "COM 1\n";
  EXPECT_EQ(parseCountryMask(file, 0),
            (CountryMarkerMask{false, true, false, false, false, true, false}));
}

TEST(CountryMarkerMask, aSectionEndsAtTheNextMarker) {
  const std::string file = "[COUNTRY]\nA\nTEL 1\n[COUNTRY]\nB\nGAS 1 TEL\n[COUNTRY]\nC\nTEL 1\n";
  EXPECT_EQ(parseCountryMask(file, 0), (CountryMarkerMask{true}));
  EXPECT_EQ(parseCountryMask(file, 1),
            (CountryMarkerMask{false, false, true, false, false, false, false}));
}

TEST(CountryMarkerMask, theCeFileServesCePowerModels) {
  TempDir work;
  work.write("Cfg/CountryFreqMask.cfg", "[COUNTRY]\nX\nTEL 1\n");
  work.write("Cfg/CountryFreqMask_CEPWR.cfg", "[COUNTRY]\nX\nPWR 1\n");
  const InstallTree tree(work.path());
  EXPECT_EQ(loadCountryMask(tree, false, 0), (CountryMarkerMask{true}));
  EXPECT_EQ(loadCountryMask(tree, true, 0),
            (CountryMarkerMask{false, true, false, false, false, false, false}));
}

TEST(CountryMarkerMask, aMissingFilePermitsNothing) {
  TempDir work;
  EXPECT_EQ(loadCountryMask(InstallTree(work.path()), false, 0), kNothing);
}

TEST(CountryMarkerMask, theSourceFollowsTheSelectedCountry) {
  TempDir work;
  work.write("Cfg/CountryFreqMask.cfg", kCountries);
  CountryChoice choice{0, "Germany"};
  const auto source = countryMaskSource(InstallTree(work.path()), [&] { return choice; });
  EXPECT_TRUE(source(false)[3]);
  choice = {1, "United States of America"};
  EXPECT_FALSE(source(false)[3]);
}

TEST(CountryMarkerMask, aMissingFileLeavesEveryMarkerTypeUnavailable) {
  TempDir work;
  ReceiverConfiguration configuration(
      countryMaskSource(InstallTree(work.path()), [] { return CountryChoice{}; }));
  configuration.rebuildDefaults();
  EXPECT_EQ(listOf(configuration.current(), ListId::MarkerTypes).states(),
            std::vector<SettingState>(7, SettingState::Unavailable));
}

} // namespace
} // namespace tarnwick
