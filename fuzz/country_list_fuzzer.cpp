// The country list reader on arbitrary file contents.
#include "country_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick;

namespace {

void checkLine(const std::string &line) {
  // Each line counts 249 characters at most and stops at its line feed.
  if (line.size() > 249 || line.find('\n') != std::string::npos) {
    std::abort();
  }
}

std::size_t markerCount(std::string_view text) {
  std::size_t count = 0;
  for (auto at = text.find("[COUNTRY]"); at != std::string_view::npos;
       at = text.find("[COUNTRY]", at + 1)) {
    ++count;
  }
  return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const auto entries = parseCountryList(text);
  if (entries.size() > markerCount(text)) {
    std::abort(); // every entry needs a marker of its own
  }
  for (const CountryEntry &entry : entries) {
    checkLine(entry.name);
    checkLine(entry.settings);
    checkLine(entry.listImage);
    checkLine(entry.picture);
  }
  return 0;
}
