// template pull, template send: the Download Templates dialog on the command
// line, registered by the template group beside make and show.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

class CliSession;

class TemplateTransferCommands {
public:
  // Adds pull and send to the template command.
  explicit TemplateTransferCommands(CLI::App &templateCommand);

  // The exit status of pull or send when one of them was given; nothing
  // when the template command runs another sub-command.
  std::optional<int> run(CliSession &session) const;

private:
  CLI::App *pull_ = nullptr;
  CLI::App *send_ = nullptr;
  std::string pullKind_;
  std::string sendKind_;
  std::vector<std::string> files_;
};

} // namespace tarnwick::cli
