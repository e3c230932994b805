// The shared start-up of every command: the serial library bound, the byte
// trace, the context with the user, the device list and the shipped
// versions. Commands run against a started session.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "cli_user_port.h"
#include "exit_status.h"
#include "global_options.h"
#include "serial_backend.h"
#include "session.h"
#include "terminal.h"
#include "tracing_port.h"

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarnwick::cli {

// What a run talks to. main() passes the system's; tests their own.
struct CliEnvironment {
  std::ostream &out; // results
  std::ostream &err; // messages, questions, notes
  Terminal &terminal;
  SerialBackend &serial;
  std::vector<std::string> environmentPorts; // from TARNWICK_PORTS
  // Set by Ctrl-C: the running tool ends at its next wait.
  const CancelToken &interrupt;
};

class CliSession {
public:
  CliSession(const GlobalOptions &options, CliEnvironment &environment);
  CliSession(const CliSession &) = delete;
  CliSession &operator=(const CliSession &) = delete;

  // Binds the library and builds the context. A command that uses the
  // receiver reports a failed binding here, once. Returns kExitDone or the
  // status to end with.
  int start(bool usesReceiver);

  // Before a receiver operation: the library must be usable and a port named.
  // Nothing when the operation may go on, else the status to end with (the
  // reason has been shown).
  std::optional<int> refuseReceiverOperation();

  AppContext &context() { return state_->context(); }
  // The run's state, read from the working folder without writing to it.
  Session &state() { return *state_; }
  const CancelToken &interrupt() const { return environment_.interrupt; }
  // Whether devices were named (--port, TARNWICK_PORTS) beside the system's.
  bool namesPorts() const { return !namedPorts().empty(); }
  const GlobalOptions &options() const { return options_; }
  std::ostream &out() { return environment_.out; }
  std::ostream &err() { return environment_.err; }

private:
  bool openTrace();
  std::vector<std::string> namedPorts() const;

  const GlobalOptions &options_;
  CliEnvironment &environment_;
  CliUserPort user_;
  std::ofstream traceFile_;
  std::unique_ptr<TracingPort> tracingPort_;
  std::unique_ptr<Session> state_;
  bool bindingReported_ = false; // the serial library's failure has been shown
};

} // namespace tarnwick::cli
