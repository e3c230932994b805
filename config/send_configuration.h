// Sending a configuration to the receiver: the port, the liveness check, the
// identity with its version and model checks, then every list as a command
// line the receiver confirms with ACK, and the restart.
//
// The GUI runs openPort() on its own thread and run() on a worker, reading
// snapshot() from its timer; tests and the command line call send().
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "configuration_tables.h"
#include "console.h"
#include "setting_list.h"

#include <atomic>
#include <functional>
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

class SendConfiguration {
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
    Cancelled,         // the dialog was closed
    Busy,              // a send is already running; refused
  };

  struct Snapshot {
    std::optional<std::string> status; // the status line, once the send has set it
    bool progressVisible = false;
    int progressMax = kProgressSteps;
    int progressPosition = 0;
    bool running = false;
    std::optional<Result> result; // of the last send
  };

  explicit SendConfiguration(AppContext &context) : context_(context) {}

  // Step one, on the interface thread: the Communication Options dialog when
  // the port is not open. False when the send ends here (message shown).
  bool openPort();
  // The rest, runnable on a worker; cancel ends its waits.
  Result run(const ConfigurationToSend &configuration, const CancelToken &cancel);
  // Both, one after the other.
  Result send(const ConfigurationToSend &configuration, const CancelToken &cancel);

  Snapshot snapshot() const;
  bool running() const { return running_.load(); }
  // Called with every new status text (from the thread that sets it).
  void setStatusListener(std::function<void(const std::string &)> listener);

  // A line flushed and paced byte by byte, then the ACK awaited. On failure
  // the progress bar is reset and hidden and the status is "Problem in
  // download".
  bool AckWait(Console &console, std::string_view line);

private:
  Result execute(const ConfigurationToSend &configuration, Console &console);
  std::optional<Result> checkIdentity(const ConfigurationToSend &configuration, Console &console);
  Result sendLines(const ConfigurationToSend &configuration, Console &console);
  Result restart(Console &console);
  std::string mismatchMessage(int code) const;
  Result finish(Result result);

  void setStatus(StringId id);
  void showProgress(bool visible, int position);
  void advanceProgress();

  AppContext &context_;
  std::atomic<bool> running_{false};
  mutable std::mutex mutex_;
  Snapshot snapshot_;
  std::function<void(const std::string &)> listener_;
};

} // namespace tarnwick
