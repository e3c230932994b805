#include "setting_list.h"

#include <algorithm>

namespace tarnwick {

std::string_view stateName(SettingState state) {
  switch (state) {
  case SettingState::Disabled:
    return "Disabled";
  case SettingState::Enabled:
    return "Enabled";
  case SettingState::Masked:
    return "Masked";
  case SettingState::Unavailable:
    break;
  }
  return "Unavailable";
}

std::vector<SettingState> SettingList::states() const {
  std::vector<SettingState> result;
  result.reserve(entries.size());
  for (const SettingEntry &entry : entries) {
    result.push_back(entry.state);
  }
  return result;
}

std::vector<std::string> SettingList::names() const {
  std::vector<std::string> result;
  result.reserve(entries.size());
  for (const SettingEntry &entry : entries) {
    result.push_back(entry.name);
  }
  return result;
}

std::array<ListId, kListCount> allLists() {
  std::array<ListId, kListCount> lists{};
  for (int i = 0; i < kListCount; ++i) {
    lists[static_cast<std::size_t>(i)] = static_cast<ListId>(i);
  }
  return lists;
}

std::string_view listWord(ListId id) {
  static constexpr std::array<std::string_view, kListCount> kWords = {
      "units", "date", "mkr",  "lact", "lpow", "lpas", "laux",
      "ludf",  "tact", "tpow", "tpas", "taux", "tudf", "lang"};
  return kWords[listIndex(id)];
}

std::string unsetSlotName(int slot) {
  return "U F" + std::to_string(slot + 1);
}

bool slotIsSet(const SettingList &userList, int slot) {
  return userList.has(slot) && userList.at(slot).name != unsetSlotName(slot);
}

bool isUserFrequencyText(std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(kMaxUserFrequencyChars) ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  int value = 0;
  for (char c : text) {
    value = value * 10 + (c - '0');
  }
  return value >= kMinUserFrequency && value <= kMaxUserFrequency;
}

} // namespace tarnwick
