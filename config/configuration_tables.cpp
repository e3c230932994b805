#include "configuration_tables.h"

#include "model_catalogue.h"

#include <algorithm>
#include <initializer_list>
#include <span>
#include <vector>

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, kModelCount> kModelNames = {
    "6130-Tq",     "6130E-Tq",   "8360M-E",    "8360M-U",    "8360M-Tq/E", "8360M-Tq/U",
    "8385M-E",     "8385M-U",    "8385M-Tq/E", "8385M-Tq/U", "8360MU-RMX", "6130Kv",
    "9485-Tq/CE",  "9460-Tq/CE", "9485-U",     "9485-E",     "9485-Tq/U",  "9485-Tq/E",
    "9460-U",      "9460-E",     "9460-Tq/U",  "9460-Tq/E",  "6130CE-Tq",  "8385M-Tq/CE",
    "8360M-Tq/CE", "3130-Tq/CE", "3130-Tq/U",  "3285-Tq/U",  "3285-Tq/CE", "3260-Tq/U",
    "3260-Tq/CE",  "3130-Tq/E",  "3285-Tq/E",  "3260-Tq/E",  "8385M-Tq/IN"};

constexpr ModelIndex kCePowerModels[] = {12, 13, 22, 23, 24, 25, 28, 30};
// Six-entry active lists that end with 200 kHz rather than 133 kHz.
constexpr ModelIndex k200kHzModels[] = {14, 16, 18, 20, 27, 29};
constexpr ModelIndex kNoFrequencyModels[] = {0, 1, 11};
constexpr ModelIndex kMarkerPageOnly[] = {0, 1, 11, 22, 25, 26, 31};
constexpr ModelIndex kFrequencyPagesOnly[] = {2, 3, 6, 7, 14, 15, 18, 19};

struct CodePair {
  ModelIndex index;
  int code;
};

// Model index and the receiver codes it accepts, in the table's order.
constexpr CodePair kCodePairs[] = {
    {0, 0},   {0, 40},  {1, 1},   {1, 41},  {2, 7},   {2, 47},  {3, 6},   {3, 46},
    {4, 9},   {4, 49},  {5, 8},   {5, 48},  {6, 3},   {6, 43},  {7, 2},   {7, 42},
    {8, 5},   {8, 45},  {9, 4},   {9, 44},  {9, 51},  {10, 10}, {10, 50}, {11, 12},
    {12, 30}, {13, 31}, {14, 32}, {15, 33}, {16, 34}, {17, 35}, {18, 36}, {19, 37},
    {20, 38}, {21, 39}, {22, 52}, {23, 53}, {24, 54}, {25, 61}, {26, 62}, {27, 63},
    {28, 64}, {29, 65}, {30, 66}, {31, 67}, {32, 68}, {33, 69}, {36, 51},
};
constexpr int kFurtherModelCode = 51;

bool contains(std::span<const ModelIndex> set, ModelIndex index) {
  return std::find(set.begin(), set.end(), index) != set.end();
}

SettingList listOfNames(std::initializer_list<std::string_view> names, SettingState state) {
  SettingList list;
  for (std::string_view name : names) {
    list.entries.push_back({std::string(name), state});
  }
  return list;
}

SettingList markerTypes(ModelIndex index) {
  SettingList list = listOfNames(
      {"Telephone", "Power", "Gas", "Water", "Waster Water", "Communication", "General Purpose"},
      SettingState::Enabled);
  if (index == kFurtherModel) {
    list.at(5).name = "IDF";
  } else if (isCePowerModel(index)) {
    list.at(1).name = "CE Power";
  }
  return list;
}

SettingList activeFrequencies(ModelIndex index) {
  const int family = frequencyFamily(index);
  if (family != 2 && family != 5) {
    return listOfNames({"577 Hz", "8 kHz", "33 kHz", "133 kHz", "200 kHz"}, SettingState::Enabled);
  }
  if (contains(k200kHzModels, index)) {
    return listOfNames({"577 Hz", "1 kHz", "8 kHz", "33 kHz", "82 kHz", "200 kHz"},
                       SettingState::Enabled);
  }
  return listOfNames({"577 Hz", "1 kHz", "8 kHz", "33 kHz", "82 kHz", "133 kHz"},
                     SettingState::Enabled);
}

// The tone list starts with the 133 kHz entry of a six-entry list switched off.
SettingList toneActiveFrequencies(ModelIndex index) {
  SettingList list = activeFrequencies(index);
  if (list.count() == 6 && list.entries.back().name == "133 kHz") {
    list.entries.back().state = SettingState::Disabled;
  }
  return list;
}

SettingList powerFrequencies() {
  return listOfNames({"50", "60", "100", "120", "50L", "60L", "50H", "60H"}, SettingState::Enabled);
}

SettingList userFrequencies() {
  SettingList list;
  for (int slot = 0; slot < kUserSlots; ++slot) {
    list.entries.push_back({unsetSlotName(slot), SettingState::Disabled});
  }
  return list;
}

SettingList selectedFirstOf(std::initializer_list<std::string_view> names, int selected) {
  SettingList list = listOfNames(names, SettingState::Disabled);
  list.at(selected).state = SettingState::Enabled;
  return list;
}

} // namespace

std::string entryDisplayName(const StringTable &strings, ListId list, int entry,
                             const std::string &name) {
  if (list == ListId::MarkerTypes) {
    static constexpr std::pair<std::string_view, StringId> kNames[] = {
        {"Telephone", sid::kMarkerTelephone},
        {"Power", sid::kMarkerPower},
        {"Gas", sid::kMarkerGas},
        {"Water", sid::kMarkerWater},
        {"Waster Water", sid::kMarkerWasteWater},
        {"Communication", sid::kMarkerCommunication},
        {"General Purpose", sid::kMarkerGeneralPurpose},
        {"IDF", sid::kMarkerIdf},
        {"CE Power", sid::kMarkerCePower},
    };
    for (const auto &[english, id] : kNames) {
      if (name == english) {
        return strings.text(id);
      }
    }
  }
  const bool userList = list == ListId::LocateUser || list == ListId::ToneUser;
  if (userList && entry >= 0 && name == unsetSlotName(entry)) {
    return strings.format(sid::kUnsetUserSlot, {std::to_string(entry + 1)});
  }
  return name;
}

std::string_view modelName(ModelIndex index) {
  return index < kModelNames.size() ? kModelNames[index] : std::string_view{};
}

int frequencyFamily(ModelIndex index) {
  if (index == 11) {
    return 1;
  }
  if (index >= 12 && index <= 21) {
    return 2;
  }
  if (index >= 25 && index <= 33) {
    return 5;
  }
  if (index == 34 || index == 35) {
    return 6;
  }
  return 0;
}

bool isCePowerModel(ModelIndex index) {
  return contains(kCePowerModels, index);
}

bool hasFrequencyLists(ModelIndex index) {
  return !contains(kNoFrequencyModels, index);
}

SettingLists defaultLists(ModelIndex index) {
  constexpr auto on = SettingState::Enabled;
  SettingLists lists;
  listOf(lists, ListId::Units) = selectedFirstOf({"cm", "in", "ft"}, 1);
  listOf(lists, ListId::Date) = selectedFirstOf({"mm/dd/yy", "dd/mm/yy"}, 0);
  listOf(lists, ListId::MarkerTypes) = markerTypes(index);
  listOf(lists, ListId::LocateActive) = activeFrequencies(index);
  listOf(lists, ListId::LocatePower) = powerFrequencies();
  listOf(lists, ListId::LocatePassive) = frequencyFamily(index) == 2
                                             ? listOfNames({"CATV", "LF", "LF 2"}, on)
                                             : listOfNames({"CATV", "LF"}, on);
  listOf(lists, ListId::LocateAux) = listOfNames({"512 Hz", "560 Hz"}, on);
  listOf(lists, ListId::LocateUser) = userFrequencies();
  listOf(lists, ListId::ToneActive) = toneActiveFrequencies(index);
  listOf(lists, ListId::TonePower) = powerFrequencies();
  listOf(lists, ListId::TonePassive) = listOfNames({"CATV", "LF"}, on);
  listOf(lists, ListId::ToneAux) = listOfNames({"512 Hz", "560 Hz"}, on);
  listOf(lists, ListId::ToneUser) = userFrequencies();
  listOf(lists, ListId::Language) = selectedFirstOf({"English", "Other"}, 0);
  return lists;
}

int entryCount(ListId list, ModelIndex index) {
  switch (list) {
  case ListId::Units:
    return 3;
  case ListId::MarkerTypes:
    return 7;
  case ListId::LocateActive:
  case ListId::ToneActive: {
    const int family = frequencyFamily(index);
    return family == 2 || family == 5 ? 6 : 5;
  }
  case ListId::LocatePower:
  case ListId::TonePower:
    return 8;
  case ListId::LocatePassive:
    return frequencyFamily(index) == 2 ? 3 : 2;
  case ListId::LocateUser:
  case ListId::ToneUser:
    return kUserSlots;
  case ListId::Date:
  case ListId::LocateAux:
  case ListId::TonePassive:
  case ListId::ToneAux:
  case ListId::Language:
    break;
  }
  return 2;
}

std::optional<PageValidity> pageValidity(ModelIndex index) {
  if (!rebuildsOnSelection(index)) {
    return std::nullopt;
  }
  if (contains(kMarkerPageOnly, index)) {
    return PageValidity{true, false};
  }
  if (contains(kFrequencyPagesOnly, index)) {
    return PageValidity{false, true};
  }
  return PageValidity{true, true};
}

bool rebuildsOnSelection(ModelIndex index) {
  return index != 34 && index != 35;
}

bool acceptsModelCode(ModelIndex index, int code) {
  return std::any_of(std::begin(kCodePairs), std::end(kCodePairs), [&](const CodePair &pair) {
    return pair.index == index && pair.code == code;
  });
}

std::optional<ModelIndex> modelForCode(int code) {
  if (code == kFurtherModelCode) {
    return kFurtherModel;
  }
  for (const CodePair &pair : kCodePairs) {
    if (pair.code == code) {
      return pair.index;
    }
  }
  return std::nullopt;
}

std::string modelNameForCode(int code) {
  for (const CodePair &pair : kCodePairs) {
    if (pair.code == code) {
      return std::string(modelName(pair.index));
    }
  }
  if (code != kCodeWithoutEditor20 && code != kCodeWithoutEditor21) {
    return {};
  }
  const auto model = findModel(code);
  return model ? std::string(model->name) : std::string{};
}

} // namespace tarnwick
