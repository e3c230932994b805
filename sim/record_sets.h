// The receiver's three record sets: read markers (in the 160-byte form, or
// the 64-byte form of older software), programmed markers (the write
// history) and cable records. The counters that say how many are kept live
// in the EEPROM where the "ew" clear lines write: read markers at 1-2,
// programmed markers at 7-8, cable records at 54874-54875 (54872-54875 are
// cleared together); the cable records themselves are read with "er" from
// 54880 on, past the end of the EEPROM image when there are many.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::sim {

class Receiver;

enum class RecordSet { ReadMarkers, ProgrammedMarkers, CableRecords };

inline constexpr std::size_t kSimMarkerRecordBytes = 160;
inline constexpr std::size_t kSimLegacyRecordBytes = 64;
inline constexpr std::size_t kSimCableRecordBytes = 192;
inline constexpr std::size_t kReadCounterAddress = 1;
inline constexpr std::size_t kProgrammedCounterAddress = 7;
inline constexpr std::size_t kCableCounterAddress = 54874;
inline constexpr std::size_t kCableRecordsAddress = 54880;

// Upload misbehaviour on demand; records count from 0.
struct RecordFaults {
  std::optional<std::size_t> silentFromRecord; // this record and those after it never go out
};

struct StoredRecords {
  std::vector<std::vector<std::uint8_t>> records; // each recordBytes long
  std::size_t recordBytes = kSimMarkerRecordBytes;
};

// The record sets' part of the receiver's console: "rc" and "pc" answered
// with count, record size and the records; the counters kept in step with
// what "ew" writes.
class RecordStore {
public:
  explicit RecordStore(Receiver &receiver) : receiver_(receiver) {}

  // Replaces a set and sets its counter.
  void store(RecordSet set, StoredRecords records);
  // The records the counter says are kept.
  std::size_t count(RecordSet set) const;
  const StoredRecords &records(RecordSet set) const { return sets_[index(set)]; }

  // A byte of the memory "er" reads: the cable records from 54880 on, the
  // EEPROM image elsewhere; nothing past both.
  std::optional<std::uint8_t> memoryByte(std::size_t address) const;
  std::size_t memoryEnd() const;

  // After an "ew": a set whose counter became 0 is gone.
  void dropCleared();

  // "rc" and "pc".
  void upload(RecordSet set, std::int64_t nowMs);

private:
  static std::size_t index(RecordSet set) { return static_cast<std::size_t>(set); }
  static std::size_t counterAddress(RecordSet set);

  Receiver &receiver_;
  StoredRecords sets_[3];
};

// A record file's records: a 32-bit big-endian count, then the records of
// the size the name's extension gives (".rmrx"/".pgrx" 160, ".rmr"/".pgr"
// 64, ".cdrx" 192). Throws std::runtime_error when it cannot be read.
StoredRecords readStoredRecords(const std::string &path);

} // namespace tarnwick::sim
