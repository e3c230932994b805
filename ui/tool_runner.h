// Runs a core tool for a dialog, the same way for every tool: begin() on the
// interface thread, run() on a worker while a timer lets the dialog show the
// tool's snapshot, and onTimer() once the worker has ended. The port lease of
// the session refuses a second tool while one talks to the receiver. Dialogs
// never own threads. While the worker runs the cursor shows busy and the
// link's activity (for the main screen's status bar) says what it waits for.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "port_lease.h"
#include "string_ids.h"
#include "tool.h"

#include <QObject>
#include <QString>
#include <QTimer>

class QThread;

namespace tarnwick::ui {

class ToolRunner final : public QObject {
  Q_OBJECT
public:
  static constexpr int kTickMs = 100;

  explicit ToolRunner(AppContext &context, QObject *parent = nullptr);
  // Without a context: no activity is reported and closing never asks.
  explicit ToolRunner(PortLease &lease, QObject *parent = nullptr);
  ~ToolRunner() override;

  // Starts tool unless a tool runs already (here or elsewhere). Returns
  // whether its worker was started; begin() may also end the tool at once.
  // stopQuestion: what closing the dialog asks while the worker runs (a tool
  // that changes the unit says what stopping means); 0 asks nothing.
  bool start(Tool &tool, StringId stopQuestion = 0);
  bool running() const { return worker_ != nullptr; }

  // Whether the dialog may close now: true unless the worker runs and the
  // user, asked its stop question, says No.
  bool mayStop();

  // Cancels the worker's waits and lets it end, keeping events flowing
  // meanwhile (the worker may be waiting for a message it asked the interface
  // thread to show). The follow-up is left out: the dialog is going away.
  void stop();

signals:
  // While the worker runs, every kTickMs.
  void tick();
  // The worker has ended and the follow-up has run (or begin() ended the tool).
  void finished();
  // What the running tool waits for, whenever that changes (empty at the end).
  void statusChanged(const QString &status);

private:
  void onTick();
  void endWorker(bool followUp);
  void showBusy(bool busy);

  AppContext *context_ = nullptr;
  PortLease &lease_;
  Tool *tool_ = nullptr;
  QThread *worker_ = nullptr;
  CancelToken cancel_;
  QTimer timer_;
  StringId stopQuestion_ = 0;
  QString status_;
  bool busyCursor_ = false;
};

} // namespace tarnwick::ui
