#include "model_catalogue.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(ModelCatalogue, holdsFortyEightModels) {
  EXPECT_EQ(modelCatalogue().size(), 48U);
}

TEST(ModelCatalogue, codesWithoutANameAreUnknown) {
  for (int code : {11, 13, 14, 15, 16, 17, 18, 19, 22, 25, 29, 55, 58, 60, 70, 128, 255, -1}) {
    EXPECT_FALSE(findModel(code)) << code;
  }
}

TEST(ModelCatalogue, examplesFromEachFamily) {
  const auto m48 = findModel(0x30);
  ASSERT_TRUE(m48);
  EXPECT_EQ(m48->name, "8360M-Tq/U");
  EXPECT_EQ(m48->slot, VersionSlot::D);
  EXPECT_TRUE(m48->pathModeCompatible);

  const auto m6 = findModel(6);
  ASSERT_TRUE(m6);
  EXPECT_EQ(m6->name, "8360M-U");
  EXPECT_EQ(m6->slot, VersionSlot::A);
  EXPECT_FALSE(m6->pathModeCompatible);

  EXPECT_EQ(findModel(12)->slot, VersionSlot::B);
  EXPECT_EQ(findModel(51)->name, "8385M-Tq/IN");
  EXPECT_EQ(findModel(51)->slot, VersionSlot::E);
  EXPECT_EQ(findModel(52)->name, "6130CE-Tq");
  EXPECT_EQ(findModel(69)->name, "3260-Tq/E");
  EXPECT_EQ(findModel(69)->slot, VersionSlot::F);
  EXPECT_TRUE(findModel(20)->displayOnly);
  EXPECT_EQ(findModel(21)->name, "8330M-PL");
  EXPECT_FALSE(findModel(32)->pathModeCompatible);
  EXPECT_TRUE(findModel(30)->pathModeCompatible);
}

TEST(ModelCatalogue, slotsFollowTheCodeRanges) {
  for (const ModelInfo &model : modelCatalogue()) {
    VersionSlot expected = VersionSlot::H;
    if (model.code <= 10) {
      expected = VersionSlot::A;
    } else if (model.code == 12) {
      expected = VersionSlot::B;
    } else if (model.code == 20 || model.code == 21) {
      expected = VersionSlot::G;
    } else if (model.code >= 30 && model.code <= 39) {
      expected = VersionSlot::C;
    } else if (model.code == 51) {
      expected = VersionSlot::E;
    } else if (model.code >= 40 && model.code <= 54) {
      expected = VersionSlot::D;
    } else if (model.code >= 61 && model.code <= 69) {
      expected = VersionSlot::F;
    }
    EXPECT_EQ(model.slot, expected) << model.code;
    EXPECT_EQ(model.displayOnly, expected == VersionSlot::G) << model.code;
  }
}

TEST(ModelCatalogue, bothGenerationsShareTheirNames) {
  for (int code = 0; code <= 10; ++code) {
    EXPECT_EQ(findModel(code)->name, findModel(code + 40)->name) << code;
    EXPECT_FALSE(findModel(code)->pathModeCompatible) << code;
  }
}

TEST(ModelCatalogue, slotLabelsOfTheVersionDialog) {
  EXPECT_EQ(slotLabel(VersionSlot::A), "6130, 8360M, 8385M (E, U, Tq models):");
  EXPECT_EQ(slotLabel(VersionSlot::F), "3130, 3260, 3285 (E, U models):");
  EXPECT_EQ(slotLabel(VersionSlot::H), "RFID Glossary:");
  EXPECT_TRUE(slotLabel(VersionSlot::D).empty());
}

} // namespace
} // namespace tarnwick
