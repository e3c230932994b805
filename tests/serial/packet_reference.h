// An independent description of the packets the library must build: a
// table-driven CRC and the block layout, written apart from the library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillport::testing::reference {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kSoh = 0x01, kStx = 0x02, kEot = 0x04, kAck = 0x06, kNak = 0x15, kCan = 0x18,
                       kPad = 0x1A;

// A table-driven CRC written apart from the library's bitwise one.
inline std::uint16_t referenceCrc(const std::uint8_t *data, std::size_t length) {
  static const std::array<std::uint16_t, 256> table = [] {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned value = i << 8;
      for (int bit = 0; bit < 8; ++bit) {
        value = (value & 0x8000U) ? (value << 1) ^ 0x1021U : value << 1;
      }
      t[i] = static_cast<std::uint16_t>(value);
    }
    return t;
  }();
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < length; ++i) {
    crc = static_cast<std::uint16_t>((crc << 8) ^ table[((crc >> 8) ^ data[i]) & 0xFFU]);
  }
  return crc;
}

inline Bytes pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) ^ (i >> 8));
  }
  return bytes;
}

inline Bytes expectedPacket(std::uint8_t block, const Bytes &file, std::size_t offset,
                            std::size_t length) {
  const std::size_t blockSize = length <= 128 ? 128 : 1024;
  Bytes packet = {blockSize == 128 ? kSoh : kStx, block, static_cast<std::uint8_t>(255 - block)};
  packet.insert(packet.end(), file.begin() + static_cast<std::ptrdiff_t>(offset),
                file.begin() + static_cast<std::ptrdiff_t>(offset + length));
  packet.resize(3 + blockSize, kPad);
  const std::uint16_t crc = referenceCrc(packet.data() + 3, blockSize);
  packet.push_back(static_cast<std::uint8_t>(crc >> 8));
  packet.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  return packet;
}

} // namespace quillport::testing::reference
