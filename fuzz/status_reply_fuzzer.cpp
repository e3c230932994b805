// The binary status-reply decoder on arbitrary line bytes; the first input
// byte picks the payload size. What it decodes goes on to the identity, the
// model catalogue and the version comparison.
#include "receiver_identity.h"
#include "status_reply.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

namespace {

// A payload only ever follows the first 0xD5 and a 0x02, and has the size asked.
void checkPayload(std::span<const std::uint8_t> line, const std::vector<std::uint8_t> &payload,
                  std::size_t payloadBytes) {
  const auto header = std::find(line.begin(), line.end(), cmd::kStatusHeader);
  const auto start = static_cast<std::size_t>(header - line.begin()) + 2;
  if (payload.size() != payloadBytes || start > line.size() ||
      line[start - 1] != cmd::kStatusValid || line.size() - start < payloadBytes ||
      !std::equal(payload.begin(), payload.end(), line.begin() + static_cast<long>(start))) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::size_t payloadBytes = data[0] % 16;
  const std::span<const std::uint8_t> line(data + 1, size - 1);
  const auto payload = decodeStatusReply(line, static_cast<int>(payloadBytes));
  if (!payload) {
    return 0;
  }
  checkPayload(line, *payload, payloadBytes);
  if (const auto identity = identityFromPayload(*payload)) {
    const auto model = findModel(identity->modelCode);
    if (model && model->code != identity->modelCode) {
      std::abort();
    }
    (void)comparisonMessage(compareWithShipped(*identity, ShippedVersions{}));
  }
  return 0;
}
