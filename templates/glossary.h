// The marker glossary: twenty fixed groups of labels and descriptions that
// templates and user lists refer to by (group code, index) instead of by text.
// Texts are single-byte characters as the receiver stores them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

enum class EntryKind { Label, Description };

struct GlossaryGroup {
  std::uint8_t code;
  int count;     // entries, a power of two
  int indexBits; // log2(count)
  int maxLength; // characters of one entry
  EntryKind kind;
  bool user; // filled from "Labels.txt" / "Terms.txt"
};

// Group number = position in this table.
inline constexpr std::array<GlossaryGroup, 20> kGlossaryGroups = {{
    {7, 8, 3, 8, EntryKind::Label, false},          {8, 8, 3, 8, EntryKind::Label, false},
    {9, 16, 4, 8, EntryKind::Label, false},         {10, 32, 5, 8, EntryKind::Label, false},
    {14, 8, 3, 14, EntryKind::Description, false},  {15, 8, 3, 14, EntryKind::Description, false},
    {16, 8, 3, 14, EntryKind::Description, false},  {17, 16, 4, 14, EntryKind::Description, false},
    {18, 16, 4, 14, EntryKind::Description, false}, {19, 16, 4, 14, EntryKind::Description, false},
    {20, 16, 4, 14, EntryKind::Description, false}, {21, 32, 5, 14, EntryKind::Description, false},
    {22, 32, 5, 14, EntryKind::Description, false}, {23, 32, 5, 14, EntryKind::Description, false},
    {24, 32, 5, 14, EntryKind::Description, false}, {25, 32, 5, 14, EntryKind::Description, false},
    {26, 8, 3, 8, EntryKind::Label, true},          {27, 16, 4, 8, EntryKind::Label, true},
    {28, 16, 4, 14, EntryKind::Description, true},  {29, 64, 6, 14, EntryKind::Description, true},
}};

// Search orders of the lookups: predefined groups before user groups.
inline constexpr std::array<int, 6> kLabelGroupOrder = {0, 1, 2, 3, 16, 17};
inline constexpr std::array<int, 14> kDescriptionGroupOrder = {4,  5,  6,  7,  8,  9,  10,
                                                               11, 12, 13, 14, 15, 18, 19};

inline constexpr int kMaxLabelLength = 8;
inline constexpr int kMaxDescriptionLength = 14;

// A 16-bit reference: group code in the high byte, index in the low byte; 0
// is never valid.
using GlossaryRef = std::uint16_t;

constexpr GlossaryRef makeGlossaryRef(int code, int index) {
  return static_cast<GlossaryRef>(((code & 0xFF) << 8) | (index & 0xFF));
}
constexpr int refCode(GlossaryRef ref) {
  return ref >> 8;
}
constexpr int refIndex(GlossaryRef ref) {
  return ref & 0xFF;
}

// A lookup's result; 255 in all three fields when nothing matched.
struct GlossaryMatch {
  static constexpr std::uint8_t kNotFound = 255;
  std::uint8_t code = kNotFound;
  std::uint8_t width = kNotFound; // index bits
  std::uint8_t index = kNotFound;

  bool found() const { return code != kNotFound; }
  GlossaryRef ref() const { return makeGlossaryRef(code, index); }
};

// An entry as lists show it.
struct GlossaryItem {
  GlossaryRef ref = 0;
  std::string text;
};

class Glossary {
public:
  static constexpr int kDateLabelCode = 8;
  static constexpr int kDateLabelIndex = 5;

  // -1 when no group has the code.
  static int groupOf(int code);
  static int indexWidthOf(int code);

  // Empty when no group has the code or the index is outside the group.
  const std::string &text(int code, int index) const;
  const std::string &text(GlossaryRef ref) const { return text(refCode(ref), refIndex(ref)); }

  // Case-insensitive, first match in the search order; empty texts never match.
  GlossaryMatch findLabel(std::string_view text) const;
  GlossaryMatch findDescription(std::string_view text) const;

  // False when the index is not below the group's count (or no group has the
  // code). Texts longer than the group allows are cut to its length.
  bool setEntry(int code, int index, std::string text);
  // Groups 16 then 17 from the labels, 18 then 19 from the descriptions; what
  // does not fit is dropped.
  void setUserEntries(const std::vector<std::string> &labels,
                      const std::vector<std::string> &descriptions);
  void clear();

  // Group order, without empty and control entries.
  std::vector<std::string> listLabels() const;
  std::vector<std::string> listDescriptions() const;
  std::vector<GlossaryItem> labelItems() const;
  std::vector<GlossaryItem> descriptionItems() const;

  // The label whose description is a date (index 5 of the group with code 8).
  const std::string &dateLabel() const { return text(kDateLabelCode, kDateLabelIndex); }
  bool isDateLabel(std::string_view label) const;

  static bool isControlLabel(std::string_view text);
  static bool isControlDescription(std::string_view text);

private:
  GlossaryMatch find(std::string_view text, const int *order, std::size_t count) const;
  std::vector<GlossaryItem> items(EntryKind kind) const;

  std::array<std::vector<std::string>, kGlossaryGroups.size()> entries_ = makeEmpty();
  static std::array<std::vector<std::string>, kGlossaryGroups.size()> makeEmpty();
};

// ASCII case folding, as the lookups compare.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool lessIgnoringCase(std::string_view a, std::string_view b);

} // namespace tarnwick
