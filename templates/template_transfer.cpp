#include "template_transfer.h"

#include <string>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

struct FamilyRange {
  int first;
  int last;
  TemplateFamily family;
};

constexpr FamilyRange kFamilies[] = {
    {0, 10, {VersionSlot::A, 3}},  {12, 12, {VersionSlot::B, 1}}, {30, 39, {VersionSlot::C, 2}},
    {40, 50, {VersionSlot::D, 3}}, {51, 51, {VersionSlot::E, 4}}, {52, 54, {VersionSlot::D, 3}},
    {61, 69, {VersionSlot::F, 5}},
};

constexpr int kFirstTraceTableVersion = 18; // families 3 and 4

StageReport::End stageEndFor(Outcome outcome) {
  switch (outcome) {
  case Outcome::Cancelled:
    return StageReport::End::Cancelled;
  case Outcome::WriteFailed:
    return StageReport::End::WriteFailed;
  default:
    break;
  }
  return StageReport::End::Silent;
}

SendReport ended(SendReport report, Outcome outcome) {
  switch (outcome) {
  case Outcome::WriteFailed:
    report.end = SendReport::End::WriteFailed;
    break;
  case Outcome::Cancelled:
    report.end = SendReport::End::Cancelled;
    break;
  default:
    report.end = SendReport::End::NotAcknowledged;
    break;
  }
  return report;
}

StageReport stagingFailed(StageReport report, const fs::path &path, std::error_code error) {
  report.end = StageReport::End::StagingFailed;
  report.failedPath = path;
  report.error = error;
  return report;
}

// The record again while the download's resend budget lasts; Silent once it
// is spent.
Outcome sendWithResends(Console &console, const OutgoingTemplate &outgoing, SendReport &report,
                        const SendObserver &observer) {
  Outcome outcome = SendTemplate(console, outgoing);
  while (outcome == Outcome::Silent && report.resends < kTemplateResendBudget) {
    ++report.resends;
    if (observer.onResend) {
      observer.onResend(report.resends);
    }
    console.FlushInput();
    outcome = SendTemplate(console, outgoing);
  }
  return outcome;
}

} // namespace

std::optional<TemplateFamily> templateFamilyOf(int modelCode) {
  for (const FamilyRange &range : kFamilies) {
    if (modelCode >= range.first && modelCode <= range.last) {
      return range.family;
    }
  }
  return std::nullopt;
}

bool readsTemplateTable(TemplateKind kind, const TemplateFamily &family, int softwareVersion) {
  if (kind != TemplateKind::Trace) {
    return true;
  }
  switch (family.family) {
  case 1:
    return false;
  case 3:
  case 4:
    return softwareVersion >= kFirstTraceTableVersion;
  default:
    break;
  }
  return true;
}

std::string_view tableCommand(TemplateKind kind) {
  return kind == TemplateKind::Trace ? cmd::kReceiverTraceTable : cmd::kReceiverTemplates;
}

std::string_view countCommand(TemplateKind kind) {
  return kind == TemplateKind::Trace ? cmd::kTemplateTableCount : cmd::kTemplateCount;
}

std::string_view dataCommand(TemplateKind kind) {
  return kind == TemplateKind::Trace ? cmd::kTemplateTableData : cmd::kTemplateData;
}

Outcome RequestTemplateTable(Console &console, TemplateKind kind, int gapMs,
                             TemplateTableHeader &header) {
  if (const Outcome sent = console.SendCommandLine(tableCommand(kind), gapMs); !succeeded(sent)) {
    return sent;
  }
  const auto reply = console.ReadStatusReply(cmd::kTemplateReplyBoundMs, cmd::kTemplateTableHeader);
  if (!reply) {
    return console.unlessCancelled(Outcome::Silent);
  }
  header = {(*reply)[0], (*reply)[1]};
  return Outcome::Ok;
}

StageReport StageTemplateTable(Console &console, const TemplateTableHeader &header,
                               TemplateKind kind, const fs::path &staging) {
  StageReport report;
  if (const std::error_code error = ClearStaging(staging)) {
    return stagingFailed(std::move(report), staging, error);
  }
  std::error_code error;
  fs::create_directories(staging, error);
  if (error) {
    return stagingFailed(std::move(report), staging, error);
  }
  for (std::size_t i = 0; i < header.count; ++i) {
    const auto record = console.ReadBytes(header.recordBytes, cmd::kTemplateRecordBoundMs);
    if (!record) {
      report.end = console.cancelled() ? StageReport::End::Cancelled : StageReport::End::Silent;
      return report;
    }
    const SaveResult saved = SaveStagedTemplate(staging, splitTemplateRecord(*record), kind);
    if (!saved) {
      return stagingFailed(std::move(report), saved.path, saved.error);
    }
    report.staged.push_back(saved.path);
  }
  return report;
}

Outcome SendTemplate(Console &console, const OutgoingTemplate &outgoing) {
  const std::string_view bytes(reinterpret_cast<const char *>(outgoing.record.data()),
                               outgoing.record.size());
  if (const Outcome sent = console.SendPaced(bytes, cmd::kGapDefaultMs); !succeeded(sent)) {
    return sent;
  }
  return console.ReadUntil(cmd::kAck, cmd::kTemplateAckBoundMs);
}

SendReport SendTemplates(Console &console, TemplateKind kind,
                         const std::vector<OutgoingTemplate> &templates, int lineGapMs,
                         const SendObserver &observer) {
  SendReport report;
  const std::string count = std::string(countCommand(kind)) + std::string(cmd::kSeparator) +
                            std::to_string(templates.size());
  if (const Outcome sent = console.SendCommandLine(count, lineGapMs); !succeeded(sent)) {
    return ended(report, sent);
  }
  if (observer.onCounted) {
    observer.onCounted(templates.size());
  }
  for (const OutgoingTemplate &outgoing : templates) {
    if (const Outcome sent = console.SendCommandLine(dataCommand(kind), lineGapMs);
        !succeeded(sent)) {
      return ended(report, sent);
    }
    console.FlushInput();
    if (const Outcome acked = sendWithResends(console, outgoing, report, observer);
        !succeeded(acked)) {
      return ended(report, acked);
    }
    (void)console.ReadByte(); // the receiver's one more byte after the ACK
    ++report.sent;
    if (observer.onSent) {
      observer.onSent(report.sent);
    }
  }
  return report;
}

StageReport SaveUserTemplatesBeforeUpgrade(Console &console, const fs::path &workingFolder) {
  console.FlushInput();
  TemplateTableHeader header;
  const Outcome asked =
      RequestTemplateTable(console, TemplateKind::Marker, cmd::kGapShortMs, header);
  if (!succeeded(asked)) {
    StageReport report;
    report.end = stageEndFor(asked);
    return report;
  }
  return StageTemplateTable(console, header, TemplateKind::Marker, stagingFolderOf(workingFolder));
}

RestoreReport SendSavedUserTemplates(Console &console, const fs::path &workingFolder) {
  RestoreReport report;
  const fs::path staging = stagingFolderOf(workingFolder);
  std::vector<OutgoingTemplate> outgoing;
  for (const TemplateEntry &entry : ListStagedTemplates(staging)) {
    PreparedTemplate prepared = prepareTemplate(entry.path, TemplateKind::Marker);
    if (prepared.refusal) {
      report.refusal = prepared.refusal;
      return report; // nothing sent, everything kept
    }
    outgoing.push_back(std::move(*prepared.outgoing));
  }
  report.staged = outgoing.size();
  report.send = SendTemplates(console, TemplateKind::Marker, outgoing, cmd::kGapShortMs);
  if (report.restored()) {
    report.cleared = ClearStaging(staging);
  }
  return report;
}

std::string restoreFailureText(const StringTable &strings, const RestoreReport &report,
                               const fs::path &workingFolder) {
  if (report.restored()) {
    return {};
  }
  const std::string kept =
      strings.text(sid::kSavedTemplatesKept) + stagingFolderOf(workingFolder).string();
  return report.refusal ? report.refusal->text(strings) + "\n" + kept : kept;
}

} // namespace tarnwick
