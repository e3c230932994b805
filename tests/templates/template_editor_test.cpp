#include "demo_tree.h"
#include "scripted_user.h"
#include "template_editor.h"
#include "template_file.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::DemoTree;
using Bytes = std::vector<std::uint8_t>;

class TemplateEditorTest : public ::testing::Test {
protected:
  TemplateEditorTest() : editor(*tree.workspace, user, strings) {}

  std::string text(StringId id) const { return strings.text(id); }
  std::filesystem::path markers() const { return tree.dir.path() / "Templates"; }
  // Owner (10 bits) with a 14-character literal (98 bits): 108 bits a row.
  void fillRow(std::size_t row, const char *label) {
    ASSERT_TRUE(editor.commitLabel(row, label));
    ASSERT_TRUE(editor.commitDescription(row, "abcdefghijklmn"));
  }

  DemoTree tree;
  StringTable strings;
  ScriptedUser user;
  TemplateEditor editor;
};

TEST_F(TemplateEditorTest, nothingCanBeEditedBeforeAKindIsChosen) {
  const auto start = editor.snapshot();
  EXPECT_EQ(start.kind, TemplateKind::None);
  EXPECT_FALSE(start.rowsEnabled);
  EXPECT_FALSE(start.memoryVisible);
  EXPECT_FALSE(editor.commitLabel(0, "Owner"));
  EXPECT_FALSE(editor.commitDescription(0, "City"));
  EXPECT_FALSE(editor.clear());
  EXPECT_FALSE(editor.saveAs());
  EXPECT_FALSE(editor.browse());
  EXPECT_FALSE(editor.chooseTemplateName("GasValve.utl"));
  EXPECT_EQ(user.messages(), std::vector<std::string>(6, text(190)));
  EXPECT_EQ(text(190), "Please select the type of Templates to Create/Edit");
  EXPECT_EQ(editor.snapshot().labels[0], "");
}

TEST_F(TemplateEditorTest, choosingMarkerTemplatesShowsTheMemoryAndTheFolder) {
  editor.chooseKind(TemplateKind::Marker);
  const auto shown = editor.snapshot();
  EXPECT_TRUE(shown.rowsEnabled);
  EXPECT_TRUE(shown.memoryVisible);
  EXPECT_EQ(shown.remainingText, "100");
  EXPECT_EQ(shown.templateNames,
            (std::vector<std::string>{"GasMain.utl", "GasValve.utl", "WaterSvc.utl"}));
  EXPECT_EQ(shown.templateName, "untitled.utl");
  EXPECT_EQ(shown.userLists, (std::vector<std::string>{"All", "Gas", "Water"}));
  EXPECT_EQ(shown.userList, "All");
  EXPECT_EQ(shown.labelChoices.size(), tree.workspace->glossary.listLabels().size());
  EXPECT_NE(std::find(shown.labelChoices.begin(), shown.labelChoices.end(), "Date M/D/Y"),
            shown.labelChoices.end());
  EXPECT_TRUE(std::is_sorted(
      shown.labelChoices.begin(), shown.labelChoices.end(),
      [](const std::string &a, const std::string &b) { return lessIgnoringCase(a, b); }));
}

TEST_F(TemplateEditorTest, traceTemplatesHideTheMemoryAndHaveNoLimit) {
  editor.chooseKind(TemplateKind::Trace);
  for (std::size_t row = 0; row < 6; ++row) {
    fillRow(row, "Owner");
  }
  const auto shown = editor.snapshot();
  EXPECT_FALSE(shown.memoryVisible);
  EXPECT_EQ(shown.remainingText, "");
  EXPECT_EQ(shown.measureBits, 6 * 108);
  EXPECT_EQ(shown.templateNames, (std::vector<std::string>{"Fiber.utl", "MainRun.utl"}));
  EXPECT_TRUE(user.events().empty());
}

TEST_F(TemplateEditorTest, aNineCharacterLabelIsRefusedAndTheOldOneKept) {
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.commitLabel(0, "Owner"));
  EXPECT_FALSE(editor.commitLabel(0, "Ownership"));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{"Label can have Max. 8 Chars"}));
  EXPECT_EQ(editor.snapshot().labels[0], "Owner");
  EXPECT_TRUE(editor.commitLabel(1, "Eightchr"));
}

TEST_F(TemplateEditorTest, aFifteenCharacterDescriptionIsRefused) {
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.commitDescription(0, "fourteen chars"));
  EXPECT_FALSE(editor.commitDescription(0, "fifteen chars.."));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{"Description can have Max. 14 Chars"}));
  EXPECT_EQ(editor.snapshot().descriptions[0], "fourteen chars");
}

TEST_F(TemplateEditorTest, passing192BitsAsksOnceAndYesAllows896) {
  editor.chooseKind(TemplateKind::Marker);
  fillRow(0, "Owner");
  EXPECT_EQ(editor.snapshot().remainingPercent, (192 - 108) * 100 / 192);
  ASSERT_TRUE(editor.commitLabel(1, "Utility"));
  user.queueAnswer(Answer::Yes);
  ASSERT_TRUE(editor.commitDescription(1, "abcdefghijklmn"));
  ASSERT_EQ(user.events().size(), 1U);
  EXPECT_EQ(user.events()[0].kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(user.events()[0].text, "Reached Standard template memory size. If X-Type Marker "
                                   "Template, continue with editing the template.");
  EXPECT_EQ(user.events()[0].buttons, Buttons::YesNo);
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.allowedBits, 896);
  EXPECT_EQ(shown.remainingText, std::to_string((896 - 216) * 100 / 896));
  // The question belongs to the process: another editor does not ask again.
  user.clear();
  TemplateEditor second(*tree.workspace, user, strings);
  second.chooseKind(TemplateKind::Marker);
  for (std::size_t row = 0; row < 6; ++row) {
    ASSERT_TRUE(second.commitLabel(row, "Owner"));
    ASSERT_TRUE(second.commitDescription(row, "abcdefghijklmn"));
  }
  EXPECT_TRUE(user.events().empty());
  EXPECT_EQ(second.snapshot().measureBits, 648);
}

TEST_F(TemplateEditorTest, answeringNoRefusesEditsPast192BitsWithoutAskingAgain) {
  editor.chooseKind(TemplateKind::Marker);
  fillRow(0, "Owner");
  ASSERT_TRUE(editor.commitLabel(1, "Utility"));
  user.queueAnswer(Answer::No);
  EXPECT_FALSE(editor.commitDescription(1, "abcdefghijklmn"));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{"Out of allowed Memory for the Template"}));
  auto shown = editor.snapshot();
  EXPECT_EQ(shown.descriptions[1], "");
  EXPECT_EQ(shown.measureBits, 118);
  EXPECT_EQ(shown.remainingPercent, (192 - 118) * 100 / 192);
  user.clear();
  EXPECT_FALSE(editor.commitDescription(1, "abcdefghijklmn"));
  EXPECT_EQ(user.events().size(), 1U);
  EXPECT_EQ(user.events()[0].kind, ScriptedUser::Kind::Message);
  EXPECT_TRUE(editor.commitDescription(1, "abcdefghij")); // 118 + 70 bits fit
}

TEST_F(TemplateEditorTest, descriptionBoxesOfferTheLinkedDescriptionsAndShowAll) {
  editor.chooseKind(TemplateKind::Marker);
  editor.chooseUserList("Gas");
  auto shown = editor.snapshot();
  EXPECT_EQ(shown.userList, "Gas");
  EXPECT_EQ(shown.labelChoices,
            (std::vector<std::string>{"Owner", "Utility", "Material", "Size", "Depth", "Valve",
                                      "Svc Line", "Date M/D/Y", "Pressure"}));
  ASSERT_TRUE(editor.commitLabel(0, "material"));
  shown = editor.snapshot();
  EXPECT_EQ(shown.descriptionChoices[0],
            (std::vector<std::string>{"PE", "Steel", "Cast Iron", "*ShowAll"}));
  EXPECT_EQ(shown.descriptionChoices[1], (std::vector<std::string>{"*ShowAll"}));
  EXPECT_FALSE(editor.commitDescription(0, "*ShowAll"));
  shown = editor.snapshot();
  EXPECT_EQ(shown.descriptions[0], "");
  EXPECT_EQ(shown.descriptionChoices[0].size(),
            tree.workspace->glossary.listDescriptions().size() + 1);
  // "All" has links of its own.
  editor.chooseUserList("All");
  ASSERT_TRUE(editor.commitLabel(1, "Owner"));
  EXPECT_EQ(editor.snapshot().descriptionChoices[1],
            (std::vector<std::string>{"City", "County", "Private", "Utility Co", "*ShowAll"}));
}

TEST_F(TemplateEditorTest, dateLabelsCarryTheirOrderAsASuffix) {
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.commitLabel(0, "Date D/M/Y"));
  ASSERT_TRUE(editor.commitDescription(0, "311299"));
  auto shown = editor.snapshot();
  EXPECT_EQ(shown.labels[0], "Date D/M/Y");
  EXPECT_EQ(shown.dateOrder, DateOrder::DayMonthYear);
  EXPECT_NE(std::find(shown.labelChoices.begin(), shown.labelChoices.end(), "Date D/M/Y"),
            shown.labelChoices.end());
  EXPECT_EQ(editor.content().rows()[0], (TemplateRow{"Date", "311299"}));
  EXPECT_EQ(shown.measureBits, 34);
  ASSERT_TRUE(editor.commitLabel(0, "date m/d/y"));
  EXPECT_EQ(editor.snapshot().labels[0], "date M/D/Y");
  EXPECT_EQ(editor.snapshot().dateOrder, DateOrder::MonthDayYear);
}

TEST_F(TemplateEditorTest, saveAsWritesTheFileWithItsUserListPosition) {
  editor.chooseKind(TemplateKind::Marker);
  editor.chooseUserList("Water");
  ASSERT_TRUE(editor.commitLabel(0, "Depth"));
  ASSERT_TRUE(editor.commitDescription(0, "99"));
  user.queueSaveFile((markers() / "Deep").string());
  ASSERT_TRUE(editor.saveAs());
  const Bytes bytes = tree.read("Templates/Deep.utl");
  EXPECT_EQ(bytes, (Bytes{0x02, 0x0F, 0x9C, 0xB9, 0x00}));
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.templateName, "Deep.utl");
  EXPECT_EQ(shown.templateNames,
            (std::vector<std::string>{"Deep.utl", "GasMain.utl", "GasValve.utl", "WaterSvc.utl"}));
  ASSERT_EQ(user.events().size(), 1U);
  EXPECT_EQ(user.events()[0].kind, ScriptedUser::Kind::SaveFile);
}

TEST_F(TemplateEditorTest, templateNamesOf15CharactersAreAcceptedAnd16Refused) {
  editor.chooseKind(TemplateKind::Marker);
  user.queueSaveFile((markers() / "abcdefghijklmno.utl").string());
  EXPECT_TRUE(editor.saveAs());
  user.queueSaveFile((markers() / "ABCDEFGHIJKLMNO").string());
  EXPECT_TRUE(editor.saveAs());
  EXPECT_TRUE(std::filesystem::exists(markers() / "ABCDEFGHIJKLMNO.utl"));
  user.queueSaveFile((markers() / "abcdefghijklmnop.utl").string());
  EXPECT_FALSE(editor.saveAs());
  user.queueSaveFile((markers() / "abcdefghijklmnop").string());
  EXPECT_FALSE(editor.saveAs());
  EXPECT_EQ(user.events()[3].text, text(61395)); // the name was given with ".utl"
  EXPECT_EQ(user.events()[5].text, text(61396));
  EXPECT_FALSE(std::filesystem::exists(markers() / "abcdefghijklmnop.utl"));
  EXPECT_EQ(user.messages(),
            std::vector<std::string>(2, "Please limit template name to 15 characters or less!"));
}

TEST_F(TemplateEditorTest, overwritingAsksFirst) {
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.commitLabel(0, "Owner"));
  const Bytes before = tree.read("Templates/GasValve.utl");
  user.queueSaveFile((markers() / "GasValve.utl").string());
  user.queueAnswer(Answer::No);
  EXPECT_FALSE(editor.saveAs());
  EXPECT_EQ(tree.read("Templates/GasValve.utl"), before);
  user.queueSaveFile((markers() / "GasValve.utl").string());
  user.queueAnswer(Answer::Yes);
  EXPECT_TRUE(editor.saveAs());
  EXPECT_EQ(tree.read("Templates/GasValve.utl"), (Bytes{0x00, 0x0E, 0x40}));
  std::vector<std::string> questions;
  for (const auto &event : user.events()) {
    if (event.kind == ScriptedUser::Kind::Ask) {
      questions.push_back(event.text);
    }
  }
  EXPECT_EQ(questions, std::vector<std::string>(2, "Overwrite the existing file?"));
}

TEST_F(TemplateEditorTest, choosingANameLoadsTheRowsAndTheList) {
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.chooseTemplateName("WaterSvc.utl"));
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.templateName, "WaterSvc.utl");
  EXPECT_EQ(shown.userList, "Water");
  EXPECT_EQ(shown.labels[0], "Owner");
  EXPECT_EQ(shown.descriptions[0], "City");
  EXPECT_EQ(shown.labels[4], "Date D/M/Y");
  EXPECT_EQ(shown.descriptions[4], "150624");
  EXPECT_EQ(shown.labels[5], "");
  EXPECT_EQ(shown.remainingPercent, (192 - editor.content().measure()) * 100 / 192);
  EXPECT_TRUE(user.events().empty());
  EXPECT_FALSE(editor.chooseTemplateName("Missing.utl"));
  EXPECT_EQ(editor.snapshot().labels[0], "Owner");
}

TEST_F(TemplateEditorTest, loadingAnEightBitTemplateUnderASevenBitGlossaryWarns) {
  const Glossary &glossary = tree.workspace->glossary;
  TemplateFile file{TemplateKind::Marker, 0,
                    encodeTemplate(glossary, {{"Owner", "City"}}, 8, DateOrder::MonthDayYear,
                                   TemplateKind::Marker)
                        .bytes};
  ASSERT_TRUE(saveTemplateFile(markers() / "Wide.utl", file));
  editor.chooseKind(TemplateKind::Marker);
  ASSERT_TRUE(editor.chooseTemplateName("Wide.utl"));
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"If you save this template in English, any other language "
                                      "characters may not be saved properly."}));
  EXPECT_EQ(editor.snapshot().labels[0], "Owner");
  // The other way round: a 7-bit template under the 8-bit German glossary.
  user.clear();
  tree.workspace->useGlossaryNamed("German");
  editor.reloadGlossary();
  ASSERT_TRUE(editor.chooseTemplateName("GasValve.utl"));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{
                                 "This template was originally created in English. If you save "
                                 "it using the glossary language selected, some data may be "
                                 "lost."}));
}

TEST_F(TemplateEditorTest, browseAdoptsTheChosenFolder) {
  const auto elsewhere = tree.dir.path() / "Forms";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::copy_file(markers() / "GasValve.utl", elsewhere / "Site.utl");
  editor.chooseKind(TemplateKind::Marker);
  user.queueOpenFile((elsewhere / "Site.utl").string());
  ASSERT_TRUE(editor.browse());
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.templateName, "Site.utl");
  EXPECT_EQ(shown.templateNames, (std::vector<std::string>{"Site.utl"}));
  EXPECT_EQ(shown.userList, "Gas");
  EXPECT_EQ(shown.labels[1], "Valve");
  EXPECT_EQ(tree.workspace->state.markerFolder, elsewhere);
  EXPECT_EQ(user.events()[0].kind, ScriptedUser::Kind::OpenFile);
}

TEST_F(TemplateEditorTest, clearEmptiesTheRowsAndSelectsTheDefaultList) {
  editor.chooseKind(TemplateKind::Marker);
  fillRow(0, "Owner");
  tree.workspace->state.defaultUserList = "Water";
  ASSERT_TRUE(editor.clear());
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.labels[0], "");
  EXPECT_EQ(shown.descriptions[0], "");
  EXPECT_EQ(shown.remainingText, "100");
  EXPECT_EQ(shown.userList, "Water");
}

TEST_F(TemplateEditorTest, anOversizedTemplateLoadedFromAFileCanOnlyShrink) {
  std::vector<TemplateRow> rows(6, {"Owner", "abcdefghijklmn"});
  TemplateFile file{TemplateKind::Marker, 0,
                    encodeTemplate(tree.workspace->glossary, rows, 7, DateOrder::MonthDayYear,
                                   TemplateKind::Marker)
                        .bytes};
  ASSERT_TRUE(saveTemplateFile(markers() / "Big.utl", file));
  editor.chooseKind(TemplateKind::Marker);
  user.queueAnswer(Answer::No);
  ASSERT_TRUE(editor.chooseTemplateName("Big.utl"));
  ASSERT_EQ(user.events().size(), 1U);
  EXPECT_EQ(user.events()[0].kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(editor.snapshot().measureBits, 648);
  EXPECT_EQ(editor.snapshot().remainingText, std::to_string((192 - 648) * 100 / 192));
  EXPECT_TRUE(editor.commitDescription(5, "abc"));
  EXPECT_FALSE(editor.commitDescription(5, "abcdefghij"));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{"Out of allowed Memory for the Template"}));
  EXPECT_EQ(editor.snapshot().descriptions[5], "abc");
}

} // namespace
} // namespace tarnwick
