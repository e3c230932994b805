// The language pack reader on arbitrary file contents.
#include "string_table.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const auto entries = parseLanguagePack(text);
  for (const PackEntry &entry : entries) {
    if (entry.id < 0 || entry.dialog < 0) {
      std::abort();
    }
  }
  // What is written reads back entry by entry.
  const auto again = parseLanguagePack(formatLanguagePack(entries));
  if (again.size() != entries.size()) {
    std::abort();
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (again[i].id != entries[i].id || again[i].dialog != entries[i].dialog ||
        again[i].text != entries[i].text) {
      std::abort();
    }
  }
  StringTable strings;
  if (strings.applyLanguagePack(text) > entries.size()) {
    std::abort();
  }
  return 0;
}
