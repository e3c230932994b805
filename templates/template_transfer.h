// The template exchanges on the line, shared by the Download Templates dialog
// and the software upgrade: the receiver's template table into the staging
// folder, and templates sent with the resend budget of a whole download.
#pragma once

#include "console.h"
#include "model_catalogue.h"
#include "template_staging.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

// The receiver's software family and the shipped-version slot that applies.
struct TemplateFamily {
  VersionSlot slot;
  int family;
};
// Nothing for a model code outside every family.
std::optional<TemplateFamily> templateFamilyOf(int modelCode);
// Whether the receiver's table of the kind is read: trace templates not for
// family 1, and for families 3 and 4 only from software version 18 on.
bool readsTemplateTable(TemplateKind kind, const TemplateFamily &family, int softwareVersion);

// "locut" for user templates, "ttdata" for trace templates.
std::string_view tableCommand(TemplateKind kind);
// "pcut"/"pcttlen" (the count) and "fdata"/"pcttd" (one template follows).
std::string_view countCommand(TemplateKind kind);
std::string_view dataCommand(TemplateKind kind);

// The answer to "locut"/"ttdata": count records of recordBytes bytes follow.
struct TemplateTableHeader {
  std::size_t count = 0;
  std::size_t recordBytes = 0;
};
// Sends the table command and reads 0xD5 0x02, the count and the record size
// into header; Silent when no valid answer came.
[[nodiscard]] Outcome RequestTemplateTable(Console &console, TemplateKind kind, int gapMs,
                                           TemplateTableHeader &header);

struct StageReport {
  enum class End {
    Staged,        // every record is a staged file
    Silent,        // the table, or a record of it, did not come whole within its bound
    WriteFailed,   // the port refused a byte of the command
    Cancelled,     // the user interrupted
    StagingFailed, // the folder could not be emptied or a file written
  };
  End end = End::Staged;
  std::vector<std::filesystem::path> staged; // files written, in the order received
  std::filesystem::path failedPath;          // with StagingFailed
  std::error_code error;                     // with StagingFailed
};

// Empties the staging folder, then reads header.count records and stages
// each as it arrives. Nothing is removed before the receiver has answered.
StageReport StageTemplateTable(Console &console, const TemplateTableHeader &header,
                               TemplateKind kind, const std::filesystem::path &staging);

// One record paced 25 ms a byte, then the ACK within 35 s.
[[nodiscard]] Outcome SendTemplate(Console &console, const OutgoingTemplate &outgoing);

struct SendObserver {
  std::function<void(int retryNumber)> onResend;    // before each resend
  std::function<void(std::size_t sent)> onSent;     // after each ACK and its byte
  std::function<void(std::size_t count)> onCounted; // after the count line
};

struct SendReport {
  enum class End {
    Sent,            // every template acknowledged
    NotAcknowledged, // one was still refused once the resends were spent
    WriteFailed,
    Cancelled,
  };
  End end = End::Sent;
  std::size_t sent = 0;
  int resends = 0;
};

inline constexpr int kTemplateResendBudget = 3; // resends of a whole download, not each template

// The count line, then for each template its data line, a flush and the
// record; a refused record is sent again while the download's budget of
// three resends lasts. After each ACK the receiver's one more byte is read.
SendReport SendTemplates(Console &console, TemplateKind kind,
                         const std::vector<OutgoingTemplate> &templates, int lineGapMs,
                         const SendObserver &observer = {});

// Before an upgrade: the receiver's user templates into the staging folder
// ("locut" at 10 ms a byte). Silent when the table did not come.
StageReport SaveUserTemplatesBeforeUpgrade(Console &console,
                                           const std::filesystem::path &workingFolder);

struct RestoreReport {
  std::size_t staged = 0;                 // templates found in the staging folder
  std::optional<TemplateRefusal> refusal; // a staged file that cannot be sent whole
  SendReport send;
  std::error_code cleared; // why the folder could not be emptied afterwards
  // Every staged template was acknowledged.
  bool restored() const { return !refusal && send.end == SendReport::End::Sent; }
};

// After an upgrade: the staged user templates back to the receiver ("pcut"
// and "fdata" at 10 ms a byte). The staging folder is cleared only once every
// template was acknowledged; otherwise it is kept.
RestoreReport SendSavedUserTemplates(Console &console, const std::filesystem::path &workingFolder);
// The message for a restore that did not complete; empty when it did.
std::string restoreFailureText(const StringTable &strings, const RestoreReport &report,
                               const std::filesystem::path &workingFolder);

} // namespace tarnwick
