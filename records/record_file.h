// Record files: a 32-bit big-endian count N, N records, then N comment
// blocks of 120 bytes. ".rmrx", ".pgrx" and ".cdrx" are written; ".rmr" and
// ".pgr" (64-byte records) are read and widened.
#pragma once

#include "glossary.h"
#include "record_list.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace tarnwick {

// The bytes of a file holding entries, in order.
std::vector<std::uint8_t> encodeRecordFile(const std::vector<RecordEntry> &entries);

// The record size of a file as its name says: 192 for cable lists, 160 for a
// name holding ".rmrx" or ".pgrx", else 64.
std::size_t fileRecordBytes(RecordKind listKind, const std::filesystem::path &path);

// Entries of the bytes of a file. A file shorter than its count promises
// gives zero bytes for what is missing (as far as the largest file the
// receivers fill would reach); nothing is read beyond the bytes given.
std::vector<RecordEntry> decodeRecordFile(std::span<const std::uint8_t> bytes,
                                          std::size_t recordBytes, RecordKind listKind,
                                          const Glossary &glossary);

// The whole file, decoded; nothing with the reason when it cannot be read.
std::optional<std::vector<RecordEntry>> readRecordFile(const std::filesystem::path &path,
                                                       RecordKind listKind,
                                                       const Glossary &glossary,
                                                       std::error_code &error);

// Writes entries atomically, then reads the file back: an error when either
// fails or the bytes read differ from those written. The old file stays
// whole when the write fails.
std::error_code writeRecordFile(const std::filesystem::path &path,
                                const std::vector<RecordEntry> &entries);

// path with "." and the kind's extension appended when its file name has no ".".
std::filesystem::path withKindExtension(const std::filesystem::path &path, RecordKind kind);
// The same rule for another extension (".csv").
std::filesystem::path withExtension(const std::filesystem::path &path, std::string_view extension);

// The whole file; nothing with the reason when it cannot be read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path &path,
                                                       std::error_code &error);

} // namespace tarnwick
