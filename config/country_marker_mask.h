// Which marker types a country permits: seven flags in marker-type order,
// read from the country mask files of "\Cfg" for the country selected on the
// main screen.
#pragma once

#include "install_tree.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick {

inline constexpr int kMarkerTypeCount = 7;
// true: the marker type at that position is permitted.
using CountryMarkerMask = std::array<bool, kMarkerTypeCount>;

// The keys of a country section, in marker-type order.
inline constexpr std::array<std::string_view, kMarkerTypeCount> kMarkerMaskKeys = {
    "TEL", "PWR", "GAS", "WAT", "WAS", "COM", "GP"};

// The mask of country (sections counted from 0) in a country mask file. The
// file is read as words: "#" comments to the end of the line; "[COUNTRY]"
// opens a section whose next line is the name; after it each key word is
// followed by its value word, and a value beginning with "1" permits. Keys
// are matched by name (the first of each in the section counts), so a
// missing key does not shift the others. A country, key or file that is not
// there permits nothing.
CountryMarkerMask parseCountryMask(std::string_view bytes, int country);

// The country the configuration tools work for: the main screen's selection.
struct CountryChoice {
  std::int32_t index = 0;
  std::string name{"None"};
};
using CountrySource = std::function<CountryChoice()>;

// Reads "\Cfg\CountryFreqMask.cfg", or "\Cfg\CountryFreqMask_CEPWR.cfg" for a
// CE-power model; a missing file permits nothing.
CountryMarkerMask loadCountryMask(const InstallTree &tree, bool cePower, int country);
// Reads the mask of the source's current country from the tree at each call.
std::function<CountryMarkerMask(bool cePower)> countryMaskSource(InstallTree tree,
                                                                 CountrySource country);

} // namespace tarnwick
