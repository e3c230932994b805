#include "demo_tree.h"
#include "glossary.h"
#include "glossary_files.h"
#include "glossary_language.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::DemoTree;
using testing::TempDir;

std::vector<std::uint8_t> bytesOf(const std::string &text) {
  return {text.begin(), text.end()};
}

TEST(GlossaryTable, groupsCodesAndIndexWidths) {
  EXPECT_EQ(Glossary::groupOf(7), 0);
  EXPECT_EQ(Glossary::groupOf(25), 15);
  EXPECT_EQ(Glossary::groupOf(29), 19);
  EXPECT_EQ(Glossary::groupOf(11), -1);
  EXPECT_EQ(Glossary::indexWidthOf(10), 5);
  EXPECT_EQ(Glossary::indexWidthOf(29), 6);
  EXPECT_EQ(Glossary::indexWidthOf(0), -1);
  int labels = 0;
  int descriptions = 0;
  for (const GlossaryGroup &group : kGlossaryGroups) {
    EXPECT_EQ(1 << group.indexBits, group.count);
    (group.kind == EntryKind::Label ? labels : descriptions) += group.count;
  }
  EXPECT_EQ(labels, 64 + 24);
  EXPECT_EQ(descriptions, 248 + 80); // the group table gives 248 predefined descriptions
}

TEST(GlossaryLookup, ignoresCaseAndReportsCodeWidthIndex) {
  Glossary glossary;
  ASSERT_TRUE(glossary.setEntry(9, 3, "Valve"));
  const GlossaryMatch match = glossary.findLabel("VALVE");
  EXPECT_EQ(match.code, 9);
  EXPECT_EQ(match.width, 4);
  EXPECT_EQ(match.index, 3);
  EXPECT_EQ(match.ref(), 0x0903);
  EXPECT_EQ(glossary.text(match.ref()), "Valve");
}

TEST(GlossaryLookup, notFoundIsAll255) {
  Glossary glossary;
  glossary.setEntry(9, 3, "Valve");
  const GlossaryMatch label = glossary.findLabel("Valves");
  EXPECT_EQ(label.code, 255);
  EXPECT_EQ(label.width, 255);
  EXPECT_EQ(label.index, 255);
  EXPECT_FALSE(glossary.findDescription("Valve").found()); // labels are not descriptions
  EXPECT_FALSE(glossary.findLabel("").found());            // empty entries never match
}

TEST(GlossaryLookup, predefinedLabelIsFoundBeforeTheUserLabel) {
  Glossary glossary;
  glossary.setEntry(10, 2, "Meter");
  glossary.setUserEntries({"Crew", "METER"}, {});
  const GlossaryMatch match = glossary.findLabel("meter");
  EXPECT_EQ(match.code, 10);
  EXPECT_EQ(match.index, 2);
  EXPECT_EQ(glossary.findLabel("crew").code, 26);
}

TEST(GlossaryLookup, descriptionsSearchPredefinedGroupsThenUserGroups) {
  Glossary glossary;
  glossary.setUserEntries({}, {"Steel"});
  EXPECT_EQ(glossary.findDescription("steel").code, 28);
  glossary.setEntry(25, 31, "Steel");
  EXPECT_EQ(glossary.findDescription("steel").code, 25);
  glossary.setEntry(14, 7, "Steel");
  EXPECT_EQ(glossary.findDescription("STEEL").code, 14);
  EXPECT_EQ(glossary.findDescription("STEEL").index, 7);
}

TEST(GlossaryUserEntries, the25thUserLabelIsNotStored) {
  std::vector<std::string> labels;
  for (int i = 1; i <= 25; ++i) {
    labels.push_back("L" + std::to_string(i));
  }
  std::vector<std::string> terms;
  for (int i = 1; i <= 81; ++i) {
    terms.push_back("T" + std::to_string(i));
  }
  Glossary glossary;
  glossary.setUserEntries(labels, terms);
  EXPECT_EQ(glossary.text(26, 7), "L8");
  EXPECT_EQ(glossary.text(27, 0), "L9");
  EXPECT_EQ(glossary.text(27, 15), "L24");
  EXPECT_FALSE(glossary.findLabel("L25").found());
  EXPECT_EQ(glossary.text(28, 15), "T16");
  EXPECT_EQ(glossary.text(29, 63), "T80");
  EXPECT_FALSE(glossary.findDescription("T81").found());
}

TEST(GlossaryEntries, indexBeyondTheGroupIsRefusedAndLongTextsAreCut) {
  Glossary glossary;
  EXPECT_FALSE(glossary.setEntry(7, 8, "Owner"));
  EXPECT_FALSE(glossary.setEntry(11, 0, "Owner"));
  EXPECT_TRUE(glossary.setEntry(7, 7, "Ownership"));
  EXPECT_EQ(glossary.text(7, 7), "Ownershi");
  EXPECT_TRUE(glossary.setEntry(14, 0, "A very long description"));
  EXPECT_EQ(glossary.text(14, 0), "A very long de");
  EXPECT_EQ(glossary.text(7, 8), "");
  EXPECT_EQ(glossary.text(11, 0), "");
}

TEST(GlossaryLists, controlAndEmptyEntriesAreLeftOut) {
  Glossary glossary;
  glossary.setEntry(7, 0, "UserEdit");
  glossary.setEntry(7, 1, "Owner");
  glossary.setEntry(7, 7, "Del Row");
  glossary.setEntry(10, 0, "Pipe");
  glossary.setEntry(14, 0, "UserEdit");
  glossary.setEntry(14, 1, "Delete Row");
  glossary.setEntry(14, 2, "M/D/Y");
  glossary.setEntry(14, 3, "D/M/Y");
  glossary.setEntry(14, 4, "Yes");
  glossary.setUserEntries({"Crew"}, {"Night"});
  EXPECT_EQ(glossary.listLabels(), (std::vector<std::string>{"Owner", "Pipe", "Crew"}));
  EXPECT_EQ(glossary.listDescriptions(), (std::vector<std::string>{"Yes", "Night"}));
  EXPECT_EQ(glossary.labelItems().front().ref, 0x0701);
}

TEST(GlossaryDateLabel, isIndex5OfTheGroupWithCode8) {
  Glossary glossary;
  EXPECT_FALSE(glossary.isDateLabel("Date"));
  EXPECT_FALSE(glossary.isDateLabel(""));
  glossary.setEntry(8, 5, "Date");
  EXPECT_TRUE(glossary.isDateLabel("DATE"));
  EXPECT_EQ(glossary.dateLabel(), "Date");
}

TEST(GlossaryFiles, datRecordsSetOnlyTheirOwnGroupsWithinTheCount) {
  // Owner; index 16 outside the group of code 9; a description in the label
  // file; index 10 (0x0A) with a carriage return; a last record without line end.
  const std::string records = std::string("\x07\x00\x01Owner\n", 9) +
                              std::string("\x09\x00\x10X\n", 5) +
                              std::string("\x0E\x00\x00Yes\n", 7) + "\x0A\xEE\x0ATag\r\n" +
                              std::string("\x08\x00\x05"
                                          "Date",
                                          7);
  const std::vector<std::uint8_t> bytes = bytesOf(records);
  Glossary glossary;
  EXPECT_EQ(applyPredefinedRecords(glossary, bytes, EntryKind::Label), 3);
  EXPECT_EQ(glossary.text(7, 1), "Owner");
  EXPECT_EQ(glossary.text(10, 10), "Tag");
  EXPECT_EQ(glossary.dateLabel(), "Date");
  EXPECT_EQ(glossary.text(14, 0), "");
}

TEST(GlossaryFiles, textFilesGiveOneEntryALine) {
  EXPECT_EQ(splitEntryLines("\xEF\xBB\xBF"
                            "Crew\r\nSite  \n\nRoute"),
            (std::vector<std::string>{"Crew", "Site", "", "Route"}));
  EXPECT_EQ(splitEntryLines("A\n"), (std::vector<std::string>{"A"}));
  EXPECT_TRUE(splitEntryLines("").empty());
}

TEST(GlossaryFiles, encodeFormatSection) {
  EXPECT_EQ(parseEncodeFormat("[EncodeFormat]\r\n8-bit\r\n"), 8);
  EXPECT_EQ(parseEncodeFormat("# width\n[Glossary]\nx\n[EncodeFormat]\n# note\n8-bit\n"), 8);
  EXPECT_EQ(parseEncodeFormat("[EncodeFormat]\n7-bit\n"), 7);
  EXPECT_EQ(parseEncodeFormat("[EncodeFormat]\n16-bit\n"), 7);
  EXPECT_EQ(parseEncodeFormat("[EncodeFormat]"), 7);
  EXPECT_EQ(parseEncodeFormat("[Glossary]\n8-bit\n"), 0);
}

TEST(GlossaryFiles, widthDefaultsWithoutGlossaryCfg) {
  TempDir dir;
  EXPECT_EQ(characterWidthOf(dir.path(), "English"), 7);
  EXPECT_EQ(characterWidthOf(dir.path(), "german"), 8);
  dir.write("Glossary.cfg", "[EncodeFormat]\n8-bit\n");
  EXPECT_EQ(characterWidthOf(dir.path(), "English"), 8);
  dir.write("Glossary.cfg", "[EncodeFormat]\n7-bit\n");
  EXPECT_EQ(characterWidthOf(dir.path(), "German"), 7);
}

TEST(GlossaryFiles, aWrittenGlossaryLoadsBackEntryForEntry) {
  DemoTree tree;
  const Glossary expected = demoEnglishGlossary();
  Glossary loaded;
  ASSERT_TRUE(loadGlossaryFolder(loaded, tree.dir.path() / "Software/Glossary/English"));
  for (const GlossaryGroup &group : kGlossaryGroups) {
    for (int index = 0; index < group.count; ++index) {
      EXPECT_EQ(loaded.text(group.code, index), expected.text(group.code, index))
          << int(group.code) << "/" << index;
    }
  }
  EXPECT_EQ(loaded.dateLabel(), "Date");
}

TEST(GlossaryFiles, missingFilesLeaveTheirEntriesEmpty) {
  TempDir dir;
  dir.write("Labels.txt", "Crew\n");
  Glossary glossary;
  glossary.setEntry(7, 1, "Owner");
  EXPECT_TRUE(loadGlossaryFolder(glossary, dir.path()));
  EXPECT_EQ(glossary.text(7, 1), "");
  EXPECT_EQ(glossary.text(26, 0), "Crew");
  EXPECT_FALSE(loadGlossaryFolder(glossary, dir.path() / "none"));
}

TEST(GlossaryLanguage, positionFileIsCreatedHolding3) {
  TempDir dir;
  EXPECT_EQ(readGlossaryPosition(dir.path()), 3U);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(readWholeFile(dir.path() / "Cfg/GlossConfigSave.cfg", bytes));
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{3, 0, 0, 0}));
  ASSERT_TRUE(saveGlossaryPosition(dir.path(), 0x01020304));
  ASSERT_TRUE(readWholeFile(dir.path() / "Cfg/GlossConfigSave.cfg", bytes));
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(readGlossaryPosition(dir.path()), 0x01020304U);
}

TEST(GlossaryLanguage, invalidPositionOrOneLanguageFallsBackToEnglish) {
  DemoTree tree;
  const auto &work = tree.dir.path();
  const std::vector<std::string> languages = listGlossaryLanguages(work);
  ASSERT_EQ(languages, (std::vector<std::string>{"English", "German"}));
  EXPECT_EQ(glossaryAtPosition(work, languages, 3).language, "English");
  const GlossaryChoice german = glossaryAtPosition(work, languages, 1);
  EXPECT_EQ(german.language, "German");
  EXPECT_EQ(german.width, 8);
  EXPECT_EQ(german.folder, work / "Software/Glossary/German");
  EXPECT_EQ(glossaryAtPosition(work, {"German"}, 0).language, "English");
  EXPECT_EQ(glossaryNamed(work, languages, "GERMAN").language, "German");
  EXPECT_EQ(glossaryNamed(work, languages, "French").language, "English");
  EXPECT_EQ(englishGlossary(work).width, 7);
}

TEST(GlossaryLanguage, workspaceSavesAndRestoresTheLanguage) {
  DemoTree tree;
  TemplatesWorkspace &workspace = *tree.workspace;
  workspace.useGlossaryNamed("German");
  EXPECT_EQ(workspace.width(), 8);
  EXPECT_EQ(workspace.glossary.dateLabel(), "Datum");
  ASSERT_TRUE(workspace.saveGlossaryLanguage());
  EXPECT_EQ(tree.read("Cfg/GlossConfigSave.cfg"), (std::vector<std::uint8_t>{1, 0, 0, 0}));
  TemplatesWorkspace again(tree.dir.path());
  again.useSavedGlossary();
  EXPECT_EQ(again.glossaryChoice().language, "German");
  EXPECT_EQ(again.glossary.findLabel("besitzer").code, 7);
}

} // namespace
} // namespace tarnwick
