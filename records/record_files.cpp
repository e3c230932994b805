#include "record_files.h"

#include "record_export.h"
#include "record_file.h"

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCsvFilter = "Comma Separated Value Files (*.csv)|*.csv|";

} // namespace

std::error_code reportRecordWrite(AppContext &context, const fs::path &path,
                                  std::error_code error) {
  if (error) {
    context.user.message(context.text(sid::kFileNotSaved) + path.string() + " (" + error.message() +
                         ")");
  }
  return error;
}

fs::path RecordFiles::startFolder() {
  std::error_code ignored;
  if (!workspace_.currentFolder.empty()) {
    fs::create_directories(workspace_.currentFolder, ignored);
  }
  return workspace_.currentFolder;
}

void RecordFiles::remember(const fs::path &chosen) {
  workspace_.currentFolder = chosen.parent_path();
}

RecordFiles::Outcome RecordFiles::open(RecordList &list) {
  if (!askToSaveChanges(list)) {
    return Outcome::Cancelled;
  }
  const RecordKindInfo &info = kindInfo(list.kind());
  const auto chosen = context_.user.openFile(
      {"", std::string(info.openFilter), startFolder().string(), std::string(info.openPattern)});
  if (!chosen) {
    return Outcome::Cancelled;
  }
  return load(list, *chosen);
}

RecordFiles::Outcome RecordFiles::load(RecordList &list, const fs::path &path) {
  std::error_code error;
  auto entries = readRecordFile(path, list.kind(), glossary_, error);
  if (!entries) {
    context_.showMessage(sid::kUnableToOpenFile);
    return Outcome::Failed;
  }
  list.load(std::move(*entries), path);
  remember(path);
  return Outcome::Done;
}

RecordFiles::Outcome RecordFiles::save(RecordList &list) {
  if (!list.modified()) {
    return Outcome::Unchanged;
  }
  return list.bound() ? writeTo(list, list.path()) : saveAs(list);
}

RecordFiles::Outcome RecordFiles::saveAs(RecordList &list) {
  const RecordKindInfo &info = kindInfo(list.kind());
  const auto chosen = context_.user.saveFile(
      {"", std::string(info.saveFilter), startFolder().string(), std::string(info.savePattern)});
  if (!chosen) {
    return Outcome::Cancelled;
  }
  const fs::path path = withKindExtension(*chosen, list.kind());
  remember(path);
  return writeTo(list, path);
}

RecordFiles::Outcome RecordFiles::writeTo(RecordList &list, const fs::path &path) {
  list.bind(path);
  if (reportRecordWrite(context_, path, writeRecordFile(path, list.entries()))) {
    list.markModified();
    return Outcome::Failed;
  }
  list.markSaved();
  return Outcome::Done;
}

bool RecordFiles::askToSaveChanges(RecordList &list) {
  if (!list.modified()) {
    return true;
  }
  const std::string question =
      context_.text(sid::kSaveChangesTo) + list.caption(context_.strings) + " ?";
  switch (context_.user.ask(question, Buttons::YesNoCancel)) {
  case Answer::Yes:
    return save(list) != Outcome::Failed && !list.modified();
  case Answer::No:
    list.markSaved();
    return true;
  default:
    return false;
  }
}

RecordFiles::Outcome RecordFiles::exportCsv(const RecordList &list) {
  const auto chosen =
      context_.user.saveFile({"", std::string(kCsvFilter), startFolder().string(), "*.csv"});
  if (!chosen) {
    return Outcome::Cancelled;
  }
  fs::path path = *chosen;
  if (path.filename().string().find(".csv") == std::string::npos) {
    path += ".csv";
  }
  remember(path);
  if (reportRecordWrite(context_, path,
                        writeExport(path, list, ExportFormat::Csv, context_.strings))) {
    return Outcome::Failed;
  }
  context_.user.message(context_.text(sid::kRecordFileExported) + path.string());
  return Outcome::Done;
}

} // namespace tarnwick
