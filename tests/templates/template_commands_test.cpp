#include "demo_tree.h"
#include "scripted_user.h"
#include "template_commands.h"
#include "template_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnwick {
namespace {

using testing::DemoTree;
using Bytes = std::vector<std::uint8_t>;

class TemplateCommandsTest : public ::testing::Test {
protected:
  CommandStreams io() { return {out, err, user, strings}; }
  TemplateMakeRequest request(std::vector<std::string> rows, const std::string &file) {
    TemplateMakeRequest made;
    made.rows = std::move(rows);
    made.output = tree.dir.path() / "Templates" / file;
    return made;
  }

  DemoTree tree;
  StringTable strings;
  ScriptedUser user;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(TemplateCommandsTest, makeWritesAMarkerTemplate) {
  TemplateMakeRequest made = request({"Owner=City", "Depth=99"}, "Site");
  made.userList = "water";
  ASSERT_EQ(makeTemplate(*tree.workspace, made, io()), 0) << err.str();
  const Bytes expected = templateFileBytes(
      {TemplateKind::Marker, 2,
       encodeTemplate(tree.workspace->glossary, {{"Owner", "City"}, {"Depth", "99"}}, 7,
                      DateOrder::MonthDayYear, TemplateKind::Marker)
           .bytes});
  EXPECT_EQ(tree.read("Templates/Site.utl"), expected);
  EXPECT_EQ(out.str(),
            (tree.dir.path() / "Templates/Site.utl").string() + ": 44 bits, 77% Remaining\n");
  EXPECT_TRUE(user.events().empty());
}

TEST_F(TemplateCommandsTest, makeATraceTemplateWithADayMonthYearDate) {
  TemplateMakeRequest made = request({"Date=311299", "=loose end"}, "Run.utl");
  made.kind = TemplateKind::Trace;
  made.dateOrder = DateOrder::DayMonthYear;
  ASSERT_EQ(makeTemplate(*tree.workspace, made, io()), 0);
  const Bytes bytes = tree.read("Templates/Run.utl");
  ASSERT_GE(bytes.size(), 2U);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0x00);
  out.str("");
  ASSERT_EQ(showTemplate(*tree.workspace, tree.dir.path() / "Templates/Run.utl", TemplateKind::None,
                         io()),
            0);
  EXPECT_EQ(out.str(), "kind: trace\nuser list: All\nwidth: 7\nDate : 311299\n. : loose end\n");
}

TEST_F(TemplateCommandsTest, makeRefusesWithTheEditorsMessages) {
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Ownership=City"}, "A"), io()), 1);
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Owner=fifteen chars.."}, "A"), io()), 1);
  const std::vector<std::string> full = {"Owner=abcdefghijklmn", "Utility=abcdefghijklmn"};
  EXPECT_EQ(makeTemplate(*tree.workspace, request(full, "A"), io()), 1);
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Owner=City"}, "abcdefghijklmnop.utl"), io()),
            1);
  EXPECT_EQ(
      user.messages(),
      (std::vector<std::string>{"Label can have Max. 8 Chars", "Description can have Max. 14 Chars",
                                "Out of allowed Memory for the Template",
                                "Please limit template name to 15 characters or less!"}));
  EXPECT_FALSE(std::filesystem::exists(tree.dir.path() / "Templates/A.utl"));
  TemplateMakeRequest extended = request(full, "abcdefghijklmno.utl");
  extended.xType = true;
  EXPECT_EQ(makeTemplate(*tree.workspace, extended, io()), 0);
  TemplateMakeRequest trace = request(full, "T");
  trace.kind = TemplateKind::Trace;
  EXPECT_EQ(makeTemplate(*tree.workspace, trace, io()), 0);
}

TEST_F(TemplateCommandsTest, makeRefusesUsageErrors) {
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Owner"}, "A"), io()), 2);
  EXPECT_EQ(
      makeTemplate(*tree.workspace, request(std::vector<std::string>(7, "Owner=City"), "A"), io()),
      2);
  TemplateMakeRequest unknown = request({"Owner=City"}, "A");
  unknown.glossary = "Klingon";
  EXPECT_EQ(makeTemplate(*tree.workspace, unknown, io()), 2);
  TemplateMakeRequest lost = request({"Owner=City"}, "A");
  lost.userList = "Elec";
  EXPECT_EQ(makeTemplate(*tree.workspace, lost, io()), 1);
  EXPECT_FALSE(std::filesystem::exists(tree.dir.path() / "Templates/A.utl"));
}

TEST_F(TemplateCommandsTest, anExistingFileIsReplacedOnlyOnYes) {
  const Bytes before = tree.read("Templates/GasValve.utl");
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Owner=City"}, "GasValve"), io()), 1);
  EXPECT_EQ(tree.read("Templates/GasValve.utl"), before);
  user.queueAnswer(Answer::Yes);
  EXPECT_EQ(makeTemplate(*tree.workspace, request({"Owner=City"}, "GasValve"), io()), 0);
  EXPECT_NE(tree.read("Templates/GasValve.utl"), before);
  EXPECT_EQ(user.events()[0].text, "Overwrite the existing file?");
}

TEST_F(TemplateCommandsTest, theGlossaryOptionChoosesTheLanguageAndItsWidth) {
  TemplateMakeRequest made = request({"Besitzer=Stadtwerke", "Gr\xC3\xB6\xC3\x9F"
                                                             "e=3"},
                                     "De");
  made.glossary = "german";
  ASSERT_EQ(makeTemplate(*tree.workspace, made, io()), 0) << err.str();
  out.str("");
  ASSERT_EQ(showTemplate(*tree.workspace, tree.dir.path() / "Templates/De.utl",
                         TemplateKind::Marker, io()),
            0);
  EXPECT_EQ(out.str(), "kind: marker\nuser list: All\nwidth: 8\nBesitzer : Stadtwerke\n"
                       "Gr\xC3\xB6\xC3\x9F"
                       "e : 3\n");
}

TEST_F(TemplateCommandsTest, showReadsTheDemoTemplates) {
  ASSERT_EQ(showTemplate(*tree.workspace, tree.dir.path() / "Templates/WaterSvc.utl",
                         TemplateKind::None, io()),
            0);
  EXPECT_EQ(out.str(), "kind: marker\nuser list: Water\nwidth: 7\nOwner : City\n"
                       "Svc Line : Service Line\nMaterial : Copper\nJob No : 20417\n"
                       "Date : 150624\n");
  EXPECT_EQ(showTemplate(*tree.workspace, tree.dir.path() / "Templates/None.utl",
                         TemplateKind::None, io()),
            1);
}

TEST_F(TemplateCommandsTest, userListOperations) {
  ASSERT_EQ(createUserList(*tree.workspace, "Elec", io()), 0);
  EXPECT_EQ(createUserList(*tree.workspace, "elec", io()), 1);
  EXPECT_EQ(createUserList(*tree.workspace, "all", io()), 1);
  ASSERT_EQ(addToUserList(*tree.workspace, "Elec", {"Utility", "owner", "Utility"}, io()), 0);
  EXPECT_EQ(addToUserList(*tree.workspace, "All", {"Owner"}, io()), 1);
  EXPECT_EQ(addToUserList(*tree.workspace, "Elec", {"Nonsense"}, io()), 1);
  ASSERT_EQ(linkInUserList(*tree.workspace, "Elec", "Utility", {"Power", "Telephone"}, io()), 0);
  EXPECT_EQ(linkInUserList(*tree.workspace, "Elec", "Valve", {"Power"}, io()), 1);
  EXPECT_EQ(tree.read("FavGlossary/Elec/Elec.fvg"), (Bytes{0x02, 0x07, 0x01, 0x07}));
  EXPECT_EQ(tree.read("FavGlossary/Elec/LabelTermData"),
            (Bytes{0x02, 0x07, 0x03, 0x0F, 0x04, 0x0F, 0xFF, 0xFF}));
  out.str("");
  ASSERT_EQ(showUserList(*tree.workspace, "elec", io()), 0);
  EXPECT_EQ(out.str(), "Utility : Power, Telephone\nOwner\n");
  out.str("");
  ASSERT_EQ(listUserLists(*tree.workspace, io()), 0);
  EXPECT_EQ(out.str(), "All\nElec\nGas\nWater\n");
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"This file already exists. Please try again!",
                                      "Cannot Save with the name given. Please try again!",
                                      "Cannot Save with the name given. Please try again!"}));
}

TEST_F(TemplateCommandsTest, linksAreLimitedTo16) {
  std::vector<std::string> descriptions;
  for (const std::string &text : tree.workspace->glossary.listDescriptions()) {
    if (descriptions.size() < 17) {
      descriptions.push_back(text);
    }
  }
  EXPECT_EQ(linkInUserList(*tree.workspace, "All", "Owner", descriptions, io()), 1);
  EXPECT_EQ(user.messages(),
            (std::vector<std::string>{"Maximum number of  links for a label is : 16"}));
}

} // namespace
} // namespace tarnwick
