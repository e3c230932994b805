#include "demo_tree.h"
#include "scripted_user.h"
#include "user_list_editor.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::DemoTree;
using Bytes = std::vector<std::uint8_t>;

class UserListEditorTest : public ::testing::Test {
protected:
  UserListEditorTest() : editor(*tree.workspace, user, strings) {}

  GlossaryRef label(const char *text) const {
    return tree.workspace->glossary.findLabel(text).ref();
  }
  GlossaryRef description(const char *text) const {
    return tree.workspace->glossary.findDescription(text).ref();
  }
  std::vector<std::string> texts(const std::vector<GlossaryItem> &items) const {
    std::vector<std::string> out;
    for (const GlossaryItem &item : items) {
      out.push_back(item.text);
    }
    return out;
  }

  DemoTree tree;
  StringTable strings;
  ScriptedUser user;
  UserListEditor editor;
};

TEST_F(UserListEditorTest, startsOnANewList) {
  const auto shown = editor.snapshot();
  EXPECT_EQ(shown.lists, (std::vector<std::string>{"*New", "All", "Gas", "Water"}));
  EXPECT_EQ(shown.list, "*New");
  EXPECT_TRUE(shown.listLabels.empty());
  EXPECT_EQ(shown.allLabels.size(), tree.workspace->glossary.listLabels().size());
  EXPECT_EQ(shown.allDescriptions.size(), tree.workspace->glossary.listDescriptions().size());
}

TEST_F(UserListEditorTest, labelsAreAddedOnceAndLinkingNeedsAName) {
  EXPECT_TRUE(editor.addLabels({label("Owner"), label("Valve"), label("Owner")}));
  EXPECT_FALSE(editor.addLabels({label("Owner")}));
  EXPECT_EQ(texts(editor.snapshot().listLabels), (std::vector<std::string>{"Owner", "Valve"}));
  EXPECT_FALSE(editor.linkDescriptions({description("City")}));
  EXPECT_EQ(user.messages(), (std::vector<std::string>{
                                 "Please Name the User list(click on Save As button) before you "
                                 "link labels to descriptions."}));
}

TEST_F(UserListEditorTest, newRefusesReservedAndExistingNames) {
  user.queuePrompt("all");
  EXPECT_FALSE(editor.newList());
  user.queuePrompt("*NEW");
  EXPECT_FALSE(editor.newList());
  user.queuePrompt("");
  EXPECT_FALSE(editor.newList());
  user.queuePrompt("gas");
  EXPECT_FALSE(editor.newList());
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"Cannot Save with the name given. Please try again!",
                                      "Cannot Save with the name given. Please try again!",
                                      "Cannot Save with the name given. Please try again!",
                                      "This file already exists. Please try again!"}));
  const auto prompt = user.events()[0];
  EXPECT_EQ(prompt.kind, ScriptedUser::Kind::Prompt);
  user.clear();
  user.queuePrompt("Elec");
  ASSERT_TRUE(editor.newList());
  EXPECT_EQ(editor.list(), "Elec");
  EXPECT_TRUE(std::filesystem::exists(tree.dir.path() / "FavGlossary/Elec/Elec.fvg"));
  EXPECT_EQ(editor.snapshot().lists,
            (std::vector<std::string>{"*New", "All", "Elec", "Gas", "Water"}));
}

TEST_F(UserListEditorTest, saveWritesTheLinksAndEveryFvg) {
  user.queuePrompt("Elec");
  ASSERT_TRUE(editor.newList());
  ASSERT_TRUE(editor.addLabels({label("Owner"), label("Utility")}));
  editor.chooseLinkLabel(label("Utility"));
  ASSERT_TRUE(editor.linkDescriptions({description("Power"), description("Telephone")}));
  EXPECT_EQ(texts(editor.snapshot().linkedDescriptions),
            (std::vector<std::string>{"Power", "Telephone"}));
  EXPECT_TRUE(editor.snapshot().unsaved);
  ASSERT_TRUE(editor.save());
  EXPECT_FALSE(editor.snapshot().unsaved);
  EXPECT_EQ(tree.read("FavGlossary/Elec/Elec.fvg"), (Bytes{0x01, 0x07, 0x02, 0x07}));
  EXPECT_EQ(tree.read("FavGlossary/Elec/LabelTermData"),
            (Bytes{0x02, 0x07, 0x03, 0x0F, 0x04, 0x0F, 0xFF, 0xFF}));
  EXPECT_EQ(tree.workspace->userLists.labelsOf("Elec"),
            (std::vector<std::string>{"Owner", "Utility"}));
}

TEST_F(UserListEditorTest, atMost16LinksForALabel) {
  ASSERT_TRUE(editor.selectList("Gas"));
  editor.chooseLinkLabel(label("Owner"));
  std::vector<GlossaryRef> many;
  for (const GlossaryItem &item : editor.snapshot().allDescriptions) {
    many.push_back(item.ref);
  }
  EXPECT_TRUE(editor.linkDescriptions(many));
  EXPECT_EQ(editor.snapshot().linkedDescriptions.size(), 16U);
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"Maximum number of  links for a label is : 16"}));
}

TEST_F(UserListEditorTest, atMost88LabelsInAList) {
  Glossary &glossary = tree.workspace->glossary;
  for (const GlossaryGroup &group : kGlossaryGroups) {
    if (group.kind == EntryKind::Label) {
      for (int i = 0; i < group.count; ++i) {
        glossary.setEntry(group.code, i,
                          "L" + std::to_string(group.code) + "_" + std::to_string(i));
      }
    }
  }
  // A list read from a file may hold a reference the glossary does not list.
  tree.dir.write("FavGlossary/Odd/Odd.fvg", Bytes{0x05, 0x0E});
  tree.workspace->userLists.load();
  std::vector<GlossaryRef> all;
  for (const GlossaryItem &item : editor.snapshot().allLabels) {
    all.push_back(item.ref);
  }
  ASSERT_EQ(all.size(), 88U);
  ASSERT_TRUE(editor.selectList("Odd"));
  EXPECT_TRUE(editor.addLabels(all));
  EXPECT_EQ(editor.snapshot().listLabels.size(), 88U);
  EXPECT_EQ(editor.snapshot().listLabels.back().ref, all[86]);
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"Maximum number of items in the label glossary.. 88"}));
}

TEST_F(UserListEditorTest, leavingWithUnsavedChangesWarnsOnce) {
  ASSERT_TRUE(editor.selectList("Gas"));
  editor.removeLabels({label("Owner")});
  EXPECT_FALSE(editor.selectList("Water"));
  EXPECT_EQ(editor.list(), "Gas");
  EXPECT_EQ(user.messages(), (std::vector<std::string>{"Please click on Save Button to Save "
                                                       "changes you have made to this user list"}));
  EXPECT_TRUE(editor.selectList("Water"));
  EXPECT_EQ(editor.list(), "Water");
  EXPECT_EQ(tree.workspace->userLists.labelsOf("Gas").front(), "Owner"); // not saved
}

TEST_F(UserListEditorTest, sendNeedsANamedSavedList) {
  EXPECT_FALSE(editor.checkSend());
  ASSERT_TRUE(editor.selectList("Water"));
  editor.removeAllLabels();
  EXPECT_FALSE(editor.checkSend());
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"Please select a User List to Send",
                                      "Please click on Save Button to Save changes you have made "
                                      "to this user list"}));
  ASSERT_TRUE(editor.save());
  EXPECT_TRUE(editor.checkSend());
  EXPECT_TRUE(tree.read("FavGlossary/Water/Water.fvg").empty());
  EXPECT_TRUE(tree.read("FavGlossary/Water/LabelTermData").empty());
}

TEST_F(UserListEditorTest, saveAsOnAnExistingNameAsksToOverwrite) {
  ASSERT_TRUE(editor.selectList("Gas"));
  const Bytes water = tree.read("FavGlossary/Water/Water.fvg");
  user.queuePrompt("WATER");
  user.queueAnswer(Answer::No);
  EXPECT_FALSE(editor.saveAs());
  EXPECT_EQ(tree.read("FavGlossary/Water/Water.fvg"), water);
  user.queuePrompt("water");
  user.queueAnswer(Answer::Yes);
  ASSERT_TRUE(editor.saveAs());
  EXPECT_EQ(editor.list(), "Water");
  EXPECT_EQ(tree.read("FavGlossary/Water/Water.fvg"), tree.read("FavGlossary/Gas/Gas.fvg"));
  EXPECT_EQ(tree.read("FavGlossary/Water/LabelTermData"),
            tree.read("FavGlossary/Gas/LabelTermData"));
  EXPECT_EQ(user.events()[1].text, "User List already exists. Overwrite?");
}

TEST_F(UserListEditorTest, allKeepsItsLabelsButItsLinksCanBeEdited) {
  ASSERT_TRUE(editor.selectList("All"));
  EXPECT_FALSE(editor.snapshot().labelsEditable);
  EXPECT_FALSE(editor.addLabels({label("Owner")}));
  editor.chooseLinkLabel(label("Valve"));
  ASSERT_TRUE(editor.linkDescriptions({description("Gate Valve")}));
  ASSERT_TRUE(editor.save());
  const Bytes links = tree.read("FavGlossary/LabelTermData");
  const Bytes valve = {0x00, 0x09, 0x00, 0x12, 0xFF, 0xFF};
  EXPECT_NE(std::search(links.begin(), links.end(), valve.begin(), valve.end()), links.end());
  EXPECT_FALSE(std::filesystem::exists(tree.dir.path() / "FavGlossary/All"));
}

} // namespace
} // namespace tarnwick
