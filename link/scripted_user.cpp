#include "scripted_user.h"

namespace tarnwick {

namespace {

Answer safeAnswer(Buttons buttons) {
  switch (buttons) {
  case Buttons::OkCancel:
  case Buttons::YesNoCancel:
    return Answer::Cancel;
  case Buttons::YesNo:
    return Answer::No;
  case Buttons::Ok:
    break;
  }
  return Answer::Ok;
}

ScriptedUser::Event makeEvent(ScriptedUser::Kind kind, std::string text, bool scripted = true) {
  ScriptedUser::Event event;
  event.kind = kind;
  event.text = std::move(text);
  event.scripted = scripted;
  return event;
}

} // namespace

template <typename T> bool ScriptedUser::take(std::deque<T> &queue, T &answer) {
  if (queue.empty()) {
    return false;
  }
  answer = std::move(queue.front());
  queue.pop_front();
  return true;
}

void ScriptedUser::record(Event event) {
  events_.push_back(std::move(event));
}

void ScriptedUser::queueAnswer(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedUser::queueOpenFile(std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  openFiles_.push_back(std::move(path));
}

void ScriptedUser::queueSaveFile(std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  saveFiles_.push_back(std::move(path));
}

void ScriptedUser::queuePrompt(std::optional<std::string> text) {
  std::lock_guard lock(mutex_);
  prompts_.push_back(std::move(text));
}

void ScriptedUser::queuePortChoice(std::optional<PortChoice> choice) {
  std::lock_guard lock(mutex_);
  portChoices_.push_back(std::move(choice));
}

std::vector<ScriptedUser::Event> ScriptedUser::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<std::string> ScriptedUser::messages() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const auto &event : events_) {
    if (event.kind == Kind::Message) {
      texts.push_back(event.text);
    }
  }
  return texts;
}

std::size_t ScriptedUser::unscriptedCount() const {
  std::lock_guard lock(mutex_);
  std::size_t count = 0;
  for (const auto &event : events_) {
    count += event.scripted ? 0 : 1;
  }
  return count;
}

void ScriptedUser::clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

void ScriptedUser::message(const std::string &text) {
  std::lock_guard lock(mutex_);
  record(makeEvent(Kind::Message, text));
}

Answer ScriptedUser::ask(const std::string &text, Buttons buttons) {
  std::lock_guard lock(mutex_);
  Answer answer = safeAnswer(buttons);
  const bool scripted = take(answers_, answer);
  Event event = makeEvent(Kind::Ask, text, scripted);
  event.buttons = buttons;
  record(std::move(event));
  return answer;
}

std::optional<std::string> ScriptedUser::openFile(const FileSpec &spec) {
  std::lock_guard lock(mutex_);
  std::optional<std::string> path;
  const bool scripted = take(openFiles_, path);
  record(makeEvent(Kind::OpenFile, spec.title, scripted));
  return path;
}

std::optional<std::string> ScriptedUser::saveFile(const FileSpec &spec) {
  std::lock_guard lock(mutex_);
  std::optional<std::string> path;
  const bool scripted = take(saveFiles_, path);
  record(makeEvent(Kind::SaveFile, spec.title, scripted));
  return path;
}

std::optional<std::string> ScriptedUser::prompt(const PromptSpec &spec) {
  std::lock_guard lock(mutex_);
  std::optional<std::string> text;
  const bool scripted = take(prompts_, text);
  record(makeEvent(Kind::Prompt, spec.title, scripted));
  return text;
}

std::optional<PortChoice> ScriptedUser::choosePort(const std::vector<std::string> &ports,
                                                   const std::vector<std::string> &rates,
                                                   const std::string &selectedRate) {
  std::lock_guard lock(mutex_);
  std::optional<PortChoice> choice;
  const bool scripted = take(portChoices_, choice);
  Event event = makeEvent(Kind::ChoosePort, {}, scripted);
  event.buttons = Buttons::OkCancel;
  event.ports = ports;
  event.rates = rates;
  event.selectedRate = selectedRate;
  record(std::move(event));
  if (choice && choice->port.empty() && !ports.empty()) {
    choice->port = ports.front();
  }
  if (choice && choice->rate.empty()) {
    choice->rate = selectedRate;
  }
  return choice;
}

void ScriptedUser::beep() {
  std::lock_guard lock(mutex_);
  record(makeEvent(Kind::Beep, {}));
}

} // namespace tarnwick
