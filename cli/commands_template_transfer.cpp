#include "commands_template_transfer.h"

#include "cli_session.h"
#include "exit_status.h"
#include "json_output.h"
#include "progress_watcher.h"
#include "template_download.h"

#include <filesystem>
#include <string_view>

namespace tarnwick::cli {

namespace {

using ReadResult = TemplateDownload::ReadResult;
using DownloadResult = TemplateDownload::DownloadResult;

// The dialog ends silently here; the command line must not look like success.
constexpr std::string_view kUnknownModelNote =
    "The receiver reported a model code without template support; nothing was read.";

const std::vector<std::string> kKindWords = {"user", "trace"};

TemplateKind kindNamed(const std::string &word) {
  return word == "trace" ? TemplateKind::Trace : TemplateKind::Marker;
}

void addKindOption(CLI::App &command, std::string &kind) {
  command.add_option("--kind", kind, "User templates (at most 32) or trace templates (at most 4)")
      ->required()
      ->check(CLI::IsMember(kKindWords));
}

std::string_view readResultName(ReadResult result) {
  switch (result) {
  case ReadResult::Read:
    return "read";
  case ReadResult::NotRead:
    return "notRead";
  case ReadResult::PortNotOpen:
    return "portNotOpen";
  case ReadResult::NoAnswer:
    return "noAnswer";
  case ReadResult::WriteFailed:
    return "writeFailed";
  case ReadResult::UnknownModel:
    return "unknownModel";
  case ReadResult::VersionLower:
    return "versionLower";
  case ReadResult::StagingFailed:
    return "stagingFailed";
  case ReadResult::Cancelled:
    return "cancelled";
  case ReadResult::Busy:
    break;
  }
  return "busy";
}

std::string_view downloadResultName(DownloadResult result) {
  switch (result) {
  case DownloadResult::Completed:
    return "completed";
  case DownloadResult::NothingSelected:
    return "nothingSelected";
  case DownloadResult::Refused:
    return "refused";
  case DownloadResult::InProgress:
    return "inProgress";
  case DownloadResult::PortNotOpen:
    return "portNotOpen";
  case DownloadResult::NoAnswer:
    return "noAnswer";
  case DownloadResult::NotAcknowledged:
    return "notAcknowledged";
  case DownloadResult::WriteFailed:
    return "writeFailed";
  case DownloadResult::Cancelled:
    return "cancelled";
  case DownloadResult::Busy:
    break;
  }
  return "busy";
}

int pullStatus(ReadResult result) {
  switch (result) {
  case ReadResult::Read:
  case ReadResult::NotRead:
    return kExitDone;
  case ReadResult::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

int sendStatus(DownloadResult result) {
  switch (result) {
  case DownloadResult::Completed:
    return kExitDone;
  case DownloadResult::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

std::filesystem::path commandLinePath(const std::string &text) {
  std::error_code error;
  const auto path = std::filesystem::absolute(text, error);
  return error ? std::filesystem::path(text) : path;
}

int runPull(CliSession &session, TemplateKind kind) {
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  TemplateDownload dialog(session.context(), kind, {});
  const ReadResult result = dialog.readReceiver(session.interrupt());
  if (result == ReadResult::UnknownModel) {
    session.err() << kUnknownModelNote << '\n';
  }
  const auto staged = dialog.snapshot().inReceiver;
  if (session.options().json) {
    JsonDocument files = JsonDocument::array();
    for (const TemplateEntry &entry : staged) {
      files.push_back(entry.fileName);
    }
    printJsonLine(session.out(), {{"result", readResultName(result)},
                                  {"folder", dialog.staging().string()},
                                  {"files", files}});
  } else {
    for (const TemplateEntry &entry : staged) {
      session.out() << entry.fileName << '\n';
    }
  }
  return pullStatus(result);
}

// The limit is checked before the port: too many files send nothing at all.
int runSend(CliSession &session, TemplateKind kind, const std::vector<std::string> &files) {
  TemplateDownload dialog(session.context(), kind, {});
  std::vector<std::filesystem::path> paths;
  for (const std::string &file : files) {
    paths.push_back(commandLinePath(file));
  }
  if (!dialog.chooseFiles(paths)) {
    return kExitFailed;
  }
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  const bool json = session.options().json;
  std::size_t printed = 0;
  ProgressWatcher watcher([&] {
    const auto statuses = dialog.snapshot().statusLog;
    for (; printed < statuses.size(); ++printed) {
      if (!json) {
        session.out() << statuses[printed] << '\n' << std::flush;
      }
    }
  });
  const DownloadResult result = dialog.download(session.interrupt());
  watcher.stop();
  if (json) {
    const auto shown = dialog.snapshot();
    printJsonLine(session.out(), {{"result", downloadResultName(result)},
                                  {"sent", shown.itemsDone},
                                  {"status", shown.statusLog}});
  }
  return sendStatus(result);
}

} // namespace

TemplateTransferCommands::TemplateTransferCommands(CLI::App &templateCommand) {
  pull_ = templateCommand.add_subcommand(
      "pull", "Read the receiver's templates into LocDrive and print each file's name");
  addKindOption(*pull_, pullKind_);
  send_ = templateCommand.add_subcommand(
      "send", "Send .utl files to the receiver, in order, as its set of templates");
  addKindOption(*send_, sendKind_);
  send_->add_option("files", files_, "The .utl files")->required();
}

std::optional<int> TemplateTransferCommands::run(CliSession &session) const {
  if (pull_->parsed()) {
    return runPull(session, kindNamed(pullKind_));
  }
  if (send_->parsed()) {
    return runSend(session, kindNamed(sendKind_), files_);
  }
  return std::nullopt;
}

} // namespace tarnwick::cli
