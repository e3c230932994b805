// CRC-16/XMODEM: polynomial 0x1021, initial value 0, MSB first, no reflection,
// no final XOR. "123456789" gives 0x31C3.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillport {

constexpr std::uint16_t crc16Update(std::uint16_t crc, std::uint8_t byte) {
  crc = static_cast<std::uint16_t>(crc ^ (static_cast<std::uint16_t>(byte) << 8));
  for (int bit = 0; bit < 8; ++bit) {
    const bool top = (crc & 0x8000U) != 0;
    crc = static_cast<std::uint16_t>(crc << 1);
    if (top) {
      crc = static_cast<std::uint16_t>(crc ^ 0x1021U);
    }
  }
  return crc;
}

constexpr std::uint16_t crc16(const std::uint8_t *data, std::size_t length, std::uint16_t crc = 0) {
  for (std::size_t i = 0; i < length; ++i) {
    crc = crc16Update(crc, data[i]);
  }
  return crc;
}

} // namespace quillport
