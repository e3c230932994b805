// The country mask reader on arbitrary file contents and country numbers:
// it never reads outside the text, and a country past the last section
// permits nothing.
#include "country_marker_mask.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tarnwick;

namespace {

void require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

int sections(std::string_view text) {
  int count = 0;
  for (auto at = text.find("[COUNTRY]"); at != std::string_view::npos;
       at = text.find("[COUNTRY]", at + 1)) {
    ++count;
  }
  return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  // The first byte picks the country; the rest is the file.
  const int country = static_cast<int>(data[0] % 8) - 1;
  const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
  const CountryMarkerMask mask = parseCountryMask(text, country);
  if (country < 0 || country >= sections(text)) {
    require(mask == CountryMarkerMask{});
  }
  return 0;
}
