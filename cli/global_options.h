// The options every command shares: working folder, port, rate, answers to
// questions, byte trace and output form.
#pragma once

#include <filesystem>
#include <string>

namespace tarnwick::cli {

// What --yes or --no answers in advance; None: ask, or take the safe answer.
enum class PresetAnswer { None, Yes, No };

struct GlobalOptions {
  std::filesystem::path workdir; // the installation tree
  std::string port;              // the device; empty when --port was not given
  std::string baud = "38400";    // one of the Communication Options rates
  PresetAnswer answer = PresetAnswer::None;
  std::string trace; // file for the byte trace; empty: none
  bool json = false;
};

} // namespace tarnwick::cli
