// Port settings: the Communication Options dialog's logic, the ensure-open
// step every receiver operation begins with, and the failure-close step.
#pragma once

#include "app_context.h"
#include "outcome.h"
#include "quillport_binding.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

inline constexpr std::array<std::string_view, 8> kBaudRates = {
    "9600", "19200", "38400", "57600", "115200", "230400", "460800", "921600"};
inline constexpr std::string_view kDefaultBaudRate = "38400";
inline constexpr int kProbeBaudRate = 38400; // ports are listed if they open at this rate

// Dialog resource 143 and its controls.
inline constexpr int kCommunicationOptionsDialogId = 143;
inline constexpr int kPortListId = 1002;
inline constexpr int kRateListId = 1094;
inline constexpr std::string_view kCommunicationOptionsCaption = "Communication Options";

// The device to open for a port as listed (on Linux the listed path itself).
std::string deviceNameFor(const std::string &port);
// The decimal value of a rate text; 0 when it is not a number.
int baudValue(std::string_view rate);

struct ProbeResult {
  std::vector<std::string> ports;            // opened at the probe rate, in order
  std::vector<std::string> permissionDenied; // refused with EACCES
  std::vector<RefusedPort> refused;          // every candidate that did not open, in order
};

// Sets the probe rate, then close/open for each candidate, then close.
ProbeResult probePorts(PortApi &port, const std::vector<std::string> &candidates);

// The text explaining a port refused for lack of permission.
std::string permissionExplanation(const StringTable &strings, const std::string &device);

class CommunicationOptions {
public:
  explicit CommunicationOptions(AppContext &context) : context_(context) {}

  // Opening: probes the candidates and fills the lists.
  void open();
  const std::vector<std::string> &ports() const { return probe_.ports; }
  const std::vector<std::string> &permissionDenied() const { return probe_.permissionDenied; }
  std::vector<std::string> rates() const;
  std::string selectedPort() const; // the first listed, or empty
  std::string selectedRate() const { return std::string(kDefaultBaudRate); }

  // OK: sets the rate and opens the port; returns whether it is open.
  bool accept(const PortChoice &choice);

  // The whole showing: open(), the user's choice, then accept() on OK.
  // Returns false on Cancel.
  bool show();

private:
  AppContext &context_;
  ProbeResult probe_;
};

enum class EnsureOpenForm {
  Standard, // Cancel: 61283; still closed: 61284
  Second,   // Cancel: silent; still closed: 61361
};

// The first step of ensurePortOpen: whether the serial library is usable;
// when it is not, the user is told why.
bool serialLibraryUsable(AppContext &context);

// Shows the Communication Options dialog when the port is not open. Returns
// whether the operation may go on.
bool ensurePortOpen(AppContext &context, EnsureOpenForm form = EnsureOpenForm::Standard);

// Start-up: records whether the serial library is usable and, when it is not,
// tells the user once. Returns whether it is usable.
bool reportBinding(AppContext &context, const BindingStatus &status);

// After a receiver failed to answer: clear the flag and close the port.
void failureClose(AppContext &context);
// Shows the message, then the failure-close step.
void failWithMessage(AppContext &context, StringId message);
// The common ending of an exchange that did not succeed: nothing when it was
// cancelled (the port stays as it is); otherwise the message (61274 for a
// failed write, silentMessage for a silent or wrong reply) and the
// failure-close step.
void endExchange(AppContext &context, Outcome outcome, StringId silentMessage);

} // namespace tarnwick
