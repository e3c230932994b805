#include "json_text.h"

#include <cstdio>

namespace tarnwick::cli::json {

namespace {

std::string escaped(char c) {
  switch (c) {
  case '"':
    return "\\\"";
  case '\\':
    return "\\\\";
  case '\n':
    return "\\n";
  case '\r':
    return "\\r";
  case '\t':
    return "\\t";
  default:
    break;
  }
  if (static_cast<unsigned char>(c) < 0x20) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
    return code;
  }
  return std::string(1, c);
}

} // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += escaped(c);
  }
  return out + "\"";
}

std::string quotedOrNull(const std::optional<std::string> &text) {
  return text ? json::quoted(*text) : "null";
}

} // namespace tarnwick::cli::json
