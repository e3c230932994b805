// The user of the command line: messages on standard error, questions
// answered by --yes/--no, else asked on the terminal when someone can answer,
// else given the safe answer (No, or Cancel where offered) with a note that
// says so. The Communication Options dialog is answered by --port and --baud.
#pragma once

#include "global_options.h"
#include "terminal.h"
#include "user_port.h"

#include <ostream>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// The answer taken when nobody answers: Cancel where offered, else No, else OK.
Answer safeAnswer(Buttons buttons);
std::string_view answerName(Answer answer);

class CliUserPort final : public UserPort {
public:
  CliUserPort(const GlobalOptions &options, Terminal &terminal, std::ostream &err)
      : options_(options), terminal_(terminal), err_(err) {}

  void message(const std::string &text) override;
  Answer ask(const std::string &text, Buttons buttons) override;
  std::optional<std::string> openFile(const FileSpec &spec) override;
  std::optional<std::string> saveFile(const FileSpec &spec) override;
  std::optional<std::string> prompt(const PromptSpec &spec) override;
  // --port and --baud; nothing (Cancel) without --port.
  std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                       const std::vector<std::string> &rates,
                                       const std::string &selectedRate) override;
  void beep() override;

private:
  Answer presetAnswer(Buttons buttons) const;
  Answer askTerminal(const std::string &text, Buttons buttons);
  Answer takeSafeAnswer(Buttons buttons, std::string_view why);
  std::optional<std::string> askForFile(const FileSpec &spec);
  void noteUnanswered(std::string_view what);

  const GlobalOptions &options_;
  Terminal &terminal_;
  std::ostream &err_;
};

} // namespace tarnwick::cli
