// A settings file that could not be written: the message names the file and
// the reason, and the error goes back to the caller unchanged.
#pragma once

#include "app_context.h"
#include "error_reason.h"

#include <filesystem>
#include <system_error>

namespace tarnwick {

inline std::error_code reportWrite(AppContext &context, const std::filesystem::path &path,
                                   std::error_code error) {
  if (error) {
    context.user.message(notSavedText(context.strings, path, error));
  }
  return error;
}

} // namespace tarnwick
