#include "cli_user_port.h"

#include <algorithm>
#include <cctype>

namespace tarnwick::cli {

namespace {

struct Choice {
  std::string_view key; // what the user types
  Answer answer;
};

std::vector<Choice> choicesFor(Buttons buttons) {
  switch (buttons) {
  case Buttons::Ok:
    return {{"o", Answer::Ok}};
  case Buttons::OkCancel:
    return {{"o", Answer::Ok}, {"c", Answer::Cancel}};
  case Buttons::YesNo:
    return {{"y", Answer::Yes}, {"n", Answer::No}};
  case Buttons::YesNoCancel:
    break;
  }
  return {{"y", Answer::Yes}, {"n", Answer::No}, {"c", Answer::Cancel}};
}

std::string choiceList(const std::vector<Choice> &choices) {
  std::string text = " [";
  for (const Choice &choice : choices) {
    text += (text.size() > 2 ? "/" : "") + std::string(choice.key);
  }
  return text + "]: ";
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "y", "yes", "n", "no", "o", "ok", "c", "cancel", by their first letter.
std::optional<Answer> parseChoice(const std::string &line, const std::vector<Choice> &choices) {
  const std::string typed = lowered(line);
  for (const Choice &choice : choices) {
    const std::string full = lowered(std::string(answerName(choice.answer)));
    if (typed == choice.key || typed == full) {
      return choice.answer;
    }
  }
  return std::nullopt;
}

} // namespace

Answer safeAnswer(Buttons buttons) {
  switch (buttons) {
  case Buttons::Ok:
    return Answer::Ok;
  case Buttons::YesNo:
    return Answer::No;
  case Buttons::OkCancel:
  case Buttons::YesNoCancel:
    break;
  }
  return Answer::Cancel;
}

std::string_view answerName(Answer answer) {
  switch (answer) {
  case Answer::Ok:
    return "OK";
  case Answer::Cancel:
    return "Cancel";
  case Answer::Yes:
    return "Yes";
  case Answer::No:
    break;
  }
  return "No";
}

void CliUserPort::message(const std::string &text) {
  err_ << text << '\n' << std::flush;
}

Answer CliUserPort::ask(const std::string &text, Buttons buttons) {
  if (buttons == Buttons::Ok) {
    message(text);
    return Answer::Ok;
  }
  if (options_.answer != PresetAnswer::None) {
    const Answer answer = presetAnswer(buttons);
    err_ << text << '\n'
         << "Answered " << answerName(answer) << " (--"
         << (options_.answer == PresetAnswer::Yes ? "yes" : "no") << ").\n"
         << std::flush;
    return answer;
  }
  if (!terminal_.interactive()) {
    message(text);
    return takeSafeAnswer(buttons, "no terminal to ask on");
  }
  return askTerminal(text, buttons);
}

Answer CliUserPort::presetAnswer(Buttons buttons) const {
  const bool yes = options_.answer == PresetAnswer::Yes;
  if (buttons == Buttons::OkCancel) {
    return yes ? Answer::Ok : Answer::Cancel;
  }
  return yes ? Answer::Yes : Answer::No;
}

Answer CliUserPort::askTerminal(const std::string &text, Buttons buttons) {
  const auto choices = choicesFor(buttons);
  const std::string prompt = text + choiceList(choices);
  while (const auto line = terminal_.readLine(prompt, false)) {
    if (const auto answer = parseChoice(*line, choices)) {
      return *answer;
    }
  }
  return takeSafeAnswer(buttons, "end of input");
}

Answer CliUserPort::takeSafeAnswer(Buttons buttons, std::string_view why) {
  const Answer answer = safeAnswer(buttons);
  err_ << "No answer given (" << why << "): taking " << answerName(answer)
       << ". Use --yes or --no to answer.\n"
       << std::flush;
  return answer;
}

void CliUserPort::noteUnanswered(std::string_view what) {
  err_ << what << ": no terminal to ask on; cancelled.\n" << std::flush;
}

std::optional<std::string> CliUserPort::askForFile(const FileSpec &spec) {
  if (!terminal_.interactive()) {
    noteUnanswered(spec.title);
    return std::nullopt;
  }
  std::string prompt = spec.title;
  if (!spec.filter.empty()) {
    prompt += " (" + spec.filter + ")";
  }
  if (!spec.defaultName.empty()) {
    prompt += " [" + (std::filesystem::path(spec.folder) / spec.defaultName).string() + "]";
  }
  const auto line = terminal_.readLine(prompt + ": ", false);
  if (!line) {
    return std::nullopt;
  }
  if (line->empty() && !spec.defaultName.empty()) {
    return (std::filesystem::path(spec.folder) / spec.defaultName).string();
  }
  return line->empty() ? std::nullopt : line;
}

std::optional<std::string> CliUserPort::openFile(const FileSpec &spec) {
  return askForFile(spec);
}

std::optional<std::string> CliUserPort::saveFile(const FileSpec &spec) {
  return askForFile(spec);
}

std::optional<std::string> CliUserPort::prompt(const PromptSpec &spec) {
  if (!terminal_.interactive()) {
    noteUnanswered(spec.title);
    return std::nullopt;
  }
  const std::string shown = spec.initial.empty() ? "" : " [" + spec.initial + "]";
  auto line = terminal_.readLine(spec.title + " - " + spec.label + shown + ": ", spec.secret);
  if (!line) {
    return std::nullopt;
  }
  if (line->empty()) {
    *line = spec.initial;
  }
  // The dialog's field takes no more than its limit.
  if (spec.maxLength > 0 && line->size() > static_cast<std::size_t>(spec.maxLength)) {
    line->resize(static_cast<std::size_t>(spec.maxLength));
  }
  if (spec.secret) {
    std::transform(line->begin(), line->end(), line->begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  }
  return line;
}

std::optional<PortChoice> CliUserPort::choosePort(const std::vector<std::string> &,
                                                  const std::vector<std::string> &,
                                                  const std::string &) {
  if (options_.port.empty()) {
    return std::nullopt;
  }
  return PortChoice{options_.port, options_.baud};
}

void CliUserPort::beep() {
  terminal_.beep();
}

} // namespace tarnwick::cli
