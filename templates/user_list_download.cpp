#include "user_list_download.h"

#include "commands.h"
#include "list_exchanges.h"

namespace tarnwick {

DownloadPlan planUserListDownload(std::string_view name, const std::vector<GlossaryRef> &labels,
                                  const StringTable &strings) {
  const std::vector<GlossaryRef> codes = listCodes(labels);
  const std::string shownName(name);
  DownloadPlan plan;
  plan.settleMs = UserListDownload::kSettleMs;
  plan.progressMax = UserListDownload::kTransferProgressMax;
  PacedExchange start;
  start.block(std::string(cmd::kListInit) + std::string(cmd::kLineEnd), cmd::kDownloadPieceMs);
  plan.steps.push_back({std::move(start), std::nullopt, {}});
  plan.steps.push_back({listHeaderExchange(name, codes.size()),
                        UserListDownload::kTransferProgressMax,
                        strings.text(sid::kProblemDownloadingList) + shownName});
  plan.steps.push_back(
      {listDataExchange(codes), std::nullopt, strings.text(sid::kProblemInDownload)});
  plan.completion = {strings.text(sid::kTransferredPrefix) + shownName +
                         strings.text(sid::kUserListSuffix),
                     strings.text(sid::kDownloadComplete)};
  plan.pauseAfterCompletionMs = UserListDownload::kDoneMs;
  return plan;
}

void UserListDownload::open() {
  setStatus(context_.text(sid::kSelectUserListToDownload));
}

DownloadResult UserListDownload::send(std::string name, const CancelToken &cancel) {
  setList(std::move(name));
  return download(cancel);
}

bool UserListDownload::chosen() {
  return listChosen(context_, store_, name_);
}

DownloadPlan UserListDownload::makePlan() {
  const UserList &list = *store_.find(name_);
  return planUserListDownload(list.name, list.labels, context_.strings);
}

} // namespace tarnwick
