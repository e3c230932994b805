// The Download Templates dialog apart from its controls, for one kind of
// template: the templates of a PC folder beside those in the receiver
// (staged in "LocDrive"), the set composed with ">>", Remove and Remove All,
// and the download of that set.
//
// Two tools talk to the receiver: reading() (on opening and Refresh) and
// downloading() (Download selected files to Locator). The GUI's runner calls
// their begin() and onTimer() on the interface thread and run() on a worker
// while it shows snapshot(); the command line and the tests run them whole
// with readReceiver() and download().
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "console.h"
#include "template_staging.h"
#include "template_transfer.h"
#include "tool.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TemplateDownload {
public:
  // Dialog 232 and its controls.
  static constexpr int kDialogId = 232;
  static constexpr std::string_view kCaption = "Download Templates";
  static constexpr int kFolderTree = 1140;
  static constexpr int kAvailableList = 1141;
  static constexpr int kReceiverList = 1142;
  static constexpr int kAddButton = 1143; // ">>"
  static constexpr int kRemoveButton = 1144;
  static constexpr int kRemoveAllButton = 1145;
  static constexpr int kTemplateFolderEdit = 1147;
  static constexpr int kApplyChangeButton = 1148;
  static constexpr int kDownloadButton = 1150;
  static constexpr int kStatusLine = 1154;
  static constexpr int kProgressBar = 1155;
  static constexpr int kCancelDownloadButton = 1156;
  static constexpr int kBrowseButton = 1186;
  static constexpr int kRefreshButton = 1187;
  static constexpr int kExitButton = 2;
  static constexpr int kTimerMs = 200;
  static constexpr std::string_view kAddText = ">>";
  static constexpr std::string_view kAvailableTitle = "Templates available";
  static constexpr std::string_view kReceiverTitle = "Template(s) in Receiver";
  static constexpr std::string_view kDownloadText = "Download selected files to Locator";
  static constexpr std::string_view kCancelDownloadText = "Cancel Download";

  enum class ReadResult {
    Read,          // the receiver's templates are staged and listed
    NotRead,       // trace templates this receiver's software does not give: none listed
    PortNotOpen,   // 61283 / 61284
    NoAnswer,      // 61285, port closed
    WriteFailed,   // 61274, port closed
    UnknownModel,  // a model code outside every family: silent
    VersionLower,  // 193
    StagingFailed, // the staging folder could not be emptied or a file written
    Cancelled,     // the dialog was closed
    Busy,          // another tool holds the port
  };

  enum class DownloadResult {
    Completed,       // every template acknowledged
    NothingSelected, // 61288
    Refused,         // a template cannot be sent whole; nothing was sent
    InProgress,      // 61287
    PortNotOpen,     // 61283 / 61284
    NoAnswer,        // 61285, port closed
    NotAcknowledged, // 61290 once the resends were spent
    WriteFailed,     // 61274, port closed
    Cancelled,       // the dialog was closed
    Busy,            // another tool holds the port
  };

  struct Snapshot {
    TemplateKind kind = TemplateKind::Marker;
    std::filesystem::path templateFolder;  // 1147
    std::vector<TemplateEntry> available;  // 1141
    std::vector<TemplateEntry> inReceiver; // 1142
    std::string status;                    // 1154
    std::vector<std::string> statusLog;    // every status text since opening, in order
    bool progressVisible = false;          // 1155
    int progressMax = 0;
    int progressPosition = 0;
    std::size_t itemsDone = 0;            // templates acknowledged in this download
    double bytesPerSecond = 0;            // template bytes so far
    std::optional<std::int64_t> msLeft;   // at that rate, once one template went
    bool busy = false;                    // the download's state 0
    std::optional<ReadResult> readResult; // of the last reading
    std::optional<DownloadResult> downloadResult;

    // Download and Exit while idle, Cancel Download while busy; the rest always.
    bool enabled(int controlId) const;
  };

  TemplateDownload(AppContext &context, TemplateKind kind, std::filesystem::path templateFolder);
  TemplateDownload(const TemplateDownload &) = delete;
  TemplateDownload &operator=(const TemplateDownload &) = delete;

  // Opening: status 61281 and the left list; reading() follows.
  void open();
  // Apply Change or Browse: another template folder for the left list.
  void setTemplateFolder(std::filesystem::path folder);
  // Refresh: status 61296 and an empty right list; reading() follows.
  void refresh();

  // ">>": each selected left entry not yet on the right (by its text) goes
  // there, until the receiver's limit stops it with 61282. False then.
  bool addSelected(const std::vector<std::size_t> &selected);
  void removeSelected(const std::vector<std::size_t> &selected);
  void removeAll();
  // The right list becomes files, in order; more than the receiver holds:
  // 61282, the list unchanged and false.
  bool chooseFiles(const std::vector<std::filesystem::path> &files);
  // Cancel Download: the warning with OK; the download goes on.
  void cancelDownload();

  Tool &reading() { return reading_; }
  Tool &downloading() { return downloading_; }
  ReadResult readReceiver(const CancelToken &cancel);
  DownloadResult download(const CancelToken &cancel);

  Snapshot snapshot() const;
  const std::filesystem::path &staging() const { return staging_; }
  // 61282 with the kind's limit and "!!!".
  std::string limitText() const;

private:
  class Reading final : public Tool {
  public:
    explicit Reading(TemplateDownload &owner) : owner_(owner) {}
    bool begin() override;
    void run(const CancelToken &cancel) override;
    void onTimer() override;

  private:
    TemplateDownload &owner_;
  };
  class Downloading final : public Tool {
  public:
    explicit Downloading(TemplateDownload &owner) : owner_(owner) {}
    bool begin() override;
    void run(const CancelToken &cancel) override;

  private:
    TemplateDownload &owner_;
  };

  ReadResult ReadReceiverTemplates(Console &console);
  ReadResult readTable(Console &console);
  ReadResult communicationEnded(Console &console, Outcome outcome);
  ReadResult stagingFailed(const StageReport &report);
  bool beginDownload();
  DownloadResult runDownload(Console &console);
  DownloadResult downloadEnded(Console &console, const SendReport &report);
  SendObserver progressObserver();
  void SetUiState(int mode);

  void setStatus(const std::string &text);
  void setStatus(StringId id) { setStatus(context_.text(id)); }
  void showProgress(bool visible, int max, int position);
  void countSent(std::size_t sent);
  void setReadResult(ReadResult result);
  void setDownloadResult(DownloadResult result);
  void fillAvailable();

  AppContext &context_;
  const TemplateKind kind_;
  const std::filesystem::path staging_;
  mutable std::mutex mutex_;
  Snapshot snapshot_;
  std::atomic<bool> downloadRunning_{false};
  std::vector<OutgoingTemplate> outgoing_; // taken by beginDownload(), sent by the worker
  std::int64_t downloadStartMs_ = 0;
  Reading reading_{*this};
  Downloading downloading_{*this};
};

} // namespace tarnwick
