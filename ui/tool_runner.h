// Runs a core tool for a dialog, the same way for every tool: begin() on the
// interface thread, run() on a worker while a timer lets the dialog show the
// tool's snapshot, and onTimer() once the worker has ended. The port lease of
// the session refuses a second tool while one talks to the receiver. Dialogs
// never own threads.
#pragma once

#include "cancel_token.h"
#include "port_lease.h"
#include "tool.h"

#include <QObject>
#include <QTimer>

class QThread;

namespace tarnwick::ui {

class ToolRunner final : public QObject {
  Q_OBJECT
public:
  static constexpr int kTickMs = 100;

  explicit ToolRunner(PortLease &lease, QObject *parent = nullptr);
  ~ToolRunner() override;

  // Starts tool unless a tool runs already (here or elsewhere). Returns
  // whether its worker was started; begin() may also end the tool at once.
  bool start(Tool &tool);
  bool running() const { return worker_ != nullptr; }

  // Cancels the worker's waits and lets it end, keeping events flowing
  // meanwhile (the worker may be waiting for a message it asked the interface
  // thread to show). The follow-up is left out: the dialog is going away.
  void stop();

signals:
  // While the worker runs, every kTickMs.
  void tick();
  // The worker has ended and the follow-up has run (or begin() ended the tool).
  void finished();

private:
  void endWorker(bool followUp);

  PortLease &lease_;
  Tool *tool_ = nullptr;
  QThread *worker_ = nullptr;
  CancelToken cancel_;
  QTimer timer_;
};

} // namespace tarnwick::ui
