// An in-memory port behind the packet transfer: scripted answers for each
// read, and a log of every write and read in order.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace quillport::testing {

struct PortEvent {
  enum class Kind { Write, Read } kind;
  std::vector<std::uint8_t> bytes; // written bytes, or the byte read (empty: nothing)
};

struct FakePort {
  std::deque<std::optional<std::uint8_t>> answers; // next reads; nothing when empty
  std::vector<PortEvent> events;
  bool failWrites = false;

  static FakePort &instance();
  void reset();
  int reads() const;
  std::vector<std::vector<std::uint8_t>> writes() const;
};

} // namespace quillport::testing
