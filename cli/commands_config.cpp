// config: receiver configurations on the command line: a new file with a
// model's defaults, what a file holds, and sending a file to the receiver as
// the Configure Receiver dialog does after opening it.
#include "cli_app.h"
#include "command_groups.h"
#include "configuration_editor.h"
#include "country_list.h"
#include "glossary.h"
#include "json_output.h"
#include "progress_watcher.h"
#include "settings_files.h"

#include <charconv>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::cli {

namespace {

using Result = SendConfiguration::Result;

// The dialog ends silently here; the command line must not look like success.
constexpr std::string_view kNothingSentNote =
    "The receiver reported a model code without a shipped software version; nothing was sent.";

struct ConfigArguments {
  CLI::App *create = nullptr;
  CLI::App *show = nullptr;
  CLI::App *models = nullptr;
  std::string model;
  std::string output;
  std::string file;
};

// The editor over the run's configuration, started as the dialog starts,
// for the country the main screen saved.
struct Workbench {
  explicit Workbench(CliSession &session)
      : configuration(session.state().configuration()),
        editor(session.context(), session.state().tree(), configuration,
               session.state().countrySource()) {
    editor.start();
  }

  ReceiverConfiguration &configuration;
  ConfigurationEditor editor;
};

std::filesystem::path commandLinePath(const std::string &text) {
  std::error_code error;
  const auto path = std::filesystem::absolute(text, error);
  return error ? std::filesystem::path(text) : path;
}

int refuseUnreadable(CliSession &session) {
  session.context().showMessage(sid::kUnableToOpenFile);
  return kExitFailed;
}

// The model's fields, first in the documents of new and show.
JsonDocument modelJson(ModelIndex model) {
  return {{"model", model}, {"modelName", modelName(model)}};
}

// A position in the model box, or a model's name whatever its case.
std::optional<ModelIndex> modelNamed(const std::string &text) {
  int index = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (error == std::errc() && end == text.data() + text.size()) {
    return index >= 0 && index < kModelCount ? std::optional(static_cast<ModelIndex>(index))
                                             : std::nullopt;
  }
  for (int position = 0; position < kModelCount; ++position) {
    const auto model = static_cast<ModelIndex>(position);
    if (equalsIgnoringCase(modelName(model), text)) {
      return model;
    }
  }
  return std::nullopt;
}

int runModels(CliSession &session) {
  if (session.options().json) {
    JsonDocument models = JsonDocument::array();
    for (int position = 0; position < kModelCount; ++position) {
      models.push_back(modelJson(static_cast<ModelIndex>(position)));
    }
    printJsonLine(session.out(), {{"models", models}});
    return kExitDone;
  }
  for (int position = 0; position < kModelCount; ++position) {
    session.out() << position << '\t' << modelName(static_cast<ModelIndex>(position)) << '\n';
  }
  return kExitDone;
}

int runNew(CliSession &session, const ConfigArguments &arguments) {
  const auto model = modelNamed(arguments.model);
  if (!model) {
    session.err() << "--model " << arguments.model
                  << ": not a model; \"tarnwick-cli config models\" lists them.\n";
    return kExitUsage;
  }
  Workbench bench(session);
  bench.editor.applyModel(*model);
  if (!bench.editor.saveAsFile(commandLinePath(arguments.output))) {
    return kExitFailed;
  }
  const auto written = bench.editor.snapshot().filePath.string();
  if (session.options().json) {
    JsonDocument document = {{"file", written}};
    document.update(modelJson(bench.configuration.model()));
    printJsonLine(session.out(), document);
  } else {
    session.out() << written << '\n';
  }
  return kExitDone;
}

void printListsText(CliSession &session, const ReceiverConfiguration &configuration) {
  std::ostream &out = session.out();
  out << "Model: " << configuration.model() << ' ' << modelName(configuration.model()) << '\n';
  for (ListId id : allLists()) {
    out << ConfigurationEditor::listTitle(id, session.context().strings) << '\n';
    for (const SettingEntry &entry : listOf(configuration.current(), id).entries) {
      out << "  " << entry.name << ": " << stateName(entry.state) << '\n';
    }
  }
}

void printListsJson(CliSession &session, const ReceiverConfiguration &configuration) {
  JsonDocument lists = JsonDocument::object();
  for (ListId id : allLists()) {
    JsonDocument entries = JsonDocument::array();
    for (const SettingEntry &entry : listOf(configuration.current(), id).entries) {
      entries.push_back({{"name", entry.name}, {"state", stateName(entry.state)}});
    }
    lists[std::string(listWord(id))] = std::move(entries);
  }
  JsonDocument document = modelJson(configuration.model());
  document["lists"] = std::move(lists);
  printJsonLine(session.out(), document);
}

// Reads the file as Open does, but leaves a file of the older layout as it is.
int runShow(CliSession &session, const ConfigArguments &arguments) {
  const auto bytes = readWholeFile(commandLinePath(arguments.file));
  if (!bytes) {
    return refuseUnreadable(session);
  }
  const bool old = !isCurrentLayout(*bytes) && bytes->size() >= 4;
  const auto stored = decodeConfiguration(old ? withCurrentHeader(*bytes) : *bytes);
  if (!stored) {
    return refuseUnreadable(session);
  }
  Workbench bench(session);
  applyStoredConfiguration(*stored, bench.configuration);
  if (session.options().json) {
    printListsJson(session, bench.configuration);
  } else {
    printListsText(session, bench.configuration);
  }
  return kExitDone;
}

std::string_view resultName(Result result) {
  switch (result) {
  case Result::Completed:
    return "completed";
  case Result::RestartNotSeen:
    return "restartNotSeen";
  case Result::PortNotOpen:
    return "portNotOpen";
  case Result::NoAnswer:
    return "noAnswer";
  case Result::VersionLower:
    return "versionLower";
  case Result::VersionHigher:
    return "versionHigher";
  case Result::ModelMismatch:
    return "modelMismatch";
  case Result::VersionNotKnown:
    return "versionNotKnown";
  case Result::ProblemInDownload:
    return "problemInDownload";
  case Result::WriteFailed:
    return "writeFailed";
  case Result::Cancelled:
    return "cancelled";
  case Result::Busy:
    break;
  }
  return "busy";
}

// Every command was confirmed also when the banner did not come: the status
// says to restart the unit, which is no failure of the send.
int exitStatusFor(Result result) {
  switch (result) {
  case Result::Completed:
  case Result::RestartNotSeen:
    return kExitDone;
  case Result::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

int runSend(CliSession &session, const ConfigArguments &arguments) {
  Workbench bench(session);
  if (!bench.editor.openFile(commandLinePath(arguments.file))) {
    return refuseUnreadable(session);
  }
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  const bool json = session.options().json;
  std::size_t printed = 0;
  ProgressWatcher watcher([&] {
    const auto statuses = bench.editor.sending().snapshot().statusLog;
    for (; printed < statuses.size(); ++printed) {
      if (!json) {
        session.out() << statuses[printed] << '\n' << std::flush;
      }
    }
  });
  const Result result = bench.editor.sendConfiguration(session.interrupt());
  watcher.stop();
  const auto statuses = bench.editor.sending().snapshot().statusLog;
  if (result == Result::VersionNotKnown) {
    session.err() << kNothingSentNote << '\n';
  }
  if (json) {
    printJsonLine(session.out(), {{"result", resultName(result)}, {"status", statuses}});
  }
  return exitStatusFor(result);
}

int runConfig(CliSession &session, const ConfigArguments &arguments) {
  if (arguments.create->parsed()) {
    return runNew(session, arguments);
  }
  if (arguments.show->parsed()) {
    return runShow(session, arguments);
  }
  if (arguments.models->parsed()) {
    return runModels(session);
  }
  return runSend(session, arguments);
}

} // namespace

void addConfigCommands(CliApp &app) {
  auto arguments = std::make_shared<ConfigArguments>();
  // The serial library is only needed by "send", which reports its absence.
  CLI::App *command =
      app.addCommand({"config", "Make, show and send receiver configuration files", false},
                     [arguments](CliSession &session) { return runConfig(session, *arguments); });
  command->require_subcommand(1);
  CLI::App *create = command->add_subcommand("new", "A new configuration with a model's defaults");
  create
      ->add_option("--model", arguments->model,
                   "Model: its name, or its position in the editor's model box (config models)")
      ->required()
      ->type_name("MODEL");
  create->add_option("-o,--output", arguments->output, "The .cfg file to write")->required();
  arguments->create = create;
  CLI::App *show = command->add_subcommand("show", "The model and each list's entries");
  show->add_option("file", arguments->file, "The .cfg file")->required();
  arguments->show = show;
  arguments->models = command->add_subcommand("models", "The models, by position and name");
  CLI::App *send = command->add_subcommand("send", "Send a .cfg file to the receiver");
  send->add_option("file", arguments->file, "The .cfg file")->required();
}

} // namespace tarnwick::cli
