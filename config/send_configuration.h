// Sending a configuration to the receiver: the port, the liveness check, the
// identity with its version and model checks, then every list as a command
// line the receiver confirms with ACK, and the restart.
//
// A tool: the GUI's runner calls begin() on its own thread and run() on a
// worker, reading snapshot() from its timer; tests and the command line call
// send().
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "configuration_tables.h"
#include "console.h"
#include "setting_list.h"
#include "tool.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// What is sent: the model selected in the editor and the current lists.
struct ConfigurationToSend {
  ModelIndex model = kDefaultModel;
  SettingLists lists;
};

// One command line of the sequence.
struct PlannedLine {
  std::string text;              // without the "\r"
  bool advancesProgress = false; // the last line of a progress step
  int pauseBeforeMs = 0;
};

// Each entry gives " 1" or " 0". Plain: Enabled. Mask: Masked or Unavailable.
// Lock (the auxiliary entries of "pcmaux"/"pcmtaux", the slot masks): Masked.
bool plainValue(SettingState state);
bool maskValue(SettingState state);
bool lockValue(SettingState state);
// How many values the receiver takes for a list; shorter lists are padded
// with " 0".
int sentValueCount(ListId list);
// The slots holding a frequency in slot order, then the others (0 to 3).
std::vector<int> userSlotOrder(const SettingList &locateUser);
// "udf <count> <f1> ..." for the set slots; nothing when none is set.
std::optional<std::string> userFrequencyLine(const SettingList &locateUser);
// Every line after "kb 12" and before "swreset", in order.
std::vector<PlannedLine> planConfigurationLines(const ConfigurationToSend &configuration);

class SendConfiguration final : public Tool {
public:
  static constexpr int kGapMs = cmd::kGapDefaultMs; // after each byte of a line
  static constexpr int kAckBoundMs = 35000;         // ACK after a configuration line
  static constexpr int kIdentityBoundMs = 35000;    // 0xD5 after "locsw"
  static constexpr int kUserFrequencyPauseMs = 200; // before the user frequencies
  static constexpr int kResetPauseMs = 500;         // before "swreset"
  static constexpr int kRevisionBoundMs = 35000;    // the banner after "swreset"
  static constexpr int kProgressSteps = 14;

  enum class Result {
    Completed,         // "Download completed successfully!"
    RestartNotSeen,    // everything confirmed; "Please restart unit to continue... "
    PortNotOpen,       // 61283 / 61284
    NoAnswer,          // no "Y": 61285, port closed
    VersionLower,      // 194
    VersionHigher,     // 61339
    ModelMismatch,     // "Receiver Model (...) does not match ..."
    VersionNotKnown,   // a model code outside every version group: silent
    ProblemInDownload, // an ACK did not come: "Problem in download"
    WriteFailed,       // the port refused a byte: 61274, port closed
    Cancelled,         // the dialog was closed
    Busy,              // another tool holds the port; refused
  };

  struct Snapshot {
    std::optional<std::string> status;  // the status line, once the send has set it
    std::vector<std::string> statusLog; // every status text of the last send, in order
    bool progressVisible = false;
    int progressMax = kProgressSteps;
    int progressPosition = 0;
    bool running = false;
    std::optional<Result> result; // of the last send
  };

  explicit SendConfiguration(AppContext &context) : context_(context) {}

  // What the next begin()/run() sends; refused (false) while a send runs.
  bool prepare(ConfigurationToSend configuration);
  // On the interface thread: the Communication Options dialog when the port
  // is not open. False when the send ends here (message shown).
  bool begin() override;
  // The rest; cancel ends its waits.
  void run(const CancelToken &cancel) override;
  // prepare(), then the whole send on this thread holding the port lease.
  Result send(const ConfigurationToSend &configuration, const CancelToken &cancel);

  Snapshot snapshot() const;
  bool running() const { return running_.load(); }

private:
  Result execute(Console &console);
  std::optional<Result> checkIdentity(Console &console);
  Result sendLines(Console &console);
  Result restart(Console &console);
  Result failedSend(Console &console, Outcome outcome);
  std::string mismatchMessage(int code) const;
  void finish(Result result);

  void setStatus(StringId id);
  void showProgress(bool visible, int position);
  void advanceProgress();

  AppContext &context_;
  ConfigurationToSend configuration_;
  std::atomic<bool> running_{false};
  mutable std::mutex mutex_;
  Snapshot snapshot_;
};

} // namespace tarnwick
