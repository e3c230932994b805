#include "model_catalogue.h"

#include <algorithm>
#include <array>

namespace tarnwick {

namespace {

using S = VersionSlot;
constexpr bool kPath = true;
constexpr bool kNoPath = false;

constexpr std::array<ModelInfo, 48> kModels = {{
    {0, "6130-Tq", S::A, kNoPath, false},     {1, "6130E-Tq", S::A, kNoPath, false},
    {2, "8385M-U", S::A, kNoPath, false},     {3, "8385M-E", S::A, kNoPath, false},
    {4, "8385M-Tq/U", S::A, kNoPath, false},  {5, "8385M-Tq/E", S::A, kNoPath, false},
    {6, "8360M-U", S::A, kNoPath, false},     {7, "8360M-E", S::A, kNoPath, false},
    {8, "8360M-Tq/U", S::A, kNoPath, false},  {9, "8360M-Tq/E", S::A, kNoPath, false},
    {10, "8360MU-RMX", S::A, kNoPath, false}, {12, "6130Kv", S::B, kNoPath, false},
    {20, "8330M", S::G, kNoPath, true},       {21, "8330M-PL", S::G, kNoPath, true},
    {30, "9485-Tq/CE", S::C, kPath, false},   {31, "9460-Tq/CE", S::C, kPath, false},
    {32, "9485-U", S::C, kNoPath, false},     {33, "9485-E", S::C, kNoPath, false},
    {34, "9485-Tq/U", S::C, kPath, false},    {35, "9485-Tq/E", S::C, kPath, false},
    {36, "9460-U", S::C, kNoPath, false},     {37, "9460-E", S::C, kNoPath, false},
    {38, "9460-Tq/U", S::C, kPath, false},    {39, "9460-Tq/E", S::C, kPath, false},
    {40, "6130-Tq", S::D, kPath, false},      {41, "6130E-Tq", S::D, kPath, false},
    {42, "8385M-U", S::D, kNoPath, false},    {43, "8385M-E", S::D, kNoPath, false},
    {44, "8385M-Tq/U", S::D, kPath, false},   {45, "8385M-Tq/E", S::D, kPath, false},
    {46, "8360M-U", S::D, kNoPath, false},    {47, "8360M-E", S::D, kNoPath, false},
    {48, "8360M-Tq/U", S::D, kPath, false},   {49, "8360M-Tq/E", S::D, kPath, false},
    {50, "8360MU-RMX", S::D, kPath, false},   {51, "8385M-Tq/IN", S::E, kPath, false},
    {52, "6130CE-Tq", S::D, kPath, false},    {53, "8385M-Tq/CE", S::D, kPath, false},
    {54, "8360M-Tq/CE", S::D, kPath, false},  {61, "3130-Tq/CE", S::F, kPath, false},
    {62, "3130-Tq/U", S::F, kPath, false},    {63, "3285-Tq/U", S::F, kPath, false},
    {64, "3285-Tq/CE", S::F, kPath, false},   {65, "3260-Tq/U", S::F, kPath, false},
    {66, "3260-Tq/CE", S::F, kPath, false},   {67, "3130-Tq/E", S::F, kPath, false},
    {68, "3285-Tq/E", S::F, kPath, false},    {69, "3260-Tq/E", S::F, kPath, false},
}};

} // namespace

std::span<const ModelInfo> modelCatalogue() {
  return kModels;
}

std::optional<ModelInfo> findModel(int code) {
  const auto models = modelCatalogue();
  const auto found = std::find_if(models.begin(), models.end(),
                                  [code](const ModelInfo &model) { return model.code == code; });
  if (found == models.end()) {
    return std::nullopt;
  }
  return *found;
}

std::string_view slotLabel(VersionSlot slot) {
  switch (slot) {
  case VersionSlot::A:
    return "6130, 8360M, 8385M (E, U, Tq models):";
  case VersionSlot::B:
    return "6130Kv Model:";
  case VersionSlot::C:
    return "9460, 9485 (E, U, Tq models):";
  case VersionSlot::F:
    return "3130, 3260, 3285 (E, U models):";
  case VersionSlot::G:
    return "8330M Series:";
  case VersionSlot::H:
    return "RFID Glossary:";
  case VersionSlot::D:
  case VersionSlot::E:
    break;
  }
  return {};
}

} // namespace tarnwick
