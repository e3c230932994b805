// The record dialog's file operations apart from its controls: Open, Save,
// Save As, the save-changes question and the comma-separated export, with
// the file dialogs and messages through the UserPort.
#pragma once

#include "app_context.h"
#include "glossary.h"
#include "record_workspace.h"

#include <filesystem>
#include <system_error>

namespace tarnwick {

// Shows "The file could not be saved: <path> (<reason>)" when error is set;
// returns it unchanged.
std::error_code reportRecordWrite(AppContext &context, const std::filesystem::path &path,
                                  std::error_code error);

class RecordFiles {
public:
  RecordFiles(AppContext &context, RecordWorkspace &workspace, const Glossary &glossary)
      : context_(context), workspace_(workspace), glossary_(glossary) {}

  enum class Outcome { Done, Unchanged, Cancelled, Failed };

  // Open: the save-changes question, the Open dialog, then load().
  Outcome open(RecordList &list);
  // Reads path into list, replacing it; 61386 and the list unchanged when
  // it cannot be read.
  Outcome load(RecordList &list, const std::filesystem::path &path);
  // Save: into the bound file, else as Save As; Unchanged when not modified.
  Outcome save(RecordList &list);
  // Save As: the dialog, the kind's extension when the name has no ".", write.
  Outcome saveAs(RecordList &list);
  // Writes list to path, binds it there and clears the modified flag; a
  // failed write or a file that does not read back the same is reported and
  // leaves the list modified.
  Outcome writeTo(RecordList &list, const std::filesystem::path &path);
  // The question 61388 when list is modified: Yes saves, No drops the
  // changes. False when the asking operation is to stop (Cancel, or a save
  // that failed).
  bool askToSaveChanges(RecordList &list);
  // Export: the dialog, ".csv" when the name has no ".", write, 61382.
  Outcome exportCsv(const RecordList &list);

  // The current record path, created when missing.
  std::filesystem::path startFolder();

private:
  void remember(const std::filesystem::path &chosen);

  AppContext &context_;
  RecordWorkspace &workspace_;
  const Glossary &glossary_;
};

} // namespace tarnwick
