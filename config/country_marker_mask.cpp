#include "country_marker_mask.h"

#include "settings_files.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view kSectionMarker = "[COUNTRY]";
constexpr std::size_t kCountryFileLimit = 1u << 20; // far beyond any country list

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Words and lines of the file, in the order the reader meets them.
class WordReader {
public:
  explicit WordReader(std::string_view text) : text_(text) {}

  bool word(std::string_view &out) {
    while (at_ < text_.size() && isSpace(text_[at_])) {
      ++at_;
    }
    if (at_ == text_.size()) {
      return false;
    }
    const std::size_t start = at_;
    while (at_ < text_.size() && !isSpace(text_[at_])) {
      ++at_;
    }
    out = text_.substr(start, at_ - start);
    return true;
  }

  void skipLine() {
    const auto end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end + 1;
  }

private:
  std::string_view text_;
  std::size_t at_ = 0;
};

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
  WordReader reader(bytes);
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
