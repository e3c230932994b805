#include "eeprom_lines.h"

#include "commands.h"

namespace tarnwick {

std::string erLine(std::uint32_t address, std::uint32_t count) {
  return std::string(cmd::kEepromRead) + " " + std::to_string(address) + " " +
         std::to_string(count) + " 1";
}

std::string ewLine(std::uint32_t address, const std::vector<std::uint8_t> &bytes) {
  std::string line = std::string(cmd::kEepromWrite) + " " + std::to_string(address) + " " +
                     std::to_string(bytes.size());
  for (std::uint8_t byte : bytes) {
    line += " " + std::to_string(byte);
  }
  return line;
}

std::optional<int> decodeErField(std::string_view field) {
  if (field.size() < 3) {
    return std::nullopt;
  }
  int value = 0;
  for (char c : field.substr(field.size() - 3)) {
    if (c == ' ') {
      value *= 10;
    } else if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  return value;
}

ErDumpReader::Step ErDumpReader::feed(char c) {
  if (dropping_ > 0) {
    --dropping_;
    return Step::NeedMore;
  }
  if (!started_) {
    started_ = true;
    if (c == '\n') {
      dropping_ = 2;
    }
    return Step::NeedMore;
  }
  field_.push_back(c);
  if (field_.size() < 4) {
    return Step::NeedMore;
  }
  const auto decoded = decodeErField(field_);
  field_.clear();
  started_ = false;
  if (!decoded) {
    return Step::Invalid;
  }
  value_ = *decoded;
  return Step::Value;
}

} // namespace tarnwick
