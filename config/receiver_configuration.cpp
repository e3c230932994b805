#include "receiver_configuration.h"

#include "supervisor_password.h"

#include <algorithm>
#include <utility>

namespace tarnwick {

ReceiverConfiguration::ReceiverConfiguration(MaskSource masks)
    : masks_(std::move(masks)), family_(frequencyFamily(kDefaultModel)) {}

void ReceiverConfiguration::setModel(ModelIndex index) {
  model_ = index;
  family_ = frequencyFamily(index);
}

void ReceiverConfiguration::rebuildDefaults() {
  defaults_ = defaultLists(model_);
  mask_ = masks_ ? masks_(isCePowerModel(model_)) : CountryMarkerMask{};
  SettingList &markers = listOf(defaults_, ListId::MarkerTypes);
  for (int position = 0; position < markers.count() && position < kMarkerTypeCount; ++position) {
    if (!mask_[static_cast<std::size_t>(position)]) {
      markers.at(position).state = SettingState::Unavailable;
    }
  }
  current_ = defaults_;
  rebuildPending_ = false;
}

void ReceiverConfiguration::copyCurrentIn(const SettingLists &lists) {
  for (std::size_t list = 0; list < current_.size(); ++list) {
    SettingList &target = current_[list];
    const SettingList &source = lists[list];
    const int shared = std::min(target.count(), source.count());
    for (int entry = 0; entry < shared; ++entry) {
      target.at(entry).state = source.at(entry).state;
      if (!source.at(entry).name.empty()) {
        target.at(entry).name = source.at(entry).name;
      }
    }
  }
}

const SettingList &ReceiverConfiguration::defaultList(ListId list) {
  if (rebuildPending_) {
    rebuildDefaults();
  }
  return listOf(defaults_, list);
}

std::optional<std::string> ReceiverConfiguration::entryName(ListId list, int entry) const {
  const SettingList &lines = listOf(current_, list);
  if (!lines.has(entry)) {
    return std::nullopt;
  }
  return lines.at(entry).name;
}

bool ReceiverConfiguration::setEntryName(ListId list, int entry, std::string name) {
  SettingList &lines = listOf(current_, list);
  if (!lines.has(entry)) {
    return false;
  }
  lines.at(entry).name = std::move(name);
  return true;
}

std::string_view ReceiverConfiguration::defaultPassword() {
  return kDefaultSupervisorPassword;
}

std::string_view ReceiverConfiguration::masterPassword() {
  return kMasterSupervisorPassword;
}

} // namespace tarnwick
