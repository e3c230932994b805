#include "write_history_capture.h"

#include "commands.h"
#include "record_file.h"
#include "record_files.h"
#include "record_upload.h"

namespace tarnwick {

namespace {

constexpr int kEchoGapMs = cmd::kGapShortMs; // the "pc" line here is paced faster
constexpr int kClearGapMs = cmd::kGapDefaultMs;

} // namespace

WriteHistoryResult captureWriteHistory(Console &console, const std::filesystem::path &folder) {
  WriteHistoryResult result;
  console.FlushInput();
  if (!succeeded(console.SendEchoedLine(cmd::kProgrammedRecords, kEchoGapMs))) {
    return result;
  }
  result.echoed = true;
  std::vector<RecordEntry> entries;
  UploadSink sink;
  sink.record = [&](std::vector<std::uint8_t> record) {
    RecordEntry entry;
    entry.raw = std::move(record);
    entries.push_back(std::move(entry));
  };
  const UploadRead read = readMarkerUpload(console, sink);
  if (!read.diagnostic.empty()) {
    console.context().user.message(read.diagnostic);
  }
  result.readCompletely = succeeded(read.outcome);
  result.records = entries.size();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::filesystem::path path = folder / kWriteHistoryFile;
  result.saved = !reportRecordWrite(console.context(), path, writeRecordFile(path, entries));
  if (result.readCompletely && result.saved) {
    result.cleared = succeeded(console.SendCommandLine(cmd::kClearProgrammedMarkers, kClearGapMs));
  }
  return result;
}

} // namespace tarnwick
