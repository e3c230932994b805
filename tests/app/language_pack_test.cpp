#include "string_table.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(StringTable, theShellsTextsAreExact) {
  const StringTable strings;
  EXPECT_EQ(strings.text(sid::kLanguageResourcesNotFound),
            "Language Resources are not found. English will be used instead \n");
  EXPECT_EQ(strings.text(sid::kErrorCreatingDialogObject), "Error Creating Dialog Object");
  EXPECT_EQ(strings.text(sid::kErrorCreatingDialog), "Error creating Dialog");
  EXPECT_EQ(strings.text(sid::kConfigurationFilesMissing),
            "Some configuration files are missing..\nInitial Configuration can not be performed..");
  EXPECT_EQ(strings.text(sid::kRestartForLanguage),
            "Please Exit and start Brimstel again to see the new Language changes !!!");
  EXPECT_EQ(strings.text(sid::kHelpNotAvailable), "Help not available");
}

TEST(StringTable, textsWithIdsAreExact) {
  const StringTable strings;
  EXPECT_EQ(strings.text(61300), "Connect PC to Receiver via Serial Cable. \nTurn Receiver On. And "
                                 "Press Download to try again. \n");
  EXPECT_EQ(strings.text(198), "Incompatible Marker Types found - combination of Standard and "
                               "Extended (\"X\") type markers.");
  EXPECT_EQ(strings.text(61281), "Click \"Download selected files to Locator\" to send the files "
                                 "on the right side to the locator...");
  EXPECT_EQ(strings.text(61357), "Error while downloading.  ");
  EXPECT_EQ(strings.text(146), " ");
  EXPECT_EQ(strings.text(61405), "does not match with the Selected Model\"");
  EXPECT_EQ(strings.text(61395), "Please limit template name to 15 characters or less!");
  EXPECT_EQ(strings.text(61396), "Please limit template name to 15 characters or less!");
  EXPECT_EQ(strings.text(61438), "SignalLevel");
}

TEST(StringTable, everyIdHasAText) {
  const StringTable strings;
  const auto ids = strings.ids();
  EXPECT_GE(ids.size(), 180u);
  for (const StringId id : ids) {
    EXPECT_FALSE(strings.text(id).empty()) << id;
    EXPECT_TRUE((id >= 103 && id <= 204) || (id >= 61216 && id <= 61599)) << id;
  }
}

TEST(LanguagePack, linesOfIdTabText) {
  const auto entries = parseLanguagePack("\xEF\xBB\xBF"
                                         "# German\n"
                                         "61283\tBitte Anschluss w\xC3\xA4hlen !\r\n"
                                         "\n"
                                         "61300\tZeile 1\\nZeile 2\\t\\\\ \\x\n"
                                         "bad line\n"
                                         "12x\tnot a number\n"
                                         "\tno id\n"
                                         "-5\tnegative\n"
                                         "99999999999999\ttoo big\n"
                                         "194\t");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].id, 61283);
  EXPECT_EQ(entries[0].text, "Bitte Anschluss w\xC3\xA4hlen !");
  EXPECT_EQ(entries[1].id, 61300);
  EXPECT_EQ(entries[1].text, "Zeile 1\nZeile 2\t\\ \\x");
  EXPECT_EQ(entries[2].id, 194);
  EXPECT_EQ(entries[2].text, "");
}

TEST(LanguagePack, replacesKnownIdsOnly) {
  StringTable strings;
  EXPECT_EQ(strings.applyLanguagePack("61283\tA\n4242\tunknown\n61284\tB\n61283\tC\n"), 3u);
  EXPECT_EQ(strings.text(61283), "C");
  EXPECT_EQ(strings.text(61284), "B");
  EXPECT_FALSE(strings.has(4242));
  EXPECT_EQ(strings.text(61285), StringTable().text(61285));
}

TEST(LanguagePack, writtenPacksReadBack) {
  const std::vector<PackEntry> entries{{61300, "a\nb\tc\\d\re"}, {146, " "}, {194, ""}};
  const std::string text = formatLanguagePack(entries);
  EXPECT_EQ(text, "61300\ta\\nb\\tc\\\\d\\re\n146\t \n194\t\n");
  const auto back = parseLanguagePack(text);
  ASSERT_EQ(back.size(), entries.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].id, entries[i].id);
    EXPECT_EQ(back[i].text, entries[i].text);
  }
}

} // namespace
} // namespace tarnwick
