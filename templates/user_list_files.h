// The two files of a favorite user list, little-endian 16-bit values with no
// header: "<name>.fvg" (the label references in order) and "LabelTermData"
// (per label with links: the label, its descriptions, then 0xFF 0xFF).
#pragma once

#include "glossary.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

inline constexpr std::size_t kMaxListLabels = 88;
inline constexpr std::size_t kMaxLabelLinks = 16;
inline constexpr GlossaryRef kLinkRecordEnd = 0xFFFF;

// One row of the links table: a label of the list and its linked descriptions.
struct LabelLink {
  GlossaryRef label = 0;
  std::vector<GlossaryRef> descriptions;
  bool operator==(const LabelLink &) const = default;
};
using LabelLinks = std::vector<LabelLink>; // one row per label of the list, in list order

std::vector<std::uint8_t> fvgBytes(const std::vector<GlossaryRef> &labels);
// At most 88 references; a 0 ends the list, an odd last byte is ignored.
std::vector<GlossaryRef> parseFvg(std::span<const std::uint8_t> bytes);

// Rows without links are not written; at most 16 descriptions a row.
std::vector<std::uint8_t> labelTermBytes(const LabelLinks &links);
// The rows for labels, filled from the records: each record's descriptions
// (until 0 or 0xFFFF, at most 16) go to the first row with its label. A
// record for a label that is not in the list is skipped, so its links never
// land on another label.
LabelLinks parseLabelTermData(std::span<const std::uint8_t> bytes,
                              const std::vector<GlossaryRef> &labels);

LabelLinks emptyLinksFor(const std::vector<GlossaryRef> &labels);

} // namespace tarnwick
