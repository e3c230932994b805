#include "text_encoding.h"

namespace tarnwick {

std::string latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

namespace {

bool continuation(std::string_view text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence starting at at; 0 when it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (!continuation(text, at + i)) {
      return 0;
    }
  }
  return length;
}

} // namespace

std::string utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : sequenceLength(text, at);
    if (length == 0) {
      out += text[at++];
      continue;
    }
    if (length == 2) {
      const unsigned code =
          ((lead & 0x1FU) << 6) | (static_cast<unsigned char>(text[at + 1]) & 0x3FU);
      out += code <= 0xFF ? static_cast<char>(code) : '?';
    } else {
      out += length == 1 ? text[at] : '?';
    }
    at += length;
  }
  return out;
}

} // namespace tarnwick
