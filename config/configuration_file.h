// The binary ".cfg" file of a configuration (little-endian):
//   "V", layout version 3 (32 bits), model index (32 bits);
//   14 lines, one per list: one state byte per entry (as many entries as the
//   list has for the stored model), then 0x0A;
//   locate user-frequency slots 1 to 4, then tone slots 1 to 4, 6 bytes each:
//   the frequency as NUL-terminated decimal text in 4 bytes (all zero when
//   unset), 0x00, 0x0A.
// Files of the older layout lack the first 5 bytes; reading one rewrites it
// with them in front.
#pragma once

#include "receiver_configuration.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

inline constexpr char kLayoutMark = 'V';
inline constexpr std::uint32_t kLayoutVersion = 3;
inline constexpr std::size_t kHeaderBytes = 9;
inline constexpr std::size_t kSlotFieldBytes = 4;
inline constexpr std::uint8_t kLineEndByte = 0x0A;
inline constexpr std::uint8_t kPastEndByte = 0xFF; // what a read past the end gives

// The bytes of a configuration file for the model and lists. Each line has
// the model's entry count; a user-frequency slot is written only when set.
std::string formatConfiguration(ModelIndex model, const SettingLists &lists);

// A file's content as stored, before the country and the coercions apply.
struct StoredConfiguration {
  std::uint32_t version = 0; // not checked
  ModelIndex model = 0;
  std::array<std::vector<std::uint8_t>, kListCount> states; // a short file reads 0xFF
  std::array<std::string, kUserSlots> locateSlots;          // empty: unset
  std::array<std::string, kUserSlots> toneSlots;
};

bool isCurrentLayout(std::string_view bytes);
// The older layout's bytes with the current header in front.
std::string withCurrentHeader(std::string_view oldLayout);
// Nothing unless bytes begin with "V" and hold the whole header. Any other
// bytes are accepted.
std::optional<StoredConfiguration> decodeConfiguration(std::string_view bytes);

// 0, 1 and 2 as they stand; anything else reads as Enabled.
SettingState storedState(std::uint8_t byte);
// A marker type the country forbids is Unavailable whatever was stored; a
// stored Unavailable at a permitted position reads as Enabled.
SettingState storedMarkerState(std::uint8_t byte, bool permitted);
// A slot text is a frequency the editor accepts (50 to 999 Hz); anything
// else reads as an unset slot, so nothing but digits reaches a command line.
std::string storedSlotName(std::string_view text, int slot);

// Sets the stored model (rebuilding the defaults with the country's mask),
// then copies the coerced states and the slot names into the current lists.
void applyStoredConfiguration(const StoredConfiguration &stored,
                              ReceiverConfiguration &configuration);

struct ConfigurationReadResult {
  enum class Status {
    Read,
    NotOpened,         // nothing changed
    NotAConfiguration, // too short for a header, or too large: nothing changed
  };
  Status status = Status::NotOpened;
  bool converted = false;          // the file had the older layout
  std::error_code conversionError; // its rewrite failed; the content was read anyway
};

// Reads a file into the configuration; a file that cannot be opened changes
// nothing. A file of the older layout is first rewritten (atomically) with
// the header in front.
ConfigurationReadResult readConfigurationFile(const std::filesystem::path &path,
                                              ReceiverConfiguration &configuration);
// Writes the current lists, atomically.
std::error_code writeConfigurationFile(const std::filesystem::path &path,
                                       const ReceiverConfiguration &configuration);

} // namespace tarnwick
