// The dialogs of the long downloads to the receiver: Glossary Download (238),
// Favorite User List Download (236) and Download Description List (239).
// Each shows a PacedDownload's snapshot on the runner's tick: the status
// line, the progress bar and a line of figures under it (items done, rate,
// time left). Every opening starts a download; closing ends it at its next
// wait.
#pragma once

#include "app_context.h"
#include "description_list_download.h"
#include "glossary_download.h"
#include "tool_runner.h"
#include "user_list_download.h"

#include <QDialog>

#include <memory>
#include <string>
#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarnwick::ui {

// The controls that differ between the three dialogs.
struct DownloadDialogFace {
  int dialogId;
  std::string_view caption;
  int downloadId;
  StringId downloadText;
  int cancelId;
  StringId cancelText;
  int exitId;
  StringId exitText;
  bool closeOnSuccess; // the list dialogs close with OK once the download went through
};

class DownloadDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kProgressBar = 1096;
  static constexpr int kStatusLine = 1097;
  static constexpr int kFiguresLine = 1098; // under the progress bar

  DownloadDialog(AppContext &context, std::unique_ptr<PacedDownload> tool,
                 const DownloadDialogFace &face, QWidget *parent = nullptr);
  ~DownloadDialog() override;

  // Starts a download; one asked for while another runs is refused.
  void startDownload();
  bool downloading() const { return runner_.running(); }
  DownloadSnapshot snapshot() const { return tool_->snapshot(); }

  void done(int result) override;

signals:
  void downloadFinished();

protected:
  void showEvent(QShowEvent *event) override;

private:
  void refresh();
  void onFinished();
  QString figures(const DownloadSnapshot &snapshot) const;

  AppContext &context_;
  std::unique_ptr<PacedDownload> tool_;
  ToolRunner runner_;
  bool closeOnSuccess_;
  QLabel *status_ = nullptr;
  QProgressBar *progress_ = nullptr;
  QLabel *figures_ = nullptr;
  QPushButton *download_ = nullptr;
  QPushButton *cancel_ = nullptr;
  QPushButton *exit_ = nullptr;
};

// Long-lived: kept by its owner and shown again for each download of the
// glossary in use.
DownloadDialog *makeGlossaryDownloadDialog(AppContext &context, const Glossary &glossary,
                                           QWidget *parent);
// Each sends the named list of the store.
DownloadDialog *makeUserListDownloadDialog(AppContext &context, const UserListStore &store,
                                           std::string list, QWidget *parent);
DownloadDialog *makeDescriptionListDownloadDialog(AppContext &context, UserListStore &store,
                                                  std::string list, QWidget *parent);

} // namespace tarnwick::ui
