// The receiver's template memory and its exchanges: "locut" and "ttdata"
// answer with the stored user or trace templates; "pcut N" / "pcttlen N"
// announce a new set, and each "fdata" / "pcttd" is followed by one record
// (the name field and the data field, unechoed), taken with ACK and one more
// byte, or refused with NAK and awaited again.
#pragma once

#include "input_mode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::sim {

class Receiver;

inline constexpr std::size_t kTemplateNameBytes = 15;
inline constexpr std::size_t kUserTemplateBytes = 113;  // data field of a user template
inline constexpr std::size_t kTraceTemplateBytes = 145; // data field of a trace template
inline constexpr std::size_t kUserTemplateLimit = 32;
inline constexpr std::size_t kTraceTemplateLimit = 4;

enum class TemplateTable { User, Trace };

std::size_t templateDataBytes(TemplateTable table);
std::size_t templateLimit(TemplateTable table);

struct StoredTemplate {
  std::string name;               // the name field up to its first zero byte
  std::vector<std::uint8_t> data; // at most the data field; sent zero-padded
  bool operator==(const StoredTemplate &) const = default;
};

struct TemplateMemory {
  std::vector<StoredTemplate> user;
  std::vector<StoredTemplate> trace;
  std::vector<StoredTemplate> &of(TemplateTable table) {
    return table == TemplateTable::Trace ? trace : user;
  }
  const std::vector<StoredTemplate> &of(TemplateTable table) const {
    return table == TemplateTable::Trace ? trace : user;
  }
};

// Template misbehaviour on demand. Defaults: a healthy receiver.
// Records count from 0 in the order they arrive, refused ones included.
struct TemplateFaults {
  std::size_t refuseRecords = 0;           // the first this many records are answered NAK, not kept
  std::vector<std::size_t> refuseArrivals; // and these records as well
  std::optional<std::string> firstName; // the name field "locut"/"ttdata" give the first template
};

// The console words of the template exchanges, on the receiver's own memory.
void addTemplateCommands(Receiver &receiver);

} // namespace tarnwick::sim
