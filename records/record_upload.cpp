#include "record_upload.h"

#include "eeprom_lines.h"

namespace tarnwick {

namespace {

constexpr std::size_t kDiagnosticBytesPerLine = 8;

void announce(const UploadSink &sink, std::size_t count) {
  if (sink.announced) {
    sink.announced(count);
  }
}

void pass(const UploadSink &sink, std::vector<std::uint8_t> record) {
  if (sink.record) {
    sink.record(std::move(record));
  }
}

} // namespace

MarkerBlockHeader markerBlockHeader(std::span<const std::uint8_t, 4> bytes) {
  return {bigEndian16(bytes, 0), bigEndian16(bytes, 2)};
}

std::string missingByteDiagnostic(std::size_t index, std::span<const std::uint8_t> received) {
  std::string text = "Index-> " + std::to_string(index) + "\nData->\n";
  for (std::size_t i = 0; i < received.size(); ++i) {
    text += std::to_string(received[i]) + " ";
    if ((i + 1) % kDiagnosticBytesPerLine == 0) {
      text += "\n";
    }
  }
  return text;
}

UploadRead readMarkerUpload(Console &console, const UploadSink &sink) {
  UploadRead read;
  std::vector<std::uint8_t> head;
  if (read.outcome = console.ReadExactly(4, head); !succeeded(read.outcome)) {
    return read;
  }
  const MarkerBlockHeader header = markerBlockHeader(std::span(head).first<4>());
  read.announced = header.count;
  announce(sink, header.count);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(header.recordBytes);
  for (std::size_t i = 0; i < header.count; ++i) {
    bytes.clear();
    read.outcome = console.ReadExactly(header.recordBytes, bytes);
    if (!succeeded(read.outcome)) {
      if (read.outcome == Outcome::Silent) {
        read.diagnostic = missingByteDiagnostic(i, bytes);
      }
      return read;
    }
    pass(sink, markerRecordFromReply(bytes, header.recordBytes));
    ++read.received;
  }
  return read;
}

UploadRead readCableUpload(Console &console, std::size_t count, const UploadSink &sink) {
  UploadRead read;
  read.announced = count;
  announce(sink, count);
  std::vector<std::uint8_t> record;
  record.reserve(kCableRecordBytes);
  for (std::size_t i = 0; i < count; ++i) {
    record.clear();
    while (record.size() < kCableRecordBytes) {
      int value = 0;
      read.outcome = console.ReadErDumpValue(value);
      if (!succeeded(read.outcome)) {
        if (read.outcome == Outcome::Silent) {
          read.diagnostic = missingByteDiagnostic(i, record);
        }
        return read;
      }
      record.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    pass(sink, record);
    ++read.received;
  }
  return read;
}

std::vector<std::vector<std::uint8_t>> decodeMarkerUpload(std::span<const std::uint8_t> reply) {
  std::vector<std::vector<std::uint8_t>> records;
  if (reply.size() < 4) {
    return records;
  }
  const MarkerBlockHeader header = markerBlockHeader(reply.first<4>());
  std::size_t at = 4;
  for (std::size_t i = 0; i < header.count && reply.size() - at >= header.recordBytes; ++i) {
    records.push_back(
        markerRecordFromReply(reply.subspan(at, header.recordBytes), header.recordBytes));
    at += header.recordBytes;
  }
  return records;
}

std::vector<std::vector<std::uint8_t>> decodeCableUpload(std::span<const std::uint8_t> reply,
                                                         std::size_t count) {
  std::vector<std::vector<std::uint8_t>> records;
  std::vector<std::uint8_t> record;
  ErDumpReader reader;
  for (const std::uint8_t byte : reply) {
    if (records.size() == count) {
      break;
    }
    const auto step = reader.feed(static_cast<char>(byte));
    if (step == ErDumpReader::Step::Invalid) {
      break;
    }
    if (step == ErDumpReader::Step::Value) {
      record.push_back(static_cast<std::uint8_t>(reader.value() & 0xFF));
      if (record.size() == kCableRecordBytes) {
        records.push_back(std::move(record));
        record.clear();
      }
    }
  }
  return records;
}

} // namespace tarnwick
