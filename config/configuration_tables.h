// The tables every configuration starts from: the receiver models the editor
// offers, their frequency families, the entry names and default states of the
// fourteen lists, which editor pages apply to a model, and which receiver
// model codes a model index accepts.
#pragma once

#include "setting_list.h"
#include "string_table.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

using ModelIndex = std::uint32_t;

inline constexpr int kModelCount = 35;          // the model box's entries
inline constexpr ModelIndex kDefaultModel = 9;  // "8385M-Tq/U"
inline constexpr ModelIndex kIndiaModel = 34;   // in the box, but no code maps to it
inline constexpr ModelIndex kFurtherModel = 36; // not in the box; what code 51 selects
inline constexpr int kCodeWithoutEditor20 = 20; // "8330M": configured on the receiver
inline constexpr int kCodeWithoutEditor21 = 21; // "8330M-PL"

// The model box's names in index order; empty beyond the last.
std::string_view modelName(ModelIndex index);

// 11: 1; 12-21: 2; 25-33: 5; 34, 35: 6; else 0.
int frequencyFamily(ModelIndex index);
// Models whose power marker type is the CE one (and whose country mask is
// the CE file).
bool isCePowerModel(ModelIndex index);
// Models 0, 1 and 11 have no locate or tone frequencies to configure.
bool hasFrequencyLists(ModelIndex index);

// The entries of each list for a model, with their default states; no
// country mask applied.
SettingLists defaultLists(ModelIndex index);
// How many entries a list has for a model (the length of its file line).
int entryCount(ListId list, ModelIndex index);

// What the editor shows for an entry: the marker types and the unset user
// frequency slots in the user interface's language; frequencies as they are.
// The entry keeps its own name in files and on the wire.
std::string entryDisplayName(const StringTable &strings, ListId list, int entry,
                             const std::string &name);

// Which editor pages apply to a model.
struct PageValidity {
  bool markerTypes = true;
  bool frequencies = true; // both frequency pages
  bool operator==(const PageValidity &) const = default;
};
// Nothing for 34 and 35: choosing them changes the model alone.
std::optional<PageValidity> pageValidity(ModelIndex index);
// Whether choosing the model rebuilds the lists (not for 34 and 35).
bool rebuildsOnSelection(ModelIndex index);

// Whether a receiver reporting code may take a configuration made for index.
bool acceptsModelCode(ModelIndex index, int code);
// The model the editor selects for a receiver's code; nothing for a code
// without one (20 and 21 included).
std::optional<ModelIndex> modelForCode(int code);
// The name a mismatch message gives a code: the first model the code is
// paired with, "8330M" / "8330M-PL" for 20 / 21, else empty.
std::string modelNameForCode(int code);

} // namespace tarnwick
