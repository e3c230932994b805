// The main screen's country selection, read by the configuration tools.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

struct CountrySelection {
  std::int32_t index = 0;     // position in the country list
  std::string name{"None"};   // "None" when no entry is selected
  bool changedByUser = false; // set by every selection change
};

} // namespace tarnwick
