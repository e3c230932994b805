#include "string_table.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(StringTable, portAndLinkTextsAreExact) {
  StringTable strings;
  EXPECT_EQ(strings.text(61283), "Please select a port and try again !");
  EXPECT_EQ(strings.text(61284), "Port could not be open. Please try again !");
  EXPECT_EQ(strings.text(61285), "Error Communicating to receiver. Verify serial cable connection "
                                 "between PC and receiver. Verify Receiver is on..");
  EXPECT_EQ(strings.text(61361), "Failed to open port! Please connect and try again");
  EXPECT_EQ(strings.text(61274), "Failed to write to the comport");
  EXPECT_EQ(strings.text(61377), "No receiver response or wrong receiver response");
  EXPECT_EQ(strings.text(61381), "Please Restart the Locator for the changes to take effect..");
  EXPECT_EQ(strings.text(194), "Please upgrade the receiver software. ");
  EXPECT_EQ(strings.text(sid::kPathModeCompatible), "Path Mode Compatible with latest S/W");
  EXPECT_EQ(strings.text(sid::kPathModeNotCompatible), "Path Mode Not Compatible !!!");
}

TEST(StringTable, aLanguagePackOverridesById) {
  StringTable strings;
  strings.set(61283, "Bitte einen Anschluss wählen !");
  EXPECT_EQ(strings.text(sid::kSelectPortAndRetry), "Bitte einen Anschluss wählen !");
  EXPECT_EQ(strings.text(61284), "Port could not be open. Please try again !");
}

TEST(StringTable, unknownIdsAreEmpty) {
  StringTable strings;
  EXPECT_FALSE(strings.has(4242));
  EXPECT_EQ(strings.text(4242), "");
  EXPECT_TRUE(strings.has(61285));
}

} // namespace
} // namespace tarnwick

namespace tarnwick {
namespace {

// Two texts given the same id would hide one of them without a word.
TEST(StringTable, everyBuiltInTextHasAnIdOfItsOwn) {
  EXPECT_EQ(StringTable().size(), StringTable::builtInCount());
}

} // namespace
} // namespace tarnwick
