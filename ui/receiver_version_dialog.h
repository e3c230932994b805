// The Receiver Software Version dialog (resource 332). The query runs on a
// worker so the window stays responsive during its waits; closing the dialog
// cancels them.
#pragma once

#include "app_context.h"
#include "receiver_version_tool.h"
#include "tool_runner.h"
#include "ui_text.h"

#include <QDialog>

#include <map>

class QLabel;
class QPushButton;

namespace tarnwick::ui {

class ReceiverVersionDialog final : public QDialog {
  Q_OBJECT
public:
  explicit ReceiverVersionDialog(AppContext &context, QWidget *parent = nullptr);
  ~ReceiverVersionDialog() override;

  // Starts the query unless one is running.
  void checkVersion();
  bool queryRunning() const { return runner_.running(); }
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
  void onQueryFinished();

  ReceiverVersionTool tool_;
  DialogTexts texts_;
  ToolRunner runner_;
  std::map<int, QLabel *> fields_;
  QPushButton *checkButton_ = nullptr;
  QLabel *status_ = nullptr;
  ReceiverVersionTool::QueryResult lastResult_ = ReceiverVersionTool::QueryResult::Busy;
  bool started_ = false;
};

} // namespace tarnwick::ui
