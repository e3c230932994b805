// The receiver software versions this installation ships, one per slot, read
// from "\Cfg\BrimstelLocatorVersion.cfg".
#pragma once

#include "model_catalogue.h"

#include <array>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

inline constexpr std::string_view kShippedVersionsFile = "\\Cfg\\BrimstelLocatorVersion.cfg";

class ShippedVersions {
public:
  int version(VersionSlot slot) const { return values_[static_cast<std::size_t>(slot)]; }
  void setVersion(VersionSlot slot, int value) { values_[static_cast<std::size_t>(slot)] = value; }

  // Eight lines in slot order; missing lines leave 0.
  static ShippedVersions read(std::istream &in);
  // The version file under workingFolder; a missing file gives zeros.
  static ShippedVersions readFile(const std::filesystem::path &workingFolder);

private:
  std::array<int, kVersionSlotCount> values_{};
};

// Up to and including the next line feed, at most 50 characters; the last
// character is dropped. False at the end of the input.
bool readVersionLine(std::istream &in, std::string &line);
// The decimal number between the first "=" and the first "."; 0 without ".".
int versionFromLine(std::string_view line);

} // namespace tarnwick
