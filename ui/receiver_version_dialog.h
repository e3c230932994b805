// The Receiver Software Version dialog (resource 332). The query runs on a
// worker so the window stays responsive during its waits; closing the dialog
// cancels them.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "receiver_version_tool.h"

#include <QDialog>

#include <atomic>
#include <map>

class QLabel;
class QPushButton;
class QThread;

namespace tarnwick::ui {

class ReceiverVersionDialog final : public QDialog {
  Q_OBJECT
public:
  explicit ReceiverVersionDialog(AppContext &context, QWidget *parent = nullptr);
  ~ReceiverVersionDialog() override;

  // Starts the query unless one is running.
  void checkVersion();
  bool queryRunning() const;
  ReceiverVersionTool::QueryResult lastResult() const { return lastResult_; }

  void done(int result) override;

signals:
  void queryFinished(tarnwick::ReceiverVersionTool::QueryResult result);

protected:
  void showEvent(QShowEvent *event) override;

private:
  QWidget *makeShippedGroup();
  QWidget *makeReceiverGroup();
  QWidget *makeCompatibilityGroup();
  void refresh();
  void onWorkerFinished();
  void stopWorker();

  ReceiverVersionTool tool_;
  CancelToken cancel_;
  std::map<int, QLabel *> fields_;
  QPushButton *checkButton_ = nullptr;
  QThread *worker_ = nullptr;
  std::atomic<ReceiverVersionTool::QueryResult> workerResult_{
      ReceiverVersionTool::QueryResult::Busy};
  ReceiverVersionTool::QueryResult lastResult_ = ReceiverVersionTool::QueryResult::Busy;
  bool started_ = false;
};

} // namespace tarnwick::ui
