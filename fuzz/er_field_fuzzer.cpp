// The "er" reply-field decoder on arbitrary field text.
#include "eeprom_lines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view field(reinterpret_cast<const char *>(data), size);
  const auto value = decodeErField(field);
  if (!value) {
    return 0;
  }
  // Only the last three places count: digits, a space counting as 0.
  if (size < 3) {
    std::abort();
  }
  int expected = 0;
  for (char c : field.substr(size - 3)) {
    if (c != ' ' && (c < '0' || c > '9')) {
      std::abort();
    }
    expected = expected * 10 + (c == ' ' ? 0 : c - '0');
  }
  if (*value != expected || *value < 0 || *value > 999) {
    std::abort();
  }
  return 0;
}
