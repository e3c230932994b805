// "er" and "ew" lines and the receiver's "er" reply fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

inline constexpr std::size_t kErFieldChars = 5; // two skipped, three of value

// "er <address> <count> 1": read count bytes from address.
std::string erLine(std::uint32_t address, std::uint32_t count);
// "ew <address> <count> <b0> <b1> ...": write the bytes from address.
std::string ewLine(std::uint32_t address, const std::vector<std::uint8_t> &bytes);

// The value in the last three characters of a field, right-aligned with
// spaces (a space counts as 0): "  7" → 7, "1 3" → 103. Nothing when the field
// is shorter than three characters or holds anything but digits and spaces.
std::optional<int> decodeErField(std::string_view field);

// The values of a long "er" reply, one character at a time. The receiver
// breaks its dump into rows: a field that starts with LF has that LF and the
// next two characters (CR and the field's first) dropped; then four more
// characters, the last three holding the value.
class ErDumpReader {
public:
  enum class Step { NeedMore, Value, Invalid };
  Step feed(char c);
  int value() const { return value_; }

private:
  int dropping_ = 0; // characters of a row break still to drop
  bool started_ = false;
  std::string field_;
  int value_ = 0;
};

// Two bytes read with "er" form a 16-bit value, first byte high.
inline int erWord(int high, int low) {
  return high * 256 + low;
}

} // namespace tarnwick
