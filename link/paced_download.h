// What the long downloads to the receiver share (the glossary, the user list
// and the description list, and those that follow): the port step on the
// interface thread; on the worker the liveness check and "kb 12", then a plan
// of paced steps, each acknowledged by the receiver, and the status texts,
// progress and figures the dialog's timer shows.
//
// A tool (tool.h): the GUI's runner calls begin() and run(); the command line
// and the tests call download().
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "console.h"
#include "paced_exchange.h"
#include "tool.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

enum class DownloadResult {
  Completed,       // every step acknowledged
  PortNotOpen,     // the ensure-open step ended it (61283 / 61284)
  NoAnswer,        // no "Y": 61285, port closed
  NotAcknowledged, // an ACK did not come; the status says where
  WriteFailed,     // the port refused a byte: 61274, port closed
  Cancelled,       // the dialog was closed or the program quit
  Busy,            // another tool holds the port; refused with 61287
  NothingChosen,   // nothing to send was chosen; refused before the port step
};

// One step of a download: a paced exchange with at most one wait for the
// receiver's ACK.
struct DownloadStep {
  PacedExchange exchange;
  std::optional<int> progress; // the progress position as the step begins
  std::string failure;         // the status when its ACK does not come
};

struct DownloadPlan {
  bool flushBeforeAlive = false; // the input purged before "ruAlive"
  int settleMs = 0;              // the pause after "kb 12"
  int progressMax = 0;
  bool hideProgressAtEnd = true;
  std::vector<DownloadStep> steps;
  std::vector<std::string> completion; // the status texts once every step went through
  int pauseAfterCompletionMs = 0;

  // The liveness check, "kb 12" and the pause after it.
  PacedExchange opening() const;
  // Every pause and gap the download owes the receiver, the opening included.
  std::int64_t mandatedMs() const;
  // The steps that wait for an ACK.
  std::size_t acknowledgedItems() const;
};

// A command line as SendCommandLine writes it: text + "\r", gapMs after each
// byte and once more.
PacedExchange commandLineExchange(std::string_view text, int gapMs);

struct DownloadSnapshot {
  std::optional<std::string> status;  // the status line, once the download has set it
  std::vector<std::string> statusLog; // every status text of the last download, in order
  bool busy = false;                  // Download and Exit disabled, Cancel enabled
  bool progressVisible = false;
  int progressMax = 0;
  int progressPosition = 0;
  std::size_t itemsDone = 0; // acknowledged steps
  std::size_t itemsTotal = 0;
  double itemsPerSecond = 0;
  std::int64_t msLeft = 0; // the pacing still owed to the receiver: the least time left
  bool running = false;
  bool done = false; // ended with success: the dialog closes itself
  std::optional<DownloadResult> result;
};

class PacedDownload : public Tool {
public:
  explicit PacedDownload(AppContext &context) : context_(context) {}

  // The port step; then the plan is taken from the data to send.
  bool begin() override;
  // The opening and the steps; cancel ends them at the next wait.
  void run(const CancelToken &cancel) override;
  // The whole download on this thread, holding the port lease.
  DownloadResult download(const CancelToken &cancel);

  // Cancel Download: the warning only; the download goes on.
  void warnCancel();
  // A download asked for while another runs: refused with 61287.
  void refuse();

  DownloadSnapshot snapshot() const;
  // The pacing of the plan begin() took; 0 before.
  std::int64_t mandatedMs() const;

protected:
  // The steps for the data as it is now, on the interface thread.
  virtual DownloadPlan makePlan() = 0;
  // Whether there is something to send; when not, the tool has said so.
  virtual bool chosen() { return true; }
  void setStatus(std::string text);
  AppContext &context_;

private:
  DownloadResult execute(Console &console);
  DownloadResult openingFailed(Outcome outcome);
  DownloadResult stepFailed(const DownloadStep &step, Outcome outcome);
  void stepDone(const DownloadStep &step, std::int64_t startMs);
  void showProgress(int position);
  void finish(DownloadResult result);

  DownloadPlan plan_; // set by begin(), read by the worker
  std::int64_t mandatedTotalMs_ = 0;
  std::int64_t mandatedDoneMs_ = 0; // worker only
  mutable std::mutex mutex_;
  DownloadSnapshot snapshot_;
  std::atomic<bool> running_{false};
};

} // namespace tarnwick
