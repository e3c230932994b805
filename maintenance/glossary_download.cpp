#include "glossary_download.h"

#include "commands.h"
#include "list_exchanges.h"
#include "user_list_store.h"

#include <algorithm>
#include <string>

namespace tarnwick {

namespace {

constexpr int kGroupLineGapMs = cmd::kGapSlowMs;  // each byte of a "gn" line
constexpr int kItemGapMs = cmd::kGapDefaultMs;    // before each character of an item
constexpr int kDataGapMs = cmd::kGapDefaultMs;    // each byte of a list or table block
constexpr int kShortPauseMs = cmd::kGapSlowestMs; // after "tdata", the "\r" and "gloss"
constexpr std::string_view kAllList = "All";

const std::string kSep(cmd::kSeparator);
const std::string kCr(cmd::kLineEnd);

std::string byteOf(std::uint8_t value) {
  return std::string(1, static_cast<char>(value));
}

void addRecord(std::vector<TermRecord> &records, GlossaryRef tag, std::vector<GlossaryRef> values,
               std::size_t limit) {
  if (values.size() > limit) {
    values.resize(limit);
  }
  records.push_back({tag, std::move(values)});
}

std::size_t nonZeroCount(const TermRecord &record) {
  return record.values.size() -
         static_cast<std::size_t>(std::count(record.values.begin(), record.values.end(), 0));
}

std::string itemFailure(const StringTable &strings, std::size_t group, std::size_t item) {
  return strings.text(sid::kProblemInDownload) + strings.text(sid::kGroupPositionPrefix) +
         std::to_string(group) + strings.text(sid::kItemPositionPrefix) + std::to_string(item);
}

void planGroups(DownloadPlan &plan, const Glossary &glossary, const StringTable &strings) {
  for (std::size_t ordinal = 0; ordinal < kGlossarySendOrder.size(); ++ordinal) {
    const auto groupNumber = static_cast<std::size_t>(kGlossarySendOrder[ordinal]);
    const GlossaryGroup &group = kGlossaryGroups[groupNumber];
    plan.steps.push_back({groupHeaderExchange(group), static_cast<int>(ordinal), {}});
    for (int index = 0; index < group.count; ++index) {
      plan.steps.push_back({glossaryItemExchange(glossary.text(group.code, index), group.maxLength),
                            std::nullopt,
                            itemFailure(strings, ordinal, static_cast<std::size_t>(index))});
    }
  }
}

} // namespace

GroupHeader groupHeaderOf(const GlossaryGroup &group) {
  return {group.code, static_cast<std::uint8_t>(group.count),
          static_cast<std::int8_t>(group.indexBits)};
}

std::vector<TermRecord> glossaryTermRecords(const Glossary &glossary) {
  std::vector<TermRecord> records;
  std::vector<GlossaryRef> descriptions;
  for (const GlossaryItem &item : glossary.descriptionItems()) {
    descriptions.push_back(item.ref);
  }
  addRecord(records, kTermTableTag, std::move(descriptions), kTermTableValues);
  std::vector<GlossaryRef> formats;
  for (const std::string_view format : {"M/D/Y", "D/M/Y"}) {
    if (const GlossaryMatch match = glossary.findDescription(format); match.found()) {
      formats.push_back(match.ref());
    }
  }
  addRecord(records, makeGlossaryRef(Glossary::kDateLabelCode, Glossary::kDateLabelIndex),
            std::move(formats), kDateFormatValues);
  return records;
}

PacedExchange groupHeaderExchange(const GlossaryGroup &group) {
  const GroupHeader header = groupHeaderOf(group);
  const std::string line = std::string(cmd::kGlossName) + kSep + std::to_string(header.code) +
                           kSep + std::to_string(header.indexBits) + kSep +
                           std::to_string(header.count) + kCr;
  PacedExchange exchange;
  exchange.flush().paced(line, kGroupLineGapMs);
  return exchange.block(std::string(cmd::kGlossData) + kCr, cmd::kDownloadPieceMs);
}

PacedExchange glossaryItemExchange(std::string_view item, int maxLength) {
  const auto max = static_cast<std::size_t>(maxLength);
  const std::string_view sent = item.substr(0, max);
  PacedExchange exchange;
  exchange.paced(sent, kItemGapMs, Pace::GapBefore);
  if (sent.size() < max) {
    exchange.flush().paced(byteOf(cmd::kEndOfData), kItemGapMs);
  }
  return exchange.ack(cmd::kDownloadAckBoundMs);
}

PacedExchange termHeaderExchange(const TermRecord &record) {
  PacedExchange exchange;
  exchange.block(std::string(cmd::kTableLength) + kSep, cmd::kDownloadPieceMs)
      .block(std::to_string(nonZeroCount(record) + 2) + kSep, cmd::kDownloadPieceMs)
      .block(std::to_string(refCode(record.tag)) + kSep, cmd::kDownloadPieceMs)
      .block(std::to_string(refIndex(record.tag)), cmd::kDownloadPieceMs)
      .flush()
      .block(kCr, kShortPauseMs);
  return exchange.ack(cmd::kDownloadAckBoundMs);
}

PacedExchange termDataExchange(const TermRecord &record) {
  std::string block = byteOf(cmd::kTableFrame) + byteOf(cmd::kBlockStart);
  for (const GlossaryRef value : record.values) {
    if (value != 0) {
      appendHighFirst(block, value);
    }
  }
  block += byteOf(cmd::kTableFrame) + byteOf(cmd::kBlockEnd);
  PacedExchange exchange;
  exchange.block(std::string(cmd::kTableData) + kCr, kShortPauseMs)
      .paced(block, kDataGapMs)
      .flush()
      .paced(byteOf(cmd::kEndOfData), kDataGapMs);
  return exchange.ack(cmd::kDownloadAckBoundMs);
}

PacedExchange glossaryVersionExchange() {
  PacedExchange exchange;
  exchange.flush().block(std::string(cmd::kGloss) + kSep + std::string(cmd::kGlossaryVersion) + kCr,
                         kShortPauseMs);
  return exchange.ack(cmd::kDownloadAckBoundMs);
}

DownloadPlan planGlossaryDownload(const Glossary &glossary, const StringTable &strings) {
  DownloadPlan plan;
  plan.progressMax = GlossaryDownload::kProgressSteps;
  plan.hideProgressAtEnd = false;
  planGroups(plan, glossary, strings);
  const std::string listProblem = strings.text(sid::kLabelTermListProblem);
  const int listsProgress = static_cast<int>(kGlossarySendOrder.size());
  const std::vector<GlossaryRef> labels = listCodes(allLabelsOf(glossary));
  plan.steps.push_back({listHeaderExchange(kAllList, labels.size()), listsProgress, listProblem});
  plan.steps.push_back({listDataExchange(labels), std::nullopt, listProblem});
  bool first = true;
  for (const TermRecord &record : glossaryTermRecords(glossary)) {
    const std::optional<int> progress = first ? std::optional(listsProgress + 1) : std::nullopt;
    first = false;
    plan.steps.push_back({termHeaderExchange(record), progress, listProblem});
    plan.steps.push_back({termDataExchange(record), std::nullopt, listProblem});
  }
  plan.steps.push_back({glossaryVersionExchange(), GlossaryDownload::kProgressSteps,
                        strings.text(sid::kProblemSendingGlossaryVersion)});
  plan.completion = {strings.text(sid::kDownloadComplete)};
  return plan;
}

} // namespace tarnwick
