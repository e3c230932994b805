// The Download Description List dialog apart from its controls: the label
// links of one user list into the receiver after "tinit", one entry at a
// time, each a "pctl" header line and a "tdata" block the receiver
// acknowledges.
#pragma once

#include "paced_download.h"
#include "user_list_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class DescriptionListDownload final : public PacedDownload {
public:
  static constexpr int kDialogId = 239;
  static constexpr std::string_view kCaption = "Download Description List";
  static constexpr int kSettleMs = 500;     // after "kb 12"
  static constexpr int kFillRepeats = 350;  // a fill entry's value, this many times
  static constexpr int kEntryPauseMs = 200; // after "tdata" and after each entry

  DescriptionListDownload(AppContext &context, UserListStore &store)
      : PacedDownload(context), store_(store) {}

  void setList(std::string name) { name_ = std::move(name); }
  const std::string &list() const { return name_; }
  // setList(), then the whole download on this thread.
  DownloadResult send(std::string name, const CancelToken &cancel);

protected:
  DownloadPlan makePlan() override;
  // A list of the store, not "*New": else "Please select a User List to Send".
  bool chosen() override;

private:
  UserListStore &store_;
  std::string name_;
};

// "pctl", the non-zero code count + 2, the header's high and low byte, "\r":
// each byte after an input flush, 50 ms after each; the ACK.
PacedExchange descriptionHeaderExchange(const DescriptionEntry &entry);
// "tdata\r", 50 ms a byte, 200 ms; 0x19 0x1E, the non-zero codes (or the fill
// value 350 times) high byte first, 0x19 0x1F, 0x7F, each byte after an
// input flush, 50 ms after each; the ACK; then "\r" and 200 ms.
PacedExchange descriptionDataExchange(const DescriptionEntry &entry);
// "tinit", then each entry; at most 88 entries.
DownloadPlan planDescriptionListDownload(const std::vector<DescriptionEntry> &entries,
                                         const StringTable &strings);

} // namespace tarnwick
