// Just enough JSON for the command line's machine-readable output.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::cli::json {

// A JSON string literal, quotes included; control characters escaped.
std::string quoted(std::string_view text);
// quoted(text), or null.
std::string quotedOrNull(const std::optional<std::string> &text);

} // namespace tarnwick::cli::json
