// A UserPort that answers from a script and records everything shown, in
// order: the user of tests (and of unattended runs).
#pragma once

#include "user_port.h"

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

class ScriptedUser final : public UserPort {
public:
  enum class Kind { Message, Ask, OpenFile, SaveFile, Prompt, ChoosePort, Beep };

  struct Event {
    Kind kind = Kind::Message;
    std::string text;               // message or question; the title of a file dialog or prompt
    Buttons buttons = Buttons::Ok;  // Ask
    std::vector<std::string> ports; // ChoosePort: the listed ports
    std::vector<std::string> rates; // ChoosePort: the listed rates
    std::string selectedRate;       // ChoosePort
    bool scripted = true;           // false when no answer was queued
  };

  // Answers, taken in order by their kind of dialog. An unscripted dialog
  // gets the safe answer (Cancel for a question with Cancel, else No or OK;
  // nothing for file dialogs, prompts and the port dialog).
  void queueAnswer(Answer answer);
  void queueOpenFile(std::optional<std::string> path);
  void queueSaveFile(std::optional<std::string> path);
  void queuePrompt(std::optional<std::string> text);
  // An empty port or rate takes the dialog's selection (first port, selected rate).
  void queuePortChoice(std::optional<PortChoice> choice);

  std::vector<Event> events() const;
  std::vector<std::string> messages() const;
  std::size_t unscriptedCount() const;
  void clear();

  void message(const std::string &text) override;
  Answer ask(const std::string &text, Buttons buttons) override;
  std::optional<std::string> openFile(const FileSpec &spec) override;
  std::optional<std::string> saveFile(const FileSpec &spec) override;
  std::optional<std::string> prompt(const PromptSpec &spec) override;
  std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                       const std::vector<std::string> &rates,
                                       const std::string &selectedRate) override;
  void beep() override;

private:
  template <typename T> bool take(std::deque<T> &queue, T &answer);
  void record(Event event);

  mutable std::mutex mutex_;
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> openFiles_;
  std::deque<std::optional<std::string>> saveFiles_;
  std::deque<std::optional<std::string>> prompts_;
  std::deque<std::optional<PortChoice>> portChoices_;
  std::vector<Event> events_;
};

} // namespace tarnwick
