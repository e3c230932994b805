#include "shipped_versions.h"

#include "install_path.h"

#include <cctype>
#include <fstream>

namespace tarnwick {

namespace {

constexpr std::size_t kMaxLineChars = 50;

} // namespace

bool readVersionLine(std::istream &in, std::string &line) {
  line.clear();
  char c = 0;
  while (line.size() < kMaxLineChars && in.get(c)) {
    line.push_back(c);
    if (c == '\n') {
      break;
    }
  }
  if (line.empty()) {
    return false;
  }
  line.pop_back();
  return true;
}

int versionFromLine(std::string_view line) {
  const auto equals = line.find('=');
  const auto dot = line.find('.');
  if (dot == std::string_view::npos || equals == std::string_view::npos || dot < equals) {
    return 0;
  }
  auto digits = line.substr(equals + 1, dot - equals - 1);
  while (!digits.empty() && std::isspace(static_cast<unsigned char>(digits.front()))) {
    digits.remove_prefix(1);
  }
  int value = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c)) || value > 100000) {
      break;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

ShippedVersions ShippedVersions::read(std::istream &in) {
  ShippedVersions versions;
  std::string line;
  for (std::size_t slot = 0; slot < versions.values_.size() && readVersionLine(in, line); ++slot) {
    versions.values_[slot] = versionFromLine(line);
  }
  return versions;
}

ShippedVersions ShippedVersions::readFile(const std::filesystem::path &workingFolder) {
  std::ifstream in(resolveInstallPath(workingFolder, kShippedVersionsFile), std::ios::binary);
  return in ? read(in) : ShippedVersions{};
}

} // namespace tarnwick
