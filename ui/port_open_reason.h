// Why a serial device did not open, in the command line's words. The shared
// table is moving into link/error_reason.h (portOpenReason,
// describePortFailure); until it arrives here the GUI uses these two of the
// same names and words. Once it is in, include "error_reason.h" instead and
// delete this file.
#pragma once

#include "string_table.h"

#include <cctype>
#include <cerrno>
#include <string>
#include <system_error>

namespace tarnwick::ui {

inline std::string portOpenReason(int errnoValue) {
  switch (errnoValue) {
  case EACCES:
  case EPERM:
    return "permission denied — " + StringTable().text(sid::kDialoutGroupHint);
  case EBUSY:
    return "busy — in use by another program";
  case EIO:
    return "input/output error — no device answers behind it";
  case ENOENT:
  case ENODEV:
  case ENXIO:
    return "no such device";
  default:
    break;
  }
  std::string text = std::generic_category().message(errnoValue);
  if (!text.empty()) {
    text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
  }
  return text;
}

inline std::string describePortFailure(const std::string &device, int errnoValue) {
  std::string text = "The port " + device + " could not be opened: " + portOpenReason(errnoValue);
  return text.ends_with('.') ? text : text + '.';
}

} // namespace tarnwick::ui
