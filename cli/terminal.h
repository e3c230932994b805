// The terminal questions are asked on. The system's reads standard input;
// tests script one.
#pragma once

#include <optional>
#include <string>

namespace tarnwick::cli {

class Terminal {
public:
  virtual ~Terminal() = default;
  // Whether a person can answer: standard input is a terminal.
  virtual bool interactive() const = 0;
  // Shows prompt and reads one line; nothing at the end of input. hidden:
  // the typed text is not echoed (passwords).
  virtual std::optional<std::string> readLine(const std::string &prompt, bool hidden) = 0;
  virtual void beep() = 0;
};

// Standard input, prompts on standard error.
class SystemTerminal final : public Terminal {
public:
  bool interactive() const override;
  std::optional<std::string> readLine(const std::string &prompt, bool hidden) override;
  void beep() override;
};

} // namespace tarnwick::cli
