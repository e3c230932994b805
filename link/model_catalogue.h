// The receiver models by the code of their "locsw" reply: name, the slot of
// the shipped software version that applies, and path-mode compatibility.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tarnwick {

// Slots of the shipped-version table, in the order of its lines.
enum class VersionSlot { A, B, C, D, E, F, G, H };
inline constexpr int kVersionSlotCount = 8;

struct ModelInfo {
  int code;
  std::string_view name;
  VersionSlot slot;
  bool pathModeCompatible;
  bool displayOnly; // slot G: shown, never checked
};

std::span<const ModelInfo> modelCatalogue();
// Nothing for a code without a name.
std::optional<ModelInfo> findModel(int code);

// The label of a slot in the Receiver Software Version dialog; empty for the
// slots it does not show (D, E).
std::string_view slotLabel(VersionSlot slot);

} // namespace tarnwick
