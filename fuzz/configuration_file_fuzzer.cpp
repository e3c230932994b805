// The ".cfg" reader on arbitrary file contents: whatever the bytes, every
// list has its model's length, states stay within the four values, marker
// types follow the country, slots hold a frequency or their unset name, and
// what is read writes back to bytes that read the same.
#include "configuration_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick;

namespace {

void require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// The country's mask comes from the last byte, so every combination is met.
CountryMarkerMask maskFrom(std::string_view bytes) {
  CountryMarkerMask mask{};
  const auto bits =
      bytes.empty() ? 0U : static_cast<unsigned>(static_cast<std::uint8_t>(bytes.back()));
  for (int position = 0; position < kMarkerTypeCount; ++position) {
    mask[static_cast<std::size_t>(position)] = ((bits >> position) & 1U) != 0;
  }
  return mask;
}

void checkLists(const ReceiverConfiguration &configuration, const CountryMarkerMask &mask) {
  for (ListId id : allLists()) {
    const SettingList &list = listOf(configuration.current(), id);
    require(list.count() == entryCount(id, configuration.model()));
    for (int entry = 0; entry < list.count(); ++entry) {
      const auto state = list.at(entry).state;
      if (id == ListId::MarkerTypes) {
        require((state == SettingState::Unavailable) == !mask[static_cast<std::size_t>(entry)]);
      } else {
        require(state != SettingState::Unavailable);
      }
    }
  }
  for (ListId id : {ListId::LocateUser, ListId::ToneUser}) {
    const SettingList &slots = listOf(configuration.current(), id);
    for (int slot = 0; slot < kUserSlots; ++slot) {
      const std::string &name = slots.at(slot).name;
      require(name == unsetSlotName(slot) || isUserFrequencyText(name));
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char *>(data), size);
  const std::string bytes = isCurrentLayout(input) ? std::string(input) : withCurrentHeader(input);
  const auto stored = decodeConfiguration(bytes);
  require(stored.has_value() == (bytes.size() >= kHeaderBytes));
  if (!stored) {
    return 0;
  }
  const CountryMarkerMask mask = maskFrom(input);
  ReceiverConfiguration configuration([&](bool) { return mask; });
  applyStoredConfiguration(*stored, configuration);
  checkLists(configuration, mask);

  const std::string written = formatConfiguration(configuration.model(), configuration.current());
  const auto again = decodeConfiguration(written);
  require(again.has_value());
  ReceiverConfiguration reread([&](bool) { return mask; });
  applyStoredConfiguration(*again, reread);
  require(reread.model() == configuration.model());
  require(reread.current() == configuration.current());
  require(formatConfiguration(reread.model(), reread.current()) == written);
  return 0;
}
