// The files of a favorite user list of any content: "<name>.fvg" and
// "LabelTermData". Limits hold, and what is read is written back the same.
#include "user_list_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // The first half names the list's labels, the whole input is its links.
  const std::vector<GlossaryRef> labels = parseFvg(bytes.first(size / 2));
  if (labels.size() > kMaxListLabels ||
      std::find(labels.begin(), labels.end(), 0) != labels.end()) {
    std::abort();
  }
  if (parseFvg(fvgBytes(labels)) != labels) {
    std::abort();
  }
  const LabelLinks links = parseLabelTermData(bytes, labels);
  if (links.size() != labels.size()) {
    std::abort();
  }
  for (const LabelLink &row : links) {
    if (row.descriptions.size() > kMaxLabelLinks ||
        std::any_of(row.descriptions.begin(), row.descriptions.end(),
                    [](GlossaryRef ref) { return ref == 0 || ref == kLinkRecordEnd; })) {
      std::abort();
    }
  }
  if (parseLabelTermData(labelTermBytes(links), labels) != links) {
    std::abort();
  }
  return 0;
}
