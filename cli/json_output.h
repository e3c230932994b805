// The documents --json prints: keys in the order they were added, on one
// line. Bytes that are not UTF-8 (device names, file names, texts read from
// files) become U+FFFD, so the output always parses.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

namespace tarnwick::cli {

using JsonDocument = nlohmann::ordered_json;

inline void printJsonLine(std::ostream &out, const JsonDocument &document) {
  out << document.dump(-1, ' ', false, JsonDocument::error_handler_t::replace) << '\n';
}

} // namespace tarnwick::cli
