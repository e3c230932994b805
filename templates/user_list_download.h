// The Favorite User List Download dialog apart from its controls: one user
// list, as its name and label codes, into the receiver after "linit".
#pragma once

#include "paced_download.h"
#include "user_list_store.h"

#include <string>
#include <string_view>

namespace tarnwick {

class UserListDownload final : public PacedDownload {
public:
  static constexpr int kDialogId = 236;
  static constexpr std::string_view kCaption = "Favorite User List Download";
  static constexpr int kSettleMs = 500;          // after "kb 12"
  static constexpr int kDoneMs = 2000;           // after "Download complete!"
  static constexpr int kTransferProgressMax = 1; // the bar's range: 0 to 1, set to 1

  UserListDownload(AppContext &context, const UserListStore &store)
      : PacedDownload(context), store_(store) {}

  // Opening: the status line asks for a list.
  void open();
  // The list the next begin() sends.
  void setList(std::string name) { name_ = std::move(name); }
  const std::string &list() const { return name_; }
  // setList(), then the whole download on this thread.
  DownloadResult send(std::string name, const CancelToken &cancel);

protected:
  DownloadPlan makePlan() override;
  // A list of the store, not "*New": else "Please select a User List to Send".
  bool chosen() override;

private:
  const UserListStore &store_;
  std::string name_;
};

// The download of one list as its steps: "linit", the header, the codes.
DownloadPlan planUserListDownload(std::string_view name, const std::vector<GlossaryRef> &labels,
                                  const StringTable &strings);

} // namespace tarnwick
