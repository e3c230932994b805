#include "record_sets.h"

#include "receiver.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tarnwick::sim {

namespace {

constexpr char kPrompt[] = "\n\r"; // after an upload, as after every line

bool endsWith(const std::string &text, const std::string &suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::size_t recordBytesFor(const std::string &path) {
  if (endsWith(path, ".cdrx")) {
    return kSimCableRecordBytes;
  }
  if (endsWith(path, ".rmr") || endsWith(path, ".pgr")) {
    return kSimLegacyRecordBytes;
  }
  return kSimMarkerRecordBytes;
}

} // namespace

std::size_t RecordStore::counterAddress(RecordSet set) {
  switch (set) {
  case RecordSet::ProgrammedMarkers:
    return kProgrammedCounterAddress;
  case RecordSet::CableRecords:
    return kCableCounterAddress;
  case RecordSet::ReadMarkers:
    break;
  }
  return kReadCounterAddress;
}

void RecordStore::store(RecordSet set, StoredRecords records) {
  const std::size_t kept = std::min<std::size_t>(records.records.size(), 0xFFFF);
  records.records.resize(kept);
  sets_[index(set)] = std::move(records);
  Receiver::Eeprom &eeprom = receiver_.eeprom();
  eeprom[counterAddress(set)] = static_cast<std::uint8_t>(kept >> 8);
  eeprom[counterAddress(set) + 1] = static_cast<std::uint8_t>(kept & 0xFF);
}

std::size_t RecordStore::count(RecordSet set) const {
  const Receiver::Eeprom &eeprom = receiver_.eeprom();
  const std::size_t counter =
      std::size_t{eeprom[counterAddress(set)]} << 8 | eeprom[counterAddress(set) + 1];
  return std::min(counter, sets_[index(set)].records.size());
}

std::optional<std::uint8_t> RecordStore::memoryByte(std::size_t address) const {
  const auto &cable = sets_[index(RecordSet::CableRecords)].records;
  if (address >= kCableRecordsAddress) {
    const std::size_t offset = address - kCableRecordsAddress;
    const std::size_t record = offset / kSimCableRecordBytes;
    if (record < cable.size()) {
      return cable[record][offset % kSimCableRecordBytes];
    }
  }
  if (address < Receiver::kEepromSize) {
    return receiver_.eeprom()[address];
  }
  return std::nullopt;
}

std::size_t RecordStore::memoryEnd() const {
  const std::size_t cableEnd =
      kCableRecordsAddress +
      sets_[index(RecordSet::CableRecords)].records.size() * kSimCableRecordBytes;
  return std::max(Receiver::kEepromSize, cableEnd);
}

void RecordStore::dropCleared() {
  for (const RecordSet set :
       {RecordSet::ReadMarkers, RecordSet::ProgrammedMarkers, RecordSet::CableRecords}) {
    const Receiver::Eeprom &eeprom = receiver_.eeprom();
    if (eeprom[counterAddress(set)] == 0 && eeprom[counterAddress(set) + 1] == 0) {
      sets_[index(set)].records.clear();
    }
  }
}

// Count and record size (16 bits each, high byte first), then the records.
void RecordStore::upload(RecordSet set, std::int64_t nowMs) {
  const StoredRecords &stored = sets_[index(set)];
  const std::size_t count = this->count(set);
  std::string block;
  block.push_back(static_cast<char>(count >> 8));
  block.push_back(static_cast<char>(count & 0xFF));
  block.push_back(static_cast<char>(stored.recordBytes >> 8));
  block.push_back(static_cast<char>(stored.recordBytes & 0xFF));
  const std::size_t sent =
      std::min(count, receiver_.faults().records.silentFromRecord.value_or(count));
  for (std::size_t i = 0; i < sent; ++i) {
    block.append(stored.records[i].begin(), stored.records[i].end());
  }
  if (sent == count) {
    block += kPrompt;
  }
  receiver_.send(block, nowMs + receiver_.faults().replyDelayMs);
}

StoredRecords readStoredRecords(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  if (bytes.size() < 4) {
    throw std::runtime_error(path + " is not a record file");
  }
  StoredRecords stored;
  stored.recordBytes = recordBytesFor(path);
  const std::size_t count = std::size_t{bytes[0]} << 24 | std::size_t{bytes[1]} << 16 |
                            std::size_t{bytes[2]} << 8 | bytes[3];
  if ((bytes.size() - 4) / stored.recordBytes < count) {
    throw std::runtime_error(path + " holds fewer records than its count");
  }
  for (std::size_t i = 0; i < count; ++i) {
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(4 + i * stored.recordBytes);
    stored.records.emplace_back(first, first + static_cast<std::ptrdiff_t>(stored.recordBytes));
  }
  return stored;
}

} // namespace tarnwick::sim
