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

// A candidate that did not open, with the error code of its open.
struct RefusedPort {
  std::string device;
  int error;
  bool operator==(const RefusedPort &) const = default;
};

// Everything the Communication Options dialog shows.
struct PortListing {
  std::vector<std::string> ports; // that opened, in order
  std::vector<std::string> rates;
  std::string selectedRate;
  std::vector<std::string> simulated; // listed ports that are simulated receivers
  std::vector<RefusedPort> refused;   // candidates that did not open, and why
};

class UserPort {
public:
  virtual ~UserPort() = default;
  virtual void message(const std::string &text) = 0;
  virtual Answer ask(const std::string &text, Buttons buttons) = 0;
  virtual std::optional<std::string> openFile(const FileSpec &spec) = 0;
  virtual std::optional<std::string> saveFile(const FileSpec &spec) = 0;
  // A save dialog whose typed name may have at most maxNameLength characters
  // before extension (".utl"): the dialog stops typing there and counts
  // down. By default the plain save dialog.
  virtual std::optional<std::string> saveFileLimited(const FileSpec &spec, int maxNameLength,
                                                     const std::string &extension) {
    (void)maxNameLength;
    (void)extension;
    return saveFile(spec);
  }
  virtual std::optional<std::string> prompt(const PromptSpec &spec) = 0;
  // Shows the Communication Options dialog over the listed ports; nullopt on Cancel.
  virtual std::optional<PortChoice> choosePort(const std::vector<std::string> &ports,
                                               const std::vector<std::string> &rates,
                                               const std::string &selectedRate) = 0;
  // The same dialog with what the listing says about the ports; by default
  // only the lists.
  virtual std::optional<PortChoice> choosePortFrom(const PortListing &listing) {
    return choosePort(listing.ports, listing.rates, listing.selectedRate);
  }
  virtual void beep() = 0;
};

} // namespace tarnwick
