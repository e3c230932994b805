#include "record_file.h"

#include "atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

// The bytes of [at, at + size) that the file holds, zeros for the rest.
std::span<const std::uint8_t> available(std::span<const std::uint8_t> bytes, std::uint64_t at,
                                        std::size_t size) {
  if (at >= bytes.size()) {
    return {};
  }
  const auto first = static_cast<std::size_t>(at);
  return bytes.subspan(first, std::min(size, bytes.size() - first));
}

std::string commentAt(std::span<const std::uint8_t> bytes, std::uint64_t at) {
  const auto block = available(bytes, at, kCommentBytes);
  return std::string(block.begin(), std::find(block.begin(), block.end(), 0));
}

// N from the header, but no more records than the file holds, or than the
// largest file would, so a false count cannot make the list grow without end.
std::size_t recordsToRead(std::span<const std::uint8_t> bytes, std::uint32_t count,
                          std::size_t recordBytes) {
  const std::size_t body = bytes.size() - kRecordFileHeaderBytes;
  const std::size_t inFile = (body + recordBytes - 1) / recordBytes;
  const std::size_t inLargest = (kLargestRecordFileBytes - kRecordFileHeaderBytes) / recordBytes;
  return std::min<std::size_t>(count, std::max(inFile, inLargest));
}

bool hasDot(const fs::path &path) {
  return path.filename().string().find('.') != std::string::npos;
}

} // namespace

std::vector<std::uint8_t> encodeRecordFile(const std::vector<RecordEntry> &entries) {
  std::vector<std::uint8_t> out;
  std::size_t size = kRecordFileHeaderBytes;
  for (const RecordEntry &entry : entries) {
    size += entry.raw.size() + kCommentBytes;
  }
  out.reserve(size);
  appendBigEndian32(out, static_cast<std::uint32_t>(entries.size()));
  for (const RecordEntry &entry : entries) {
    out.insert(out.end(), entry.raw.begin(), entry.raw.end());
  }
  for (const RecordEntry &entry : entries) {
    const std::string &comment = entry.row.comment;
    const std::size_t kept = std::min(comment.size(), kCommentBytes);
    out.insert(out.end(), comment.begin(), comment.begin() + static_cast<std::ptrdiff_t>(kept));
    out.insert(out.end(), kCommentBytes - kept, 0);
  }
  return out;
}

std::size_t fileRecordBytes(RecordKind listKind, const fs::path &path) {
  if (isCable(listKind)) {
    return kCableRecordBytes;
  }
  const std::string name = path.filename().string();
  const bool current =
      name.find(".rmrx") != std::string::npos || name.find(".pgrx") != std::string::npos;
  return current ? kMarkerRecordBytes : kLegacyMarkerRecordBytes;
}

std::vector<RecordEntry> decodeRecordFile(std::span<const std::uint8_t> bytes,
                                          std::size_t recordBytes, RecordKind listKind,
                                          const Glossary &glossary) {
  std::vector<RecordEntry> entries;
  if (bytes.size() < kRecordFileHeaderBytes || recordBytes == 0) {
    return entries;
  }
  const std::uint32_t count = bigEndian32(bytes, 0);
  const std::size_t records = recordsToRead(bytes, count, recordBytes);
  const std::uint64_t comments = kRecordFileHeaderBytes + std::uint64_t{count} * recordBytes;
  const RecordKind kind = currentKind(listKind);
  entries.reserve(records);
  for (std::size_t i = 0; i < records; ++i) {
    const auto stored =
        available(bytes, kRecordFileHeaderBytes + std::uint64_t{i} * recordBytes, recordBytes);
    RecordEntry entry;
    entry.raw = recordBytes == kLegacyMarkerRecordBytes
                    ? widenLegacyRecord(stored)
                    : fitRecord(stored, kindInfo(kind).recordBytes);
    entry.row = decodeRecord(kind, entry.raw, glossary);
    entry.row.comment = commentAt(bytes, comments + std::uint64_t{i} * kCommentBytes);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const fs::path &path,
                                                       std::error_code &error) {
  error.clear();
  std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                        &std::fclose);
  if (!file) {
    error = std::error_code(errno, std::generic_category());
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  for (;;) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.insert(bytes.end(), chunk, chunk + n);
    if (n < sizeof chunk) {
      break;
    }
  }
  if (std::ferror(file.get()) != 0) {
    error = std::make_error_code(std::errc::io_error);
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::vector<RecordEntry>> readRecordFile(const fs::path &path, RecordKind listKind,
                                                       const Glossary &glossary,
                                                       std::error_code &error) {
  const auto bytes = readFileBytes(path, error);
  if (!bytes) {
    return std::nullopt;
  }
  return decodeRecordFile(*bytes, fileRecordBytes(listKind, path), listKind, glossary);
}

std::error_code writeRecordFile(const fs::path &path, const std::vector<RecordEntry> &entries) {
  const std::vector<std::uint8_t> bytes = encodeRecordFile(entries);
  if (const std::error_code error = writeFileAtomically(path, bytes)) {
    return error;
  }
  std::error_code error;
  const auto back = readFileBytes(path, error);
  if (!back) {
    return error;
  }
  return *back == bytes ? std::error_code() : std::make_error_code(std::errc::io_error);
}

fs::path withExtension(const fs::path &path, std::string_view extension) {
  if (hasDot(path)) {
    return path;
  }
  fs::path extended = path;
  extended += ".";
  extended += std::string(extension);
  return extended;
}

fs::path withKindExtension(const fs::path &path, RecordKind kind) {
  return withExtension(path, kindInfo(currentKind(kind)).extension);
}

} // namespace tarnwick
