#include "description_list_download.h"

#include "commands.h"
#include "list_exchanges.h"

#include <algorithm>

namespace tarnwick {

namespace {

std::vector<GlossaryRef> nonZeroCodes(const DescriptionEntry &entry) {
  std::vector<GlossaryRef> codes;
  std::copy_if(entry.codes.begin(), entry.codes.end(), std::back_inserter(codes),
               [](GlossaryRef code) { return code != 0; });
  return codes;
}

std::string byteOf(std::uint8_t value) {
  return std::string(1, static_cast<char>(value));
}

} // namespace

PacedExchange descriptionHeaderExchange(const DescriptionEntry &entry) {
  const std::string sep(cmd::kSeparator);
  const std::string line = std::string(cmd::kTableLength) + sep +
                           std::to_string(nonZeroCodes(entry).size() + 2) + sep +
                           std::to_string(refCode(entry.header)) + sep +
                           std::to_string(refIndex(entry.header)) + std::string(cmd::kLineEnd);
  PacedExchange header;
  header.paced(line, cmd::kGapSlowMs, Pace::FlushFirst);
  return header.ack(cmd::kDownloadAckBoundMs);
}

PacedExchange descriptionDataExchange(const DescriptionEntry &entry) {
  std::string block = byteOf(cmd::kTableFrame) + byteOf(cmd::kBlockStart);
  if (entry.isFill()) {
    for (int i = 0; i < DescriptionListDownload::kFillRepeats; ++i) {
      appendHighFirst(block, entry.fill);
    }
  } else {
    for (const GlossaryRef code : nonZeroCodes(entry)) {
      appendHighFirst(block, code);
    }
  }
  block += byteOf(cmd::kTableFrame) + byteOf(cmd::kBlockEnd) + byteOf(cmd::kEndOfData);
  PacedExchange data;
  data.paced(std::string(cmd::kTableData) + std::string(cmd::kLineEnd), cmd::kGapSlowMs)
      .pause(DescriptionListDownload::kEntryPauseMs)
      .paced(block, cmd::kGapSlowMs, Pace::FlushFirst)
      .ack(cmd::kDownloadAckBoundMs);
  return data.block(cmd::kLineEnd, DescriptionListDownload::kEntryPauseMs);
}

DownloadPlan planDescriptionListDownload(const std::vector<DescriptionEntry> &entries,
                                         const StringTable &strings) {
  const std::size_t count = std::min(entries.size(), kMaxListLabels);
  DownloadPlan plan;
  plan.flushBeforeAlive = true;
  plan.settleMs = DescriptionListDownload::kSettleMs;
  plan.progressMax = count == 0 ? 0 : static_cast<int>(count) - 1;
  PacedExchange start;
  start.paced(std::string(cmd::kTableInit) + std::string(cmd::kLineEnd), cmd::kGapDefaultMs)
      .pause(cmd::kDownloadPieceMs);
  plan.steps.push_back({std::move(start), std::nullopt, {}});
  for (std::size_t i = 0; i < count; ++i) {
    const DescriptionEntry &entry = entries[i];
    const std::string failure = strings.text(sid::kProblemAfterList) + std::to_string(entry.header);
    plan.steps.push_back({descriptionHeaderExchange(entry), static_cast<int>(i), failure});
    plan.steps.push_back({descriptionDataExchange(entry), std::nullopt, failure});
  }
  plan.completion = {strings.text(sid::kDownloadComplete)};
  return plan;
}

DownloadResult DescriptionListDownload::send(std::string name, const CancelToken &cancel) {
  setList(std::move(name));
  return download(cancel);
}

bool DescriptionListDownload::chosen() {
  return listChosen(context_, store_, name_);
}

DownloadPlan DescriptionListDownload::makePlan() {
  return planDescriptionListDownload(store_.descriptionEntries(name_), context_.strings);
}

} // namespace tarnwick
