#include "country_marker_mask.h"

#include "text_cursor.h"

#include "settings_files.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view kSectionMarker = "[COUNTRY]";
constexpr std::size_t kCountryFileLimit = 1u << 20; // far beyond any country list

bool opensSection(std::string_view word) {
  return word.substr(0, kSectionMarker.size()) == kSectionMarker;
}

std::optional<std::size_t> keyPosition(std::string_view word) {
  const auto found = std::find(kMarkerMaskKeys.begin(), kMarkerMaskKeys.end(), word);
  if (found == kMarkerMaskKeys.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - kMarkerMaskKeys.begin());
}

} // namespace

CountryMarkerMask parseCountryMask(std::string_view bytes, int country) {
  CountryMarkerMask mask{};
  if (country < 0) {
    return mask; // the words before the first section belong to no country
  }
  std::array<bool, kMarkerTypeCount> seen{};
  TextCursor reader(bytes);
  int section = -1;
  std::string_view word;
  while (reader.word(word)) {
    if (word.front() == '#') {
      reader.skipLine();
      continue;
    }
    if (opensSection(word)) {
      if (section == country) {
        break;
      }
      ++section;
      reader.skipLine(); // the rest of the marker's line
      reader.skipLine(); // the country's name
      continue;
    }
    const auto position = section == country ? keyPosition(word) : std::nullopt;
    if (!position || seen[*position]) {
      continue;
    }
    seen[*position] = true;
    std::string_view value;
    if (!reader.word(value) || opensSection(value)) {
      break; // a key without a value at the end of its section
    }
    if (value.front() == '#') {
      reader.skipLine();
      continue;
    }
    mask[*position] = value.front() == '1';
  }
  return mask;
}

CountryMarkerMask loadCountryMask(const InstallTree &tree, bool cePower, int country) {
  const auto bytes = readWholeFile(
      tree.path(cePower ? install::kCePowerCountryFile : install::kCountryFile), kCountryFileLimit);
  return bytes ? parseCountryMask(*bytes, country) : CountryMarkerMask{};
}

std::function<CountryMarkerMask(bool cePower)> countryMaskSource(InstallTree tree,
                                                                 CountrySource country) {
  return [tree = std::move(tree), country = std::move(country)](bool cePower) {
    return loadCountryMask(tree, cePower, country ? country().index : CountryChoice{}.index);
  };
}

} // namespace tarnwick
