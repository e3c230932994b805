// The record state of a run: one list per kind, the clipboard they share and
// the current record path, where every Open and Save As starts.
#pragma once

#include "record_list.h"

#include <array>
#include <filesystem>

namespace tarnwick {

class RecordWorkspace {
public:
  RecordWorkspace()
      : lists_{RecordList(RecordKind::ReadMarkers), RecordList(RecordKind::ProgrammedMarkers),
               RecordList(RecordKind::CableData)} {}

  // The legacy kinds share the lists of their current kinds.
  RecordList &list(RecordKind kind) { return lists_[slot(kind)]; }
  const RecordList &list(RecordKind kind) const { return lists_[slot(kind)]; }

  RecordClipboard clipboard;
  std::filesystem::path currentFolder; // the current record path

private:
  static std::size_t slot(RecordKind kind) {
    switch (currentKind(kind)) {
    case RecordKind::ProgrammedMarkers:
      return 1;
    case RecordKind::CableData:
      return 2;
    default:
      return 0;
    }
  }

  std::array<RecordList, 3> lists_;
};

} // namespace tarnwick
