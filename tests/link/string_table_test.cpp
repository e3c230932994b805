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

// A pack carries dialog texts as "dialog.item" beside the string ids; what
// it does not carry is no text of the table (the dialog keeps its English).
TEST(StringTable, dialogTextsTravelByDialogAndItem) {
  const auto entries = parseLanguagePack("240.1109\tEmpf\xC3\xA4nger &konfigurieren\n"
                                         "240.0\tTitel\n"
                                         "0.5\tno dialog 0\n"
                                         "240.\tno item\n"
                                         ".5\tno dialog\n"
                                         "240.x\tnot a number\n"
                                         "61283\tA\n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].dialog, 240);
  EXPECT_EQ(entries[0].id, 1109);
  EXPECT_EQ(entries[1].dialog, 240);
  EXPECT_EQ(entries[1].id, 0);
  EXPECT_EQ(entries[2].dialog, 0);
  EXPECT_EQ(parseLanguagePack(formatLanguagePack(entries)).size(), 3u);
  EXPECT_EQ(formatLanguagePack({entries[1]}), "240.0\tTitel\n");

  StringTable strings;
  EXPECT_EQ(strings.applyLanguagePack(formatLanguagePack(entries)), 3u);
  ASSERT_NE(strings.dialogText({240, 1109}), nullptr);
  EXPECT_EQ(*strings.dialogText({240, 1109}), "Empf\xC3\xA4nger &konfigurieren");
  EXPECT_EQ(strings.dialogText({240, 1}), nullptr);
  EXPECT_EQ(strings.dialogText({1109, 240}), nullptr);
  EXPECT_FALSE(strings.has(1109));
}

TEST(StringTable, placeholdersAreFilledInOrder) {
  EXPECT_EQ(formatText("Port %1 at %2 bps", {"/dev/ttyUSB0", "38400"}),
            "Port /dev/ttyUSB0 at 38400 bps");
  EXPECT_EQ(formatText("%2, %1%", {"a", "b"}), "b, a%");
  EXPECT_EQ(formatText("%1 and %3", {"x"}), "x and %3");
  EXPECT_EQ(StringTable().format(sid::kUnsetUserSlot, {"2"}), "U F2");
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
