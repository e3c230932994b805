#include "template_staging.h"

#include "folder_listing.h"
#include "glossary.h"
#include "glossary_files.h"
#include "install_path.h"
#include "template_file.h"
#include "text_encoding.h"

#include <algorithm>
#include <fstream>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

bool isControl(unsigned char c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Separators and the characters that a Windows volume refuses in a name.
bool isRefusedInNames(char c) {
  return std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
}

bool endsWithExtension(std::string_view name) {
  return name.size() >= kTemplateExtension.size() &&
         equalsIgnoringCase(name.substr(name.size() - kTemplateExtension.size()),
                            kTemplateExtension);
}

std::string stemOf(std::string_view fileName) {
  return std::string(endsWithExtension(fileName)
                         ? fileName.substr(0, fileName.size() - kTemplateExtension.size())
                         : fileName);
}

// Every name in the folder, whatever it is, without its ".utl".
std::vector<std::string> stemsIn(const fs::path &folder) {
  std::vector<std::string> stems;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    stems.push_back(stemOf(it->path().filename().string()));
  }
  return stems;
}

std::optional<std::uint8_t> firstByteOf(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  const int c = in.get();
  if (!in) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(c);
}

PreparedTemplate refused(StringId message, std::string detail) {
  PreparedTemplate prepared;
  prepared.refusal = TemplateRefusal{message, std::move(detail)};
  return prepared;
}

} // namespace

std::size_t templateDataField(TemplateKind kind) {
  return kind == TemplateKind::Trace ? kTraceTemplateData : kUserTemplateData;
}

std::size_t receiverTemplateLimit(TemplateKind kind) {
  return kind == TemplateKind::Trace ? kMaxTraceTemplates : kMaxUserTemplates;
}

fs::path stagingFolderOf(const fs::path &workingFolder) {
  return resolveInstallPath(workingFolder, kStagingFolder);
}

ReceivedTemplate splitTemplateRecord(std::span<const std::uint8_t> record) {
  const auto field = record.first(std::min(record.size(), kTemplateNameField));
  const auto nameEnd = std::find(field.begin(), field.end(), std::uint8_t{0});
  ReceivedTemplate received;
  received.name.assign(field.begin(), nameEnd);
  const auto data = record.subspan(field.size());
  received.data.assign(data.begin(), data.end());
  return received;
}

std::string safeTemplateStem(std::string_view receiverName) {
  std::string name;
  for (const char c : receiverName.substr(0, kTemplateNameField)) {
    const bool unsafe = isControl(static_cast<unsigned char>(c)) || isRefusedInNames(c);
    name.push_back(unsafe ? '_' : c);
  }
  // No "..", and no dot at the start (a hidden file) or the end (".." before
  // the extension).
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '.' && (i == 0 || i + 1 == name.size() || name[i + 1] == '.')) {
      name[i] = '_';
    }
  }
  return name.empty() ? std::string(kUnnamedTemplate) : latin1ToUtf8(name);
}

std::string unusedTemplateStem(const std::string &stem, const std::vector<std::string> &taken) {
  const auto isTaken = [&taken](const std::string &candidate) {
    return std::any_of(taken.begin(), taken.end(), [&candidate](const std::string &name) {
      return equalsIgnoringCase(name, candidate);
    });
  };
  if (!isTaken(stem)) {
    return stem;
  }
  const std::string name = utf8ToLatin1(stem);
  for (std::size_t number = 2;; ++number) {
    const std::string suffix = "~" + std::to_string(number);
    const std::string candidate =
        latin1ToUtf8(name.substr(0, kTemplateNameField - suffix.size())) + suffix;
    if (!isTaken(candidate)) {
      return candidate;
    }
  }
}

std::vector<std::uint8_t> stagedTemplateBytes(const ReceivedTemplate &record, TemplateKind kind) {
  std::vector<std::uint8_t> bytes;
  if (kind == TemplateKind::Trace) {
    bytes.push_back(kTracePrefix);
  }
  bytes.insert(bytes.end(), record.data.begin(), record.data.end());
  return bytes;
}

std::string TemplateEntry::text() const {
  return fileName + "    " + std::string(kPathMarker) + path.string();
}

std::error_code ClearStaging(const fs::path &staging) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(staging, error);
  if (status.type() == fs::file_type::not_found) {
    return {};
  }
  if (error) {
    return error;
  }
  // remove_all() removes links themselves, in the folder and in its place.
  fs::remove_all(staging, error);
  return error;
}

std::vector<TemplateEntry> ListStagedTemplates(const fs::path &staging) {
  std::error_code ignored; // a folder that cannot be made lists nothing
  fs::create_directories(staging, ignored);
  std::vector<TemplateEntry> entries;
  for (const std::string &name : listFilesWithExtension(staging, kTemplateExtension)) {
    entries.push_back({name, staging / name});
  }
  return entries;
}

SaveResult SaveStagedTemplate(const fs::path &staging, const ReceivedTemplate &record,
                              TemplateKind kind) {
  const std::string stem = unusedTemplateStem(safeTemplateStem(record.name), stemsIn(staging));
  return saveFileInFolder(staging / (stem + std::string(kTemplateExtension)),
                          stagedTemplateBytes(record, kind));
}

std::vector<TemplateEntry> listTemplateFolder(const fs::path &folder, TemplateKind kind) {
  const std::uint8_t marker = kind == TemplateKind::Trace ? kTracePrefix : kUserTemplateMarker;
  std::vector<TemplateEntry> entries;
  for (const std::string &name : listFilesWithExtension(folder, kTemplateExtension)) {
    if (firstByteOf(folder / name) == marker) {
      entries.push_back({name, folder / name});
    }
  }
  return entries;
}

PreparedTemplate prepareTemplate(const fs::path &path, TemplateKind kind) {
  std::vector<std::uint8_t> bytes;
  if (!readWholeFile(path, bytes)) {
    return refused(sid::kTemplateFileUnreadable, path.string());
  }
  const std::string stem = stemOf(path.filename().string());
  const std::string name = utf8ToLatin1(stem);
  if (name.size() > kTemplateNameField) {
    return refused(sid::kTemplateNameTooLong, stem);
  }
  std::span<const std::uint8_t> data = bytes;
  if (kind == TemplateKind::Trace && !data.empty() && data.front() == kTracePrefix) {
    data = data.subspan(1);
  }
  const std::size_t field = templateDataField(kind);
  if (data.size() > field) {
    return refused(sid::kTemplateDataTooLong, path.string());
  }
  OutgoingTemplate outgoing;
  outgoing.name = name;
  outgoing.record.assign(name.begin(), name.end());
  outgoing.record.resize(kTemplateNameField, 0);
  outgoing.record.insert(outgoing.record.end(), data.begin(), data.end());
  outgoing.record.resize(kTemplateNameField + field, 0);
  PreparedTemplate prepared;
  prepared.outgoing = std::move(outgoing);
  return prepared;
}

} // namespace tarnwick
