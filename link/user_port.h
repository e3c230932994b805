// How a tool reaches the user: message boxes, questions, file dialogs, prompts
// and the Communication Options dialog. The GUI, the command line and the
// tests each implement it; tools never talk to widgets.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

enum class Answer { Ok, Cancel, Yes, No };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

struct FileSpec {
  std::string title;
  std::string filter;      // e.g. "Configuration files (*.cfg)"
  std::string folder;      // starting folder
  std::string defaultName; // proposed file name
};

struct PromptSpec {
  std::string title;
  std::string label;
  std::string initial;
  int maxLength = 0;   // 0: no limit
  bool secret = false; // password field: hidden, upper case
};

// What the Communication Options dialog returns on OK.
struct PortChoice {
  std::string port; // as listed, e.g. "/dev/ttyUSB0" or "COM3"
  std::string rate; // e.g. "38400"
};

class UserPort {
public:
  virtual ~UserPort() = default;
  virtual void message(const std::string &text) = 0;
  virtual Answer ask(const std::string &text, Buttons buttons) = 0;
  virtual std::optional<std::string> openFile(const FileSpec &spec) = 0;
  virtual std::optional<std::string> saveFile(const FileSpec &spec) = 0;
  virtual std::optional<std::string> prompt(const PromptSpec &spec) = 0;
  // Shows the Communication Options dialog over the listed ports; nullopt on Cancel.
  virtual std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                               const std::vector<std::string> &rates,
                                               const std::string &selectedRate) = 0;
  virtual void beep() = 0;
};

} // namespace tarnwick
