// The files of one glossary language: "PreLabels.dat" and "PreTerms.dat"
// (records: group code, an unused byte, index, text, 0x0A), "Labels.txt" and
// "Terms.txt" (one entry a line), and "Glossary.cfg" (the character width).
#pragma once

#include "glossary.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Sets the entries the records name; only groups of that kind are filled.
// Returns the number of entries set.
int applyPredefinedRecords(Glossary &glossary, std::span<const std::uint8_t> bytes, EntryKind kind);

// One entry a line; carriage returns and trailing blanks are dropped, a
// leading byte-order mark is skipped, an empty line is an empty entry.
std::vector<std::string> splitEntryLines(std::string_view text);

// 8 after a "[EncodeFormat]" line whose next line (comments skipped) is
// "8-bit", 7 for any other value; 0 when the file has no such section.
int parseEncodeFormat(std::string_view text);

// The width for a glossary folder: from "Glossary.cfg" when it can be read
// and has the section, else 7 for "English" and 8 for any other language.
int characterWidthOf(const std::filesystem::path &glossaryFolder, std::string_view language);

// Empties the glossary, then fills it from the folder's four files; a missing
// file leaves its entries empty. False when none of them could be read.
bool loadGlossaryFolder(Glossary &glossary, const std::filesystem::path &folder);

// The four files for a glossary (demo data and tests).
std::vector<std::uint8_t> predefinedRecordsOf(const Glossary &glossary, EntryKind kind);
std::string userEntriesText(const Glossary &glossary, EntryKind kind);

// Reads a whole file; empty and false when it cannot be opened.
bool readWholeFile(const std::filesystem::path &path, std::vector<std::uint8_t> &bytes);

} // namespace tarnwick
