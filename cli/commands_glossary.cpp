// glossary: the Glossary Download dialog on the command line: the glossary of
// one language's folder into the receiver.
#include "cli_app.h"
#include "command_groups.h"
#include "download_run.h"
#include "glossary_download.h"
#include "glossary_files.h"
#include "glossary_language.h"
#include "install_path.h"

#include <memory>
#include <string>

namespace tarnwick::cli {

namespace {

struct GlossaryArguments {
  std::string language = "English";
};

// The language's folder as listed (any case), loaded; nothing when there is
// no such glossary, which has then been said.
std::optional<Glossary> loadLanguage(CliSession &session, const std::string &language) {
  const std::filesystem::path &workdir = session.context().workingFolder;
  std::string listed = language;
  for (const std::string &name : listGlossaryLanguages(workdir)) {
    if (equalsIgnoringCase(name, language)) {
      listed = name;
    }
  }
  const auto folder = resolveInstallPath(workdir, "\\Software\\Glossary\\" + listed);
  Glossary glossary;
  if (!loadGlossaryFolder(glossary, folder)) {
    session.context().user.message(session.context().text(sid::kCannotFind) + folder.string());
    return std::nullopt;
  }
  return glossary;
}

int runGlossarySend(CliSession &session, const GlossaryArguments &arguments) {
  if (const auto refused = session.refuseReceiverOperation()) {
    return *refused;
  }
  const std::optional<Glossary> glossary = loadLanguage(session, arguments.language);
  if (!glossary) {
    return kExitFailed;
  }
  GlossaryDownload download(session.context(), *glossary);
  return runDownload(session, download);
}

} // namespace

void addGlossaryCommands(CliApp &app) {
  auto arguments = std::make_shared<GlossaryArguments>();
  CLI::App *command = app.addCommand(
      {"glossary", "Send a glossary to the receiver"},
      [arguments](CliSession &session) { return runGlossarySend(session, *arguments); });
  command->require_subcommand(1);
  CLI::App *send = command->add_subcommand(
      "send", "The glossary of Software/Glossary/NAME: groups, label list, term list, version");
  send->add_option("--language", arguments->language, "Glossary language (a folder name)")
      ->capture_default_str();
}

} // namespace tarnwick::cli
