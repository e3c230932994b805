#include "template_commands.h"

#include "template_editor.h"
#include "template_file.h"
#include "text_encoding.h"

#include <algorithm>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

int refuse(CommandStreams &io, StringId id, const std::string &suffix = {}) {
  io.user.message(io.strings.text(id) + suffix);
  return kCommandFailed;
}

std::string kindName(TemplateKind kind) {
  return kind == TemplateKind::Trace ? "trace" : "marker";
}

// The "LABEL=DESCRIPTION" arguments as rows of Latin-1 text; nullopt (with a
// note) for a malformed one.
std::optional<std::vector<TemplateRow>> parseRows(const TemplateMakeRequest &request,
                                                  CommandStreams &io) {
  if (request.rows.size() > TemplateEditor::kRows) {
    io.err << "A template has at most " << TemplateEditor::kRows << " rows.\n";
    return std::nullopt;
  }
  std::vector<TemplateRow> rows;
  for (const std::string &argument : request.rows) {
    const auto equals = argument.find('=');
    if (equals == std::string::npos) {
      io.err << "A row is written LABEL=DESCRIPTION: " << argument << '\n';
      return std::nullopt;
    }
    rows.push_back(
        {utf8ToLatin1(argument.substr(0, equals)), utf8ToLatin1(argument.substr(equals + 1))});
    // The editor's entry for "list every description" is no description.
    if (rows.back().description == TemplateEditor::kShowAll) {
      io.err << "A row's description cannot be " << TemplateEditor::kShowAll << ".\n";
      return std::nullopt;
    }
  }
  return rows;
}

// Each row entered as its two boxes are left; false after the editor's refusal.
bool enterRows(TemplateEditor &editor, const std::vector<TemplateRow> &rows) {
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (!editor.commitLabel(row, rows[row].label) ||
        !editor.commitDescription(row, rows[row].description)) {
      return false;
    }
  }
  return true;
}

// A name Save As can take: something before ".utl".
bool hasFileName(const fs::path &output) {
  const std::string name = output.filename().string();
  return !name.empty() && !equalsIgnoringCase(name, kTemplateExtension);
}

// A bare file name is in the current folder, not the editor's template folder.
fs::path commandLinePath(const fs::path &output) {
  std::error_code error;
  const fs::path path = fs::absolute(output, error);
  return error ? output : path;
}

bool useGlossaryOf(TemplatesWorkspace &workspace, const std::string &language, CommandStreams &io) {
  if (language.empty()) {
    workspace.useSavedGlossary();
    return true;
  }
  const std::vector<std::string> languages = workspace.glossaryLanguages();
  const bool listed = std::any_of(languages.begin(), languages.end(), [&](const std::string &name) {
    return equalsIgnoringCase(name, language);
  });
  if (!listed) {
    io.err << "No glossary language " << language << " in this installation.\n";
    return false;
  }
  workspace.useGlossaryNamed(language);
  return true;
}

void printRow(std::ostream &out, const TemplateRow &row) {
  out << latin1ToUtf8(row.label) << " : " << latin1ToUtf8(row.description) << '\n';
}

} // namespace

int makeTemplate(TemplatesWorkspace &workspace, const TemplateMakeRequest &request,
                 CommandStreams io) {
  if (!useGlossaryOf(workspace, request.glossary, io)) {
    return kCommandUsage;
  }
  const auto rows = parseRows(request, io);
  if (!rows) {
    return kCommandUsage;
  }
  workspace.state.memory.answerInAdvance(request.xType);
  TemplateEditor editor(workspace, io.user, io.strings);
  editor.chooseKind(request.kind);
  editor.chooseDateOrder(request.dateOrder);
  if (!enterRows(editor, *rows)) {
    return kCommandFailed;
  }
  const std::string userList = utf8ToLatin1(request.userList);
  if (!workspace.userLists.contains(userList)) {
    io.err << "No user list " << request.userList << ".\n";
    return kCommandFailed;
  }
  editor.chooseUserList(userList);
  if (!hasFileName(request.output)) {
    io.err << "The template needs a file name.\n";
    return kCommandFailed;
  }
  if (!editor.saveAsFile(commandLinePath(request.output))) {
    return kCommandFailed;
  }
  const TemplateEditor::Snapshot made = editor.snapshot();
  io.out << (request.output.parent_path() / made.templateName).string() << ": " << made.measureBits
         << " bits";
  if (request.kind == TemplateKind::Marker) {
    io.out << ", " << made.remainingPercent << io.strings.text(sid::kTemplateMemoryRemaining);
  }
  io.out << '\n';
  return kCommandDone;
}

int showTemplate(TemplatesWorkspace &workspace, const fs::path &path, TemplateKind kind,
                 CommandStreams io) {
  const auto loaded = loadTemplate(path, kind, workspace.glossary, workspace.userLists);
  if (!loaded) {
    return refuse(io, sid::kUnableToOpenFile);
  }
  io.out << "kind: " << kindName(loaded->kind) << '\n';
  io.out << "user list: " << latin1ToUtf8(loaded->userList) << '\n';
  io.out << "width: " << loaded->content.width << '\n';
  for (const TemplateRow &row : loaded->content.rows) {
    if (!row.label.empty() || !row.description.empty()) {
      printRow(io.out, row);
    }
  }
  return kCommandDone;
}

int listUserLists(TemplatesWorkspace &workspace, CommandStreams io) {
  for (const std::string &name : workspace.userLists.listNames()) {
    io.out << latin1ToUtf8(name) << '\n';
  }
  return kCommandDone;
}

int showUserList(TemplatesWorkspace &workspace, const std::string &name, CommandStreams io) {
  UserListStore &store = workspace.userLists;
  const std::string stored = utf8ToLatin1(name);
  if (!store.contains(stored)) {
    io.err << "No user list " << name << ".\n";
    return kCommandFailed;
  }
  const LabelLinks links = store.loadLinks(stored);
  for (const GlossaryItem &label : store.labelItemsOf(stored)) {
    io.out << latin1ToUtf8(label.text);
    const auto row = std::find_if(links.begin(), links.end(),
                                  [&](const LabelLink &link) { return link.label == label.ref; });
    std::string separator = " : ";
    for (GlossaryRef description :
         row != links.end() ? row->descriptions : std::vector<GlossaryRef>{}) {
      io.out << separator << latin1ToUtf8(workspace.glossary.text(description));
      separator = ", ";
    }
    io.out << '\n';
  }
  return kCommandDone;
}

int createUserList(TemplatesWorkspace &workspace, const std::string &name, CommandStreams io) {
  const std::string stored = utf8ToLatin1(name);
  switch (workspace.userLists.create(stored).status) {
  case CreateListResult::Created:
    return kCommandDone;
  case CreateListResult::Exists:
    return refuse(io, sid::kUserListFileExists);
  case CreateListResult::InvalidName:
    return refuse(io, sid::kCannotSaveWithName);
  case CreateListResult::Full:
    return refuse(io, sid::kMaxUserLists, std::to_string(UserListStore::kMaxLists));
  case CreateListResult::Failed:
    break;
  }
  return refuse(io, sid::kFileNotSaved, (workspace.userLists.folder() / stored).string());
}

namespace {

// A user list the command may change; "All" only where allowAll.
std::optional<std::string> editableList(TemplatesWorkspace &workspace, const std::string &name,
                                        bool allowAll, CommandStreams &io) {
  const std::string stored = utf8ToLatin1(name);
  const UserListStore &store = workspace.userLists;
  if (!allowAll && equalsIgnoringCase(stored, UserListStore::kAll)) {
    refuse(io, sid::kCannotSaveWithName);
    return std::nullopt;
  }
  if (!store.contains(stored)) {
    io.err << "No user list " << name << ".\n";
    return std::nullopt;
  }
  return store.nameAt(store.positionOf(stored));
}

} // namespace

int addToUserList(TemplatesWorkspace &workspace, const std::string &name,
                  const std::vector<std::string> &labels, CommandStreams io) {
  const auto list = editableList(workspace, name, false, io);
  if (!list) {
    return kCommandFailed;
  }
  UserListStore &store = workspace.userLists;
  std::vector<GlossaryRef> refs = store.find(*list)->labels;
  for (const std::string &label : labels) {
    const GlossaryMatch match = workspace.glossary.findLabel(utf8ToLatin1(label));
    if (!match.found()) {
      io.err << "Not a glossary label: " << label << '\n';
      return kCommandFailed;
    }
    if (std::find(refs.begin(), refs.end(), match.ref()) != refs.end()) {
      continue;
    }
    if (refs.size() >= kMaxListLabels) {
      return refuse(io, sid::kMaxLabelsInList, std::to_string(kMaxListLabels));
    }
    refs.push_back(match.ref());
  }
  store.setLabels(*list, refs);
  if (!store.saveAll()) {
    return refuse(io, sid::kFileNotSaved, (store.folder() / *list).string());
  }
  return kCommandDone;
}

int linkInUserList(TemplatesWorkspace &workspace, const std::string &name, const std::string &label,
                   const std::vector<std::string> &descriptions, CommandStreams io) {
  const auto list = editableList(workspace, name, true, io);
  if (!list) {
    return kCommandFailed;
  }
  UserListStore &store = workspace.userLists;
  const GlossaryMatch labelMatch = workspace.glossary.findLabel(utf8ToLatin1(label));
  LabelLinks links = store.loadLinks(*list);
  const auto row = std::find_if(links.begin(), links.end(), [&](const LabelLink &link) {
    return labelMatch.found() && link.label == labelMatch.ref();
  });
  if (row == links.end()) {
    io.err << "The user list " << name << " has no label " << label << ".\n";
    return kCommandFailed;
  }
  std::vector<GlossaryRef> linked = row->descriptions;
  for (const std::string &description : descriptions) {
    const GlossaryMatch match = workspace.glossary.findDescription(utf8ToLatin1(description));
    if (!match.found()) {
      io.err << "Not a glossary description: " << description << '\n';
      return kCommandFailed;
    }
    if (std::find(linked.begin(), linked.end(), match.ref()) != linked.end()) {
      continue;
    }
    if (linked.size() >= kMaxLabelLinks) {
      return refuse(io, sid::kMaxLinksForLabel, std::to_string(kMaxLabelLinks));
    }
    linked.push_back(match.ref());
  }
  row->descriptions = std::move(linked);
  if (!store.saveLinks(*list, links)) {
    return refuse(io, sid::kFileNotSaved, (store.folder() / *list).string());
  }
  return kCommandDone;
}

} // namespace tarnwick
