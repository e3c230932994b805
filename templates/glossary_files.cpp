#include "glossary_files.h"

#include "install_path.h"

#include <fstream>
#include <iterator>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

bool groupIsOfFile(int code, EntryKind kind) {
  const int group = Glossary::groupOf(code);
  if (group < 0) {
    return false;
  }
  const GlossaryGroup &info = kGlossaryGroups[static_cast<std::size_t>(group)];
  return info.kind == kind && !info.user;
}

std::string_view trimRight(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

std::string_view trimmed(std::string_view line) {
  line = trimRight(line);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
    line.remove_prefix(1);
  }
  return line;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string textOf(const std::vector<std::uint8_t> &bytes) {
  return {bytes.begin(), bytes.end()};
}

} // namespace

bool readWholeFile(const fs::path &path, std::vector<std::uint8_t> &bytes) {
  bytes.clear();
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int applyPredefinedRecords(Glossary &glossary, std::span<const std::uint8_t> bytes,
                           EntryKind kind) {
  int set = 0;
  std::size_t at = 0;
  while (at + 3 <= bytes.size()) {
    const int code = bytes[at];
    const int index = bytes[at + 2];
    std::size_t end = at + 3;
    while (end < bytes.size() && bytes[end] != 0x0A) {
      ++end;
    }
    std::string entry(bytes.begin() + static_cast<std::ptrdiff_t>(at + 3),
                      bytes.begin() + static_cast<std::ptrdiff_t>(end));
    if (!entry.empty() && entry.back() == '\r') {
      entry.pop_back();
    }
    if (groupIsOfFile(code, kind) && glossary.setEntry(code, index, std::move(entry))) {
      ++set;
    }
    at = end + 1;
  }
  return set;
}

std::vector<std::string> splitEntryLines(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  std::vector<std::string> entries;
  for (std::string_view line : linesOf(text)) {
    entries.emplace_back(trimRight(line));
  }
  return entries;
}

int parseEncodeFormat(std::string_view text) {
  bool inSection = false;
  for (std::string_view line : linesOf(text)) {
    const std::string_view clean = trimmed(line);
    if (clean.substr(0, 1) == "#") {
      continue;
    }
    if (inSection) {
      return clean == "8-bit" ? 8 : 7;
    }
    inSection = clean.substr(0, 14) == "[EncodeFormat]";
  }
  return inSection ? 7 : 0;
}

int characterWidthOf(const fs::path &glossaryFolder, std::string_view language) {
  std::vector<std::uint8_t> bytes;
  if (readWholeFile(resolveInstallPath(glossaryFolder, "Glossary.cfg"), bytes)) {
    const int width = parseEncodeFormat(textOf(bytes));
    if (width != 0) {
      return width;
    }
  }
  return equalsIgnoringCase(language, "English") ? 7 : 8;
}

bool loadGlossaryFolder(Glossary &glossary, const fs::path &folder) {
  glossary.clear();
  bool any = false;
  std::vector<std::uint8_t> bytes;
  if (readWholeFile(resolveInstallPath(folder, "PreLabels.dat"), bytes)) {
    applyPredefinedRecords(glossary, bytes, EntryKind::Label);
    any = true;
  }
  if (readWholeFile(resolveInstallPath(folder, "PreTerms.dat"), bytes)) {
    applyPredefinedRecords(glossary, bytes, EntryKind::Description);
    any = true;
  }
  std::vector<std::string> labels;
  std::vector<std::string> terms;
  if (readWholeFile(resolveInstallPath(folder, "Labels.txt"), bytes)) {
    labels = splitEntryLines(textOf(bytes));
    any = true;
  }
  if (readWholeFile(resolveInstallPath(folder, "Terms.txt"), bytes)) {
    terms = splitEntryLines(textOf(bytes));
    any = true;
  }
  glossary.setUserEntries(labels, terms);
  return any;
}

std::vector<std::uint8_t> predefinedRecordsOf(const Glossary &glossary, EntryKind kind) {
  std::vector<std::uint8_t> bytes;
  for (const GlossaryGroup &group : kGlossaryGroups) {
    if (group.kind != kind || group.user) {
      continue;
    }
    for (int index = 0; index < group.count; ++index) {
      const std::string &entry = glossary.text(group.code, index);
      if (entry.empty()) {
        continue;
      }
      bytes.push_back(group.code);
      bytes.push_back(0);
      bytes.push_back(static_cast<std::uint8_t>(index));
      bytes.insert(bytes.end(), entry.begin(), entry.end());
      bytes.push_back(0x0A);
    }
  }
  return bytes;
}

std::string userEntriesText(const Glossary &glossary, EntryKind kind) {
  std::vector<std::string> entries;
  for (const GlossaryGroup &group : kGlossaryGroups) {
    if (group.kind == kind && group.user) {
      for (int index = 0; index < group.count; ++index) {
        entries.push_back(glossary.text(group.code, index));
      }
    }
  }
  while (!entries.empty() && entries.back().empty()) {
    entries.pop_back();
  }
  std::string text;
  for (const std::string &entry : entries) {
    text += entry;
    text += "\r\n";
  }
  return text;
}

} // namespace tarnwick
