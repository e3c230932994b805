// The configuration's building blocks: the state of one list entry, a list of
// named entries, and the fourteen lists a configuration always has, each
// named after the receiver command word that carries it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Stored as one byte per entry in a configuration file.
enum class SettingState : std::uint8_t {
  Disabled = 0,    // offered, switched off
  Enabled = 1,     // offered, switched on
  Masked = 2,      // off and locked; only a supervisor sets or clears it
  Unavailable = 3, // not offered in the country; nobody can change it
};

// "Disabled", "Enabled", "Masked" or "Unavailable".
std::string_view stateName(SettingState state);

struct SettingEntry {
  std::string name;
  SettingState state = SettingState::Disabled;
  bool operator==(const SettingEntry &) const = default;
};

struct SettingList {
  static constexpr int kMaxEntries = 8;

  std::vector<SettingEntry> entries;

  int count() const { return static_cast<int>(entries.size()); }
  bool empty() const { return entries.empty(); }
  bool has(int entry) const { return entry >= 0 && entry < count(); }
  SettingEntry &at(int entry) { return entries.at(static_cast<std::size_t>(entry)); }
  const SettingEntry &at(int entry) const { return entries.at(static_cast<std::size_t>(entry)); }
  std::vector<SettingState> states() const;
  std::vector<std::string> names() const;
  bool operator==(const SettingList &) const = default;
};

// The fourteen lists, in file and editor order.
enum class ListId : int {
  Units,
  Date,
  MarkerTypes,
  LocateActive,
  LocatePower,
  LocatePassive,
  LocateAux,
  LocateUser,
  ToneActive,
  TonePower,
  TonePassive,
  ToneAux,
  ToneUser,
  Language,
};
inline constexpr int kListCount = 14;

using SettingLists = std::array<SettingList, kListCount>;

inline constexpr std::size_t listIndex(ListId id) {
  return static_cast<std::size_t>(id);
}
inline SettingList &listOf(SettingLists &lists, ListId id) {
  return lists[listIndex(id)];
}
inline const SettingList &listOf(const SettingLists &lists, ListId id) {
  return lists[listIndex(id)];
}
// Every list, in order.
std::array<ListId, kListCount> allLists();

// The command word that names the list ("units", "mkr", "lact", ...).
std::string_view listWord(ListId id);

// The user-frequency slots: four per list, shared by name between the
// locate and the tone list.
inline constexpr int kUserSlots = 4;
inline constexpr int kMaxUserFrequencyChars = 3;
inline constexpr int kMinUserFrequency = 50;
inline constexpr int kMaxUserFrequency = 999;

// "U F" and the slot's number (slot 0 is "U F1"): the name of a slot without
// a frequency.
std::string unsetSlotName(int slot);
// Whether the slot (0 to 3) holds a frequency: its name is not the unset name.
bool slotIsSet(const SettingList &userList, int slot);
// A valid user frequency text: one to three decimal digits, 50 to 999.
bool isUserFrequencyText(std::string_view text);

} // namespace tarnwick
