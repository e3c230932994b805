// records: pulling a record set off the receiver into a record file, showing
// a file as the record list does, and exporting it.
#include "cli_app.h"
#include "command_groups.h"
#include "glossary_files.h"
#include "json_output.h"
#include "progress_watcher.h"
#include "record_columns.h"
#include "record_export.h"
#include "record_file.h"
#include "record_transfer.h"
#include "text_encoding.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace tarnwick::cli {

namespace {

namespace fs = std::filesystem;
using Result = RecordTransfer::Result;

constexpr std::string_view kOlderSoftwareNote =
    "(Answered No: the upgrade is a command of its own; the pull goes on.)";
constexpr std::string_view kUnknownFileNote =
    "A record file ends in .rmrx, .pgrx, .cdrx, .rmr or .pgr.";
constexpr std::string_view kUnknownExportNote = "The export ends in .csv, .gpx, .kml or .geojson.";

struct RecordsArguments {
  CLI::App *pull = nullptr;
  CLI::App *show = nullptr;
  CLI::App *exportCommand = nullptr;
  std::string kind;
  std::string output;
  bool append = false;
  bool deleteRecords = false;
  std::string file;
  std::optional<std::size_t> sortColumn;
  bool descending = false;
};

const std::map<std::string, RecordKind> &kindWords() {
  static const std::map<std::string, RecordKind> words = {
      {"read", RecordKind::ReadMarkers},
      {"programmed", RecordKind::ProgrammedMarkers},
      {"cable", RecordKind::CableData}};
  return words;
}

std::string_view kindWord(RecordKind kind) {
  for (const auto &[word, value] : kindWords()) {
    if (value == currentKind(kind)) {
      return word;
    }
  }
  return "read";
}

fs::path commandLinePath(const std::string &text) {
  std::error_code error;
  const auto path = fs::absolute(text, error);
  return error ? fs::path(text) : path;
}

// The kind a record file holds, by its extension.
std::optional<RecordKind> kindOfFile(const fs::path &path) {
  static const std::map<std::string, RecordKind> extensions = {
      {".rmrx", RecordKind::ReadMarkers},
      {".rmr", RecordKind::ReadMarkers},
      {".pgrx", RecordKind::ProgrammedMarkers},
      {".pgr", RecordKind::ProgrammedMarkers},
      {".cdrx", RecordKind::CableData}};
  const auto found = extensions.find(path.extension().string());
  return found == extensions.end() ? std::nullopt : std::optional(found->second);
}

Glossary englishGlossaryOf(CliSession &session) {
  Glossary glossary;
  loadGlossaryFolder(glossary, session.state().glossaryFolder());
  return glossary;
}

std::string_view resultName(Result result) {
  switch (result) {
  case Result::Saved:
    return "saved";
  case Result::NoRecords:
    return "noRecords";
  case Result::NoCableData:
    return "noCableData";
  case Result::PortNotOpen:
    return "portNotOpen";
  case Result::Refused:
    return "refused";
  case Result::Abandoned:
    return "abandoned";
  case Result::FileUnreadable:
    return "fileUnreadable";
  case Result::NoAnswer:
    return "noAnswer";
  case Result::NotSupported:
    return "notSupported";
  case Result::NotInstalled:
    return "notInstalled";
  case Result::NoResponse:
    return "noResponse";
  case Result::WriteFailed:
    return "writeFailed";
  case Result::SaveFailed:
    return "saveFailed";
  case Result::Cancelled:
    break;
  }
  return "cancelled";
}

std::string_view deletionName(DeletionResult deletion) {
  switch (deletion) {
  case DeletionResult::NotOffered:
    return "notOffered";
  case DeletionResult::Declined:
    return "declined";
  case DeletionResult::Deleted:
    return "deleted";
  case DeletionResult::RestartNotSeen:
    return "restartNotSeen";
  case DeletionResult::WriteFailed:
    return "writeFailed";
  case DeletionResult::Cancelled:
    break;
  }
  return "cancelled";
}

int exitStatusFor(Result result) {
  switch (result) {
  case Result::Saved:
  case Result::NoRecords:
  case Result::NoCableData:
    return kExitDone;
  case Result::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

// The records so far, the rate and the time left, on one terminal line.
std::string progressLine(const RecordTransfer::Snapshot &snapshot) {
  char text[160];
  std::snprintf(text, sizeof text, "\r%zu/%zu records, %.1f records/s", snapshot.recordsReceived,
                snapshot.recordsTotal, snapshot.recordsPerSecond);
  std::string line = text;
  if (snapshot.secondsLeft) {
    std::snprintf(text, sizeof text, ", %.0f s left ", *snapshot.secondsLeft);
    line += text;
  }
  return line;
}

bool progressOnTerminal(CliSession &session) {
  return session.err().rdbuf() == std::cerr.rdbuf() && isatty(STDERR_FILENO) == 1;
}

void printPullResult(CliSession &session, Result result, const RecordTransfer::Snapshot &snapshot,
                     std::size_t records) {
  if (session.options().json) {
    printJsonLine(session.out(), {{"result", resultName(result)},
                                  {"file", latin1ToUtf8(snapshot.file.string())},
                                  {"records", records},
                                  {"received", snapshot.recordsReceived},
                                  {"deletion", deletionName(snapshot.deletion)}});
  } else if (!snapshot.file.empty()) {
    session.out() << snapshot.file.string() << '\n';
  }
}

// The library is bound only for pull, which reports its absence.
bool serialLibraryUsable(CliSession &session) {
  AppContext &context = session.context();
  if (context.serialLibrary.ready) {
    return true;
  }
  const std::string &why = context.serialLibrary.message;
  context.user.message(why.empty() ? context.text(sid::kReceiverToolsUnavailable) : why);
  return false;
}

int runPull(CliSession &session, const RecordsArguments &arguments) {
  if (!serialLibraryUsable(session)) {
    return kExitFailed;
  }
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  const RecordKind kind = kindWords().at(arguments.kind);
  const Glossary glossary = englishGlossaryOf(session);
  RecordWorkspace &workspace = session.state().records();
  RecordTransfer transfer(session.context(), workspace, glossary);
  RecordTransfer::Request request;
  request.kind = kind;
  request.destination = PullDestination{commandLinePath(arguments.output), arguments.append};
  request.deletion = arguments.deleteRecords ? DeletionChoice::Delete : DeletionChoice::Keep;

  const bool showProgress = progressOnTerminal(session);
  bool progressShown = false;
  ProgressWatcher watcher([&] {
    const auto snapshot = transfer.snapshot();
    if (showProgress && snapshot.recordsTotal > 0) {
      session.err() << progressLine(snapshot) << std::flush;
      progressShown = true;
    }
  });
  const Result result = transfer.pull(request, session.interrupt());
  watcher.stop();
  if (progressShown) {
    session.err() << '\n';
  }
  const auto snapshot = transfer.snapshot();
  if (snapshot.olderSoftware) {
    session.err() << kOlderSoftwareNote << '\n';
  }
  printPullResult(session, result, snapshot, workspace.list(kind).size());
  return exitStatusFor(result);
}

// The list as the dialog would show it after opening the file.
std::optional<RecordList> openList(CliSession &session, const fs::path &path,
                                   const Glossary &glossary) {
  const auto kind = kindOfFile(path);
  if (!kind) {
    session.err() << kUnknownFileNote << '\n';
    return std::nullopt;
  }
  RecordWorkspace workspace;
  RecordFiles files(session.context(), workspace, glossary);
  RecordList list(currentKind(*kind));
  if (files.load(list, path) != RecordFiles::Outcome::Done) {
    return std::nullopt;
  }
  return list;
}

std::string shownText(std::string text) {
  std::replace(text.begin(), text.end(), '\t', ' ');
  return latin1ToUtf8(text);
}

void printTable(CliSession &session, const RecordList &list) {
  const auto columns = recordColumns(list.kind());
  std::ostream &out = session.out();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    out << (c == 0 ? "" : "\t") << shownText(session.context().text(columns[c].title));
  }
  out << '\n';
  for (const RecordEntry &entry : list.entries()) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      out << (c == 0 ? "" : "\t") << shownText(fieldText(entry.row, columns[c].field));
    }
    out << '\n';
  }
}

void printJson(CliSession &session, const RecordList &list) {
  const auto columns = recordColumns(list.kind());
  JsonDocument titles = JsonDocument::array();
  for (const auto &column : columns) {
    titles.push_back(shownText(session.context().text(column.title)));
  }
  JsonDocument rows = JsonDocument::array();
  for (const RecordEntry &entry : list.entries()) {
    JsonDocument row = JsonDocument::array();
    for (const auto &column : columns) {
      row.push_back(latin1ToUtf8(fieldText(entry.row, column.field)));
    }
    rows.push_back(std::move(row));
  }
  printJsonLine(session.out(),
                {{"kind", kindWord(list.kind())}, {"columns", titles}, {"rows", rows}});
}

int runShow(CliSession &session, const RecordsArguments &arguments) {
  const Glossary glossary = englishGlossaryOf(session);
  auto list = openList(session, commandLinePath(arguments.file), glossary);
  if (!list) {
    return kExitFailed;
  }
  if (arguments.sortColumn) {
    if (*arguments.sortColumn >= recordColumns(list->kind()).size()) {
      session.err() << "--sort: a column from 0 to " << recordColumns(list->kind()).size() - 1
                    << '\n';
      return kExitUsage;
    }
    list->sortByColumn(*arguments.sortColumn);
    if (arguments.descending) {
      list->sortByColumn(*arguments.sortColumn);
    }
  }
  if (session.options().json) {
    printJson(session, *list);
  } else {
    printTable(session, *list);
  }
  return kExitDone;
}

int runExport(CliSession &session, const RecordsArguments &arguments) {
  const fs::path out = withExtension(commandLinePath(arguments.output), "csv");
  const auto format = exportFormatFor(out);
  if (!format) {
    session.err() << kUnknownExportNote << '\n';
    return kExitUsage;
  }
  const Glossary glossary = englishGlossaryOf(session);
  const auto list = openList(session, commandLinePath(arguments.file), glossary);
  if (!list) {
    return kExitFailed;
  }
  if (reportRecordWrite(session.context(), out,
                        writeExport(out, *list, *format, session.context().strings))) {
    return kExitFailed;
  }
  session.out() << session.context().text(sid::kRecordFileExported) << out.string() << '\n';
  return kExitDone;
}

int runRecords(CliSession &session, const RecordsArguments &arguments) {
  if (arguments.pull->parsed()) {
    return runPull(session, arguments);
  }
  if (arguments.show->parsed()) {
    return runShow(session, arguments);
  }
  return runExport(session, arguments);
}

} // namespace

void addRecordsCommands(CliApp &app) {
  auto arguments = std::make_shared<RecordsArguments>();
  CLI::App *command =
      app.addCommand({"records", "Pull, show and export marker and cable records", false},
                     [arguments](CliSession &session) { return runRecords(session, *arguments); });
  command->require_subcommand(1);

  CLI::App *pull = command->add_subcommand("pull", "Pull a record set off the receiver");
  pull->add_option("--kind", arguments->kind, "read, programmed or cable")
      ->required()
      ->check(CLI::IsMember({"read", "programmed", "cable"}));
  pull->add_option("-o,--output", arguments->output, "The record file to write")->required();
  pull->add_flag("--append", arguments->append, "Add to the records already in the file");
  pull->add_flag("--delete", arguments->deleteRecords,
                 "Clear the set on the receiver once the file reads back as written");
  arguments->pull = pull;

  CLI::App *show = command->add_subcommand("show", "The record list of a file, one line a record");
  show->add_option("file", arguments->file, "The record file")->required();
  show->add_option("--sort", arguments->sortColumn, "Sort by this column (from 0)");
  show->add_flag("--descending", arguments->descending, "Sort in descending order");
  arguments->show = show;

  CLI::App *exportCommand =
      command->add_subcommand("export", "Export a record file as .csv, .gpx, .kml or .geojson");
  exportCommand->add_option("file", arguments->file, "The record file")->required();
  exportCommand->add_option("-o,--output", arguments->output, "The file to write")->required();
  arguments->exportCommand = exportCommand;
}

} // namespace tarnwick::cli
