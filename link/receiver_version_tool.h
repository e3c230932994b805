// The Receiver Software Version dialog apart from its controls: the field
// texts, and the query run on opening and on "Check Receiver Version".
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "model_catalogue.h"
#include "tool.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace tarnwick {

class ReceiverVersionTool final : public Tool {
public:
  static constexpr int kDialogId = 332;
  static constexpr std::string_view kCaption = "Receiver Software Version";
  static constexpr int kMainSoftwareField = 1253;
  static constexpr int kCheckButton = 1254;
  static constexpr int kModelField = 1255;
  static constexpr int kCompatibilityField = 1263;
  // The shipped values: field id and slot, in the order of the ids.
  static constexpr std::array<std::pair<int, VersionSlot>, 6> kShippedFields = {{
      {1257, VersionSlot::A},
      {1258, VersionSlot::C},
      {1259, VersionSlot::B},
      {1260, VersionSlot::F},
      {1261, VersionSlot::G},
      {1262, VersionSlot::H},
  }};
  static constexpr std::string_view kNoValue = "--";

  struct Snapshot {
    std::string mainSoftware{kNoValue};  // 1253
    std::string model{kNoValue};         // 1255
    std::string compatibility{kNoValue}; // 1263
    std::array<std::string, 6> shipped;  // 1257 … 1262
    bool busy = false;                   // a query is running
    std::string status;                  // what a running query waits for
    // The text of a field by its id; empty for other ids.
    std::string text(int controlId) const;
  };

  enum class QueryResult {
    Shown,        // model, version and compatibility written
    PortNotOpen,  // the ensure-open step ended the query
    NoAnswer,     // no "Y": message shown, port closed
    NoReply,      // no valid "locsw" reply: display unchanged
    UnknownModel, // code without a name: display unchanged
    Cancelled,    // the dialog was closed
    Busy,         // another tool holds the port; refused
  };

  explicit ReceiverVersionTool(AppContext &context) : context_(context) {}

  // Opening: the shipped values and "--" in the receiver fields.
  void open();
  // The port step (the Communication Options dialog when it is closed);
  // then the receiver fields show "--" until the query refills them (a query
  // that finds nothing puts the earlier values back).
  bool begin() override;
  // The query; cancel ends its waits.
  void run(const CancelToken &cancel) override;
  // How the last query ended.
  QueryResult result() const { return result_.load(); }
  // The whole query on this thread (the command line, the tests).
  QueryResult runQuery(const CancelToken &cancel);
  Snapshot snapshot() const;
  std::string statusText() const override;

private:
  QueryResult query(const CancelToken &cancel);
  void show(const ModelInfo &model, int softwareVersion);
  void setBusy(bool busy);
  void setStatus(StringId id);
  void clearReceiverFields();
  void restoreReceiverFields();

  AppContext &context_;
  mutable std::mutex mutex_;
  Snapshot snapshot_;
  std::array<std::string, 3> shownBefore_; // model, main software, compatibility
  std::atomic<QueryResult> result_{QueryResult::Busy};
};

} // namespace tarnwick
