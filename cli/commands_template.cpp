// template, userlist: marker and trace templates and favorite user lists,
// with the editors' rules and messages, over the working folder's glossary.
#include "cli_app.h"
#include "command_groups.h"
#include "commands_template_transfer.h"
#include "template_commands.h"
#include "templates_workspace.h"
#include "userlist_downloads.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::cli {

namespace {

const std::map<std::string, TemplateKind> kKinds = {{"marker", TemplateKind::Marker},
                                                    {"trace", TemplateKind::Trace}};
const std::map<std::string, DateOrder> kDateOrders = {{"mdy", DateOrder::MonthDayYear},
                                                      {"dmy", DateOrder::DayMonthYear}};

CommandStreams streamsOf(CliSession &session) {
  AppContext &context = session.context();
  return {session.out(), session.err(), context.user, context.strings};
}

struct TemplateArguments {
  CLI::App *make = nullptr;
  CLI::App *show = nullptr;
  std::string kind;
  std::string dateOrder = "mdy";
  TemplateMakeRequest request;
  std::string file;
  std::string showKind;
  std::shared_ptr<TemplateTransferCommands> transfer;
};

int runTemplate(CliSession &session, const TemplateArguments &arguments) {
  if (const auto status = arguments.transfer->run(session)) {
    return *status;
  }
  TemplatesWorkspace &workspace = session.state().templates();
  if (arguments.make->parsed()) {
    TemplateMakeRequest request = arguments.request;
    request.kind = kKinds.at(arguments.kind);
    request.dateOrder = kDateOrders.at(arguments.dateOrder);
    return makeTemplate(workspace, request, streamsOf(session));
  }
  workspace.useSavedGlossary();
  const TemplateKind kind =
      arguments.showKind.empty() ? TemplateKind::None : kKinds.at(arguments.showKind);
  return showTemplate(workspace, arguments.file, kind, streamsOf(session));
}

void addTemplateCommand(CliApp &app) {
  auto arguments = std::make_shared<TemplateArguments>();
  CLI::App *command = app.addCommand(
      {"template", "Make or show a template file; pull or send the receiver's templates", false},
      [arguments](CliSession &session) { return runTemplate(session, *arguments); });
  command->require_subcommand(1);

  CLI::App *make = command->add_subcommand("make", "Encode up to six rows into a .utl file");
  make->add_option("--kind", arguments->kind, "Template kind")
      ->required()
      ->check(CLI::IsMember({"marker", "trace"}));
  make->add_option("--date-order", arguments->dateOrder, "Order of the date's digits")
      ->check(CLI::IsMember({"mdy", "dmy"}))
      ->capture_default_str();
  make->add_option("--user-list", arguments->request.userList, "The template's favorite user list")
      ->capture_default_str();
  make->add_flag("--x-type", arguments->request.xType,
                 "For an extended marker: 896 bits of memory instead of 192");
  make->add_option("--glossary", arguments->request.glossary,
                   "Glossary language; default: the marker utility's saved one");
  make->add_option("--row", arguments->request.rows,
                   "A row, LABEL=DESCRIPTION; up to six, in order")
      ->required();
  make->add_option("-o,--output", arguments->request.output, "The .utl file to write")->required();
  arguments->make = make;

  CLI::App *show = command->add_subcommand("show", "Decode a .utl file");
  show->add_option("file", arguments->file, "The .utl file")->required();
  show->add_option("--kind", arguments->showKind,
                   "Template kind; without it a first byte 0xFF means a trace template")
      ->check(CLI::IsMember({"marker", "trace"}));
  arguments->show = show;
  arguments->transfer = std::make_shared<TemplateTransferCommands>(*command);
}

struct UserListArguments {
  CLI::App *list = nullptr;
  CLI::App *show = nullptr;
  CLI::App *create = nullptr;
  CLI::App *add = nullptr;
  CLI::App *link = nullptr;
  std::string name;
  std::string label;
  std::vector<std::string> items;
};

int runUserList(CliSession &session, const UserListArguments &arguments) {
  TemplatesWorkspace &workspace = session.state().templates();
  workspace.useSavedGlossary();
  const CommandStreams io = streamsOf(session);
  if (arguments.list->parsed()) {
    return listUserLists(workspace, io);
  }
  if (arguments.show->parsed()) {
    return showUserList(workspace, arguments.name, io);
  }
  if (arguments.create->parsed()) {
    return createUserList(workspace, arguments.name, io);
  }
  if (arguments.add->parsed()) {
    return addToUserList(workspace, arguments.name, arguments.items, io);
  }
  return linkInUserList(workspace, arguments.name, arguments.label, arguments.items, io);
}

void addUserListCommand(CliApp &app) {
  auto arguments = std::make_shared<UserListArguments>();
  auto downloads = std::make_shared<UserListDownloadCommands>();
  CLI::App *command = app.addCommand(
      {"userlist", "List, show, create and fill favorite user lists", false},
      [arguments, downloads](CliSession &session) {
        return downloads->parsed() ? downloads->run(session) : runUserList(session, *arguments);
      });
  command->require_subcommand(1);
  arguments->list = command->add_subcommand("list", "The user lists, \"All\" first");
  arguments->show =
      command->add_subcommand("show", "A list's labels and their linked descriptions");
  arguments->show->add_option("name", arguments->name, "User list")->required();
  arguments->create = command->add_subcommand("create", "A new, empty user list");
  arguments->create->add_option("name", arguments->name, "User list, at most 5 characters")
      ->required();
  arguments->add = command->add_subcommand("add", "Add glossary labels to a user list");
  arguments->add->add_option("name", arguments->name, "User list")->required();
  arguments->add->add_option("labels", arguments->items, "Glossary labels")->required();
  arguments->link = command->add_subcommand("link", "Link glossary descriptions to a label");
  arguments->link->add_option("name", arguments->name, "User list (or All)")->required();
  arguments->link->add_option("label", arguments->label, "A label of the list")->required();
  arguments->link->add_option("descriptions", arguments->items, "Glossary descriptions")
      ->required();
  downloads->add(*command);
}

} // namespace

void addTemplateCommands(CliApp &app) {
  addTemplateCommand(app);
  addUserListCommand(app);
}

} // namespace tarnwick::cli
