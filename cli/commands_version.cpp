// version: the Receiver Software Version dialog on the command line: the
// receiver's model, main software and path-mode compatibility, then the
// software versions this installation ships.
#include "cli_app.h"
#include "command_groups.h"
#include "json_output.h"
#include "receiver_version_tool.h"

#include <charconv>
#include <string_view>

namespace tarnwick::cli {

namespace {

using Tool = ReceiverVersionTool;
using Result = Tool::QueryResult;

// The dialog shows nothing for these; the command line must not look like
// success, so it says why it fails.
constexpr std::string_view kNoReplyNote = "The receiver sent no valid reply to \"locsw\".";
constexpr std::string_view kUnknownModelNote =
    "The receiver reported a model code this program does not know.";

std::string_view resultName(Result result) {
  switch (result) {
  case Result::Shown:
    return "shown";
  case Result::PortNotOpen:
    return "portNotOpen";
  case Result::NoAnswer:
    return "noAnswer";
  case Result::NoReply:
    return "noReply";
  case Result::UnknownModel:
    return "unknownModel";
  case Result::Cancelled:
    return "cancelled";
  case Result::Busy:
    break;
  }
  return "busy";
}

int exitStatusFor(Result result) {
  switch (result) {
  case Result::Shown:
    return kExitDone;
  case Result::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

void noteSilentFailure(CliSession &session, Result result) {
  if (result == Result::NoReply) {
    session.err() << kNoReplyNote << '\n';
  } else if (result == Result::UnknownModel) {
    session.err() << kUnknownModelNote << '\n';
  }
}

char slotLetter(VersionSlot slot) {
  return static_cast<char>('A' + static_cast<int>(slot));
}

void printText(CliSession &session, const Tool::Snapshot &shown) {
  std::ostream &out = session.out();
  out << "Receiver Model: " << shown.model << '\n';
  out << "Receiver Main Software: " << shown.mainSoftware << '\n';
  out << shown.compatibility << '\n';
  for (std::size_t i = 0; i < Tool::kShippedFields.size(); ++i) {
    out << slotLabel(Tool::kShippedFields[i].second) << ' ' << shown.shipped[i] << '\n';
  }
}

// A field the dialog keeps at "--" has no value.
JsonDocument textOrNull(const std::string &text) {
  return text == Tool::kNoValue ? JsonDocument() : JsonDocument(text);
}

// The versions are shown as whole numbers; anything else has no value.
JsonDocument numberOrNull(const std::string &text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? JsonDocument(value)
                                                                  : JsonDocument();
}

JsonDocument receiverJson(const Tool::Snapshot &shown) {
  return {{"model", textOrNull(shown.model)},
          {"mainSoftware", numberOrNull(shown.mainSoftware)},
          {"compatibility", textOrNull(shown.compatibility)}};
}

JsonDocument shippedJson(const Tool::Snapshot &shown) {
  JsonDocument shipped = JsonDocument::array();
  for (std::size_t i = 0; i < Tool::kShippedFields.size(); ++i) {
    const VersionSlot slot = Tool::kShippedFields[i].second;
    shipped.push_back({{"slot", std::string(1, slotLetter(slot))},
                       {"label", slotLabel(slot)},
                       {"version", numberOrNull(shown.shipped[i])}});
  }
  return shipped;
}

void printJson(CliSession &session, const Tool::Snapshot &shown, Result result) {
  printJsonLine(session.out(), {{"result", resultName(result)},
                                {"receiver", receiverJson(shown)},
                                {"shipped", shippedJson(shown)}});
}

int runVersion(CliSession &session) {
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  Tool tool(session.context());
  tool.open();
  const Result result = tool.runQuery(session.interrupt());
  noteSilentFailure(session, result);
  if (session.options().json) {
    printJson(session, tool.snapshot(), result);
  } else {
    printText(session, tool.snapshot());
  }
  return exitStatusFor(result);
}

} // namespace

void addVersionCommands(CliApp &app) {
  app.addCommand({"version", "Show the receiver's model and software beside the shipped versions"},
                 runVersion);
}

} // namespace tarnwick::cli
