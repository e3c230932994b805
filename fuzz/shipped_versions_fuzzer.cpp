// The shipped-versions file reader on arbitrary file contents.
#include "shipped_versions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::istringstream in(text);
  const ShippedVersions versions = ShippedVersions::read(in);
  // Each slot holds what its own line gives, 0 past the end; never negative.
  std::istringstream lines(text);
  std::string line;
  for (int slot = 0; slot < kVersionSlotCount; ++slot) {
    const bool present = readVersionLine(lines, line);
    if (present && line.size() >= 50) {
      std::abort(); // at most 50 characters are read, the last dropped
    }
    const int expected = present ? versionFromLine(line) : 0;
    const int value = versions.version(static_cast<VersionSlot>(slot));
    if (value != expected || value < 0) {
      std::abort();
    }
  }
  return 0;
}
