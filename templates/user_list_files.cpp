#include "user_list_files.h"

#include <algorithm>

namespace tarnwick {

namespace {

void put16(std::vector<std::uint8_t> &bytes, GlossaryRef value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

class Values {
public:
  explicit Values(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool next(GlossaryRef &value) {
    if (at_ + 2 > bytes_.size()) {
      return false;
    }
    value = static_cast<GlossaryRef>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }

private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

} // namespace

std::vector<std::uint8_t> fvgBytes(const std::vector<GlossaryRef> &labels) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < labels.size() && i < kMaxListLabels && labels[i] != 0; ++i) {
    put16(bytes, labels[i]);
  }
  return bytes;
}

std::vector<GlossaryRef> parseFvg(std::span<const std::uint8_t> bytes) {
  std::vector<GlossaryRef> labels;
  Values values(bytes);
  GlossaryRef value = 0;
  while (labels.size() < kMaxListLabels && values.next(value) && value != 0) {
    labels.push_back(value);
  }
  return labels;
}

std::vector<std::uint8_t> labelTermBytes(const LabelLinks &links) {
  std::vector<std::uint8_t> bytes;
  for (const LabelLink &row : links) {
    if (row.label == 0 || row.descriptions.empty()) {
      continue;
    }
    put16(bytes, row.label);
    for (std::size_t i = 0; i < row.descriptions.size() && i < kMaxLabelLinks; ++i) {
      put16(bytes, row.descriptions[i]);
    }
    put16(bytes, kLinkRecordEnd);
  }
  return bytes;
}

LabelLinks emptyLinksFor(const std::vector<GlossaryRef> &labels) {
  LabelLinks links;
  for (GlossaryRef label : labels) {
    links.push_back({label, {}});
  }
  return links;
}

LabelLinks parseLabelTermData(std::span<const std::uint8_t> bytes,
                              const std::vector<GlossaryRef> &labels) {
  LabelLinks links = emptyLinksFor(labels);
  Values values(bytes);
  GlossaryRef label = 0;
  while (values.next(label)) {
    const auto row = std::find_if(links.begin(), links.end(),
                                  [label](const LabelLink &link) { return link.label == label; });
    std::vector<GlossaryRef> descriptions;
    GlossaryRef value = 0;
    while (values.next(value) && value != 0 && value != kLinkRecordEnd) {
      if (descriptions.size() < kMaxLabelLinks) {
        descriptions.push_back(value);
      }
    }
    if (row != links.end() && label != 0) {
      row->descriptions = std::move(descriptions);
    }
  }
  return links;
}

} // namespace tarnwick
