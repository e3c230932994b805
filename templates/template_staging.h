// The receiver's templates on the PC: the staging folder "LocDrive" with one
// ".utl" file per template read from the receiver, the records as they travel
// on the line, and the template files offered for sending.
//
// Names come from the receiver and are not trusted: each becomes a safe file
// name inside the staging folder, and nothing is written or removed outside it.
#pragma once

#include "atomic_write.h"
#include "string_ids.h"
#include "string_table.h"
#include "template_codec.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

inline constexpr std::string_view kStagingFolder = "\\LocDrive";
inline constexpr std::size_t kTemplateNameField = 15; // zero-padded name before the data
inline constexpr std::size_t kUserTemplateData = 113; // data field of a user template
inline constexpr std::size_t kTraceTemplateData = 145;
inline constexpr std::size_t kMaxUserTemplates = 32; // what a receiver holds
inline constexpr std::size_t kMaxTraceTemplates = 4;
inline constexpr std::uint8_t kUserTemplateMarker = 1; // first byte of a user template's data
inline constexpr std::string_view kUnnamedTemplate = "unnamed"; // for an empty name field

// Kind 1 is the user (marker) kind, kind 2 the trace kind.
std::size_t templateDataField(TemplateKind kind);
std::size_t receiverTemplateLimit(TemplateKind kind);

std::filesystem::path stagingFolderOf(const std::filesystem::path &workingFolder);

// A record as the receiver sends it: the name up to the first zero byte of
// the name field (Latin-1), then everything after the name field.
struct ReceivedTemplate {
  std::string name;
  std::vector<std::uint8_t> data;
};
ReceivedTemplate splitTemplateRecord(std::span<const std::uint8_t> record);

// A file stem for a name read from the receiver: no path separators or other
// characters a file system refuses, no "..", no control characters, no dot
// at either end, at most 15 characters (Latin-1 letters become UTF-8); an
// empty name is "unnamed".
std::string safeTemplateStem(std::string_view receiverName);
// stem itself, or stem shortened and numbered ("Gas~2") so that it is none of
// taken (compared without regard to case) and still at most 15 characters.
std::string unusedTemplateStem(const std::string &stem, const std::vector<std::string> &taken);

// The staged file's bytes: 0xFF first for a trace template, then the data.
std::vector<std::uint8_t> stagedTemplateBytes(const ReceivedTemplate &record, TemplateKind kind);

// One entry of the dialog's lists: the file name shown, and after the marker
// the path of the file to send.
struct TemplateEntry {
  std::string fileName;
  std::filesystem::path path;
  static constexpr std::string_view kPathMarker = "** ";
  std::string text() const; // "Gas.utl    ** /path/Gas.utl"
  bool operator==(const TemplateEntry &) const = default;
};

// Removes the staging folder and what it holds, with file-system calls that
// stay inside it: a link in its place or inside it is removed, never
// followed. An empty error when the folder is gone (or was never there).
std::error_code ClearStaging(const std::filesystem::path &staging);
// The staged ".utl" files in listing order; the folder is created when missing.
std::vector<TemplateEntry> ListStagedTemplates(const std::filesystem::path &staging);
// Writes one received record as a staged file under a safe name not yet used
// in the folder; the result names the file written or the one that failed.
SaveResult SaveStagedTemplate(const std::filesystem::path &staging, const ReceivedTemplate &record,
                              TemplateKind kind);

// The ".utl" files of folder whose first byte marks the kind: 1 for user
// templates, 0xFF for trace templates.
std::vector<TemplateEntry> listTemplateFolder(const std::filesystem::path &folder,
                                              TemplateKind kind);

// A template as it goes on the line: the name field and the data field.
struct OutgoingTemplate {
  std::string name; // as sent, Latin-1
  std::vector<std::uint8_t> record;
};

// Why a template cannot be sent whole: the message and what it names.
struct TemplateRefusal {
  StringId message = 0;
  std::string detail;
  std::string text(const StringTable &strings) const { return strings.text(message) + detail; }
};

struct PreparedTemplate {
  std::optional<OutgoingTemplate> outgoing;
  std::optional<TemplateRefusal> refusal;
};

// The record for a template file: its name (the file name without ".utl")
// zero-padded to 15 bytes, then its bytes (a trace file's leading 0xFF left
// out) zero-padded to the kind's data field. Refused, before anything is
// sent, when the file cannot be read, its name is longer than 15 characters
// or its data longer than the field.
PreparedTemplate prepareTemplate(const std::filesystem::path &path, TemplateKind kind);

} // namespace tarnwick
