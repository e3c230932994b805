// The country list of "CountryFreqMask.cfg" as the main screen reads it:
// after each "[COUNTRY]" line four lines follow, the name, a line the main
// screen does not use (the frequency pairs), the file name of the small list
// image and the file name of the picture. Entries count from 0 in file order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct CountryEntry {
  std::string name;
  std::string settings;  // the second line: the frequency pairs
  std::string listImage; // file name in "\Cfg"
  std::string picture;   // file name in "\Cfg"
};

inline constexpr std::string_view kNoCountry = "None";
inline constexpr std::string_view kUnitedStates = "United States of America";

// Reads the bytes as whitespace-separated words: a word beginning with "#"
// makes the rest of its line a comment; a word beginning with "[COUNTRY]"
// starts an entry (the rest of its line is skipped). Each of the entry's
// lines counts up to 249 characters and loses a CR before its line feed. An
// entry cut off by the end of the file keeps the lines it has, when it has
// its name line. Any bytes are accepted.
std::vector<CountryEntry> parseCountryList(std::string_view bytes);

} // namespace tarnwick
