#include "terminal.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <termios.h>
#include <unistd.h>

namespace tarnwick::cli {

namespace {

// Turns terminal echo off for its lifetime.
class EchoOff {
public:
  EchoOff() {
    if (tcgetattr(STDIN_FILENO, &saved_) == 0) {
      termios quiet = saved_;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      active_ = tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
    }
  }
  ~EchoOff() {
    if (active_) {
      tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
      std::cerr << '\n';
    }
  }
  EchoOff(const EchoOff &) = delete;
  EchoOff &operator=(const EchoOff &) = delete;

private:
  termios saved_{};
  bool active_ = false;
};

} // namespace

bool SystemTerminal::interactive() const {
  return isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> SystemTerminal::readLine(const std::string &prompt, bool hidden) {
  std::cerr << prompt << std::flush;
  std::optional<EchoOff> echoOff;
  if (hidden) {
    echoOff.emplace();
  }
  std::string line;
  if (!std::getline(std::cin, line)) {
    return std::nullopt;
  }
  return line;
}

void SystemTerminal::beep() {
  if (isatty(STDERR_FILENO) == 1) {
    std::cerr << '\a' << std::flush;
  }
}

} // namespace tarnwick::cli
