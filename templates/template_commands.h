// The command-line operations on templates and user lists, apart from the
// grammar: each returns an exit status (0 done, 1 refused or failed with a
// message, 2 usage error). Results go to out, messages through the user,
// notes of the command line itself to err. Texts on the command line and in
// the output are UTF-8; the glossary's are Latin-1.
#pragma once

#include "string_table.h"
#include "template_codec.h"
#include "templates_workspace.h"
#include "user_port.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarnwick {

struct CommandStreams {
  std::ostream &out;
  std::ostream &err;
  UserPort &user;
  const StringTable &strings;
};

struct TemplateMakeRequest {
  TemplateKind kind = TemplateKind::Marker;
  DateOrder dateOrder = DateOrder::MonthDayYear;
  std::string userList{"All"};
  bool xType = false;
  std::string glossary;          // empty: the saved glossary language
  std::vector<std::string> rows; // "LABEL=DESCRIPTION", at most six
  std::filesystem::path output;
};

inline constexpr int kCommandDone = 0;
inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandUsage = 2;

// The Create/Edit Templates page driven as its user would: the kind, the rows
// entered box by box, the user list, then Save As; so its refusals and
// messages are the editor's. --x-type answers the X-type question.
int makeTemplate(TemplatesWorkspace &workspace, const TemplateMakeRequest &request,
                 CommandStreams io);
// kind None: a leading 0xFF means a trace template.
int showTemplate(TemplatesWorkspace &workspace, const std::filesystem::path &file,
                 TemplateKind kind, CommandStreams io);

int listUserLists(TemplatesWorkspace &workspace, CommandStreams io);
int showUserList(TemplatesWorkspace &workspace, const std::string &name, CommandStreams io);
int createUserList(TemplatesWorkspace &workspace, const std::string &name, CommandStreams io);
int addToUserList(TemplatesWorkspace &workspace, const std::string &name,
                  const std::vector<std::string> &labels, CommandStreams io);
int linkInUserList(TemplatesWorkspace &workspace, const std::string &name, const std::string &label,
                   const std::vector<std::string> &descriptions, CommandStreams io);

} // namespace tarnwick
