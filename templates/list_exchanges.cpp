#include "list_exchanges.h"

#include "commands.h"
#include "user_list_files.h"

#include <string>

namespace tarnwick {

bool listChosen(AppContext &context, const UserListStore &store, std::string_view name) {
  if (store.contains(name) && !equalsIgnoringCase(name, UserListStore::kNew)) {
    return true;
  }
  context.showMessage(sid::kSelectUserListToSend);
  return false;
}

std::vector<GlossaryRef> listCodes(const std::vector<GlossaryRef> &references) {
  std::vector<GlossaryRef> codes;
  for (const GlossaryRef reference : references) {
    if (reference == 0 || codes.size() == kMaxListLabels) {
      break;
    }
    codes.push_back(reference);
  }
  return codes;
}

// The flush comes before the "\r", not after it: the receiver answers the
// "\r" at once, and a flush after the pause would throw that ACK away.
PacedExchange listHeaderExchange(std::string_view name, std::size_t codeCount) {
  PacedExchange header;
  header.block(std::string(cmd::kListLength) + std::string(cmd::kSeparator), cmd::kDownloadPieceMs)
      .block(std::to_string(codeCount + 2) + std::string(cmd::kSeparator), cmd::kDownloadPieceMs)
      .block(std::to_string(name.size()), cmd::kDownloadPieceMs);
  // One space before the name, as the receiver reads the name's length after
  // one separator.
  if (!name.empty()) {
    header.block(cmd::kSeparator, cmd::kGapSlowestMs).paced(name, cmd::kGapSlowestMs);
  }
  return header.flush().block(cmd::kLineEnd, cmd::kGapSlowestMs).ack(cmd::kDownloadAckBoundMs);
}

PacedExchange listDataExchange(const std::vector<GlossaryRef> &codes) {
  std::string block{static_cast<char>(cmd::kListFrame), static_cast<char>(cmd::kBlockStart)};
  for (const GlossaryRef code : codes) {
    appendHighFirst(block, code);
  }
  block += {static_cast<char>(cmd::kListFrame), static_cast<char>(cmd::kBlockEnd)};
  PacedExchange data;
  data.block(std::string(cmd::kListData) + std::string(cmd::kLineEnd), cmd::kGapSlowestMs)
      .paced(block, cmd::kGapDefaultMs)
      .flush()
      .paced(std::string(1, static_cast<char>(cmd::kEndOfData)), cmd::kGapDefaultMs);
  return data.ack(cmd::kDownloadAckBoundMs);
}

} // namespace tarnwick
