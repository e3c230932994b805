// userlist send, userlist send-links: the user list and description list
// downloads, as sub-commands of userlist.
#pragma once

#include "cli_session.h"

#include <CLI/CLI.hpp>

#include <string>

namespace tarnwick::cli {

class UserListDownloadCommands {
public:
  // Adds "send" and "send-links" to the userlist command.
  void add(CLI::App &userlist);
  // Whether one of them was chosen.
  bool parsed() const;
  int run(CliSession &session) const;

private:
  CLI::App *send_ = nullptr;
  CLI::App *sendLinks_ = nullptr;
  std::string name_;
};

} // namespace tarnwick::cli
