#include "marker_rig.h"
#include "prompt_dialog.h"
#include "qt_user_port.h"
#include "user_list_page.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

using testing::choose;
using testing::control;
using testing::itemsOf;
using testing::MarkerRig;
using testing::select;
using Bytes = std::vector<std::uint8_t>;

const std::string kNameFirst =
    "Please Name the User list(click on Save As button) before you link labels to descriptions.";
const std::string kCannotSave = "Cannot Save with the name given. Please try again!";

struct PageRig : MarkerRig {
  PageRig() : page(session->templates(), user, app.context().strings) {
    page.resize(900, 700);
    page.show();
  }

  QComboBox &box(int id) { return *control<QComboBox>(page, id); }
  QListWidget &list(int id) { return *control<QListWidget>(page, id); }
  QPushButton &button(int id) { return *control<QPushButton>(page, id); }
  void click(int id) { QTest::mouseClick(&button(id), Qt::LeftButton); }

  UserListPage page;
};

TEST(UserListPage, opensOnANewListBesideTheWholeGlossary) {
  PageRig rig;
  EXPECT_EQ(itemsOf(rig.box(1159)), (QStringList{"*New", "All", "Gas", "Water"}));
  EXPECT_EQ(rig.box(1159).currentText(), "*New");
  const QStringList labels = itemsOf(rig.list(1160));
  EXPECT_TRUE(labels.contains("Owner"));
  EXPECT_TRUE(labels.contains("Crew ID")); // a user label
  EXPECT_FALSE(labels.contains("UserEdit"));
  EXPECT_TRUE(itemsOf(rig.list(1162)).contains("Gate Valve"));
  EXPECT_EQ(rig.list(1063).count(), 0);
  EXPECT_EQ(rig.box(1205).count(), 0);
  EXPECT_TRUE(rig.button(1045).isEnabled());
  for (const auto &[id, text] : std::vector<std::pair<int, QString>>{{1143, ">>"},
                                                                     {1151, "Remove"},
                                                                     {1145, "Remove &All"},
                                                                     {1144, ">>"},
                                                                     {1152, "Remove"},
                                                                     {1146, "Remove &All"},
                                                                     {1112, "&New"},
                                                                     {1111, "&Save"},
                                                                     {3, "Save &As"},
                                                                     {1045, "Send to Receiver"}}) {
    EXPECT_EQ(rig.button(id).text(), text) << id;
  }
}

TEST(UserListPage, addsTheSelectedLabelsOnceEach) {
  PageRig rig;
  ASSERT_TRUE(select(rig.list(1160), {"Valve", "Owner"}));
  rig.click(1143);
  EXPECT_EQ(itemsOf(rig.list(1063)), (QStringList{"Owner", "Valve"}));
  EXPECT_EQ(itemsOf(rig.box(1205)), (QStringList{"Owner", "Valve"}));
  EXPECT_EQ(rig.box(1205).currentText(), "Owner");
  ASSERT_TRUE(select(rig.list(1160), {"Owner", "Depth"}));
  rig.click(1143);
  EXPECT_EQ(itemsOf(rig.list(1063)), (QStringList{"Owner", "Valve", "Depth"}));
  ASSERT_TRUE(select(rig.list(1063), {"Valve"}));
  rig.click(1151);
  EXPECT_EQ(itemsOf(rig.list(1063)), (QStringList{"Owner", "Depth"}));
  rig.click(1145);
  EXPECT_EQ(rig.list(1063).count(), 0);
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(UserListPage, linkingBeforeTheListHasANameIsRefused) {
  PageRig rig;
  ASSERT_TRUE(select(rig.list(1160), {"Valve"}));
  rig.click(1143);
  ASSERT_TRUE(select(rig.list(1162), {"Gate Valve"}));
  rig.click(1144);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kNameFirst});
  EXPECT_EQ(rig.list(1064).count(), 0);
}

TEST(UserListPage, allInAnyCaseIsRefusedAsAName) {
  PageRig rig;
  for (const char *name : {"all", "ALL", "*new"}) {
    rig.user.queuePrompt(std::string(name));
  }
  rig.click(3);
  rig.click(3);
  rig.click(1112);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>(3, kCannotSave));
  EXPECT_EQ(itemsOf(rig.box(1159)), (QStringList{"*New", "All", "Gas", "Water"}));
  EXPECT_FALSE(std::filesystem::exists(rig.at("FavGlossary/all")));
}

TEST(UserListPage, aSavedListWithLinksIsWrittenByteForByte) {
  PageRig rig;
  ASSERT_TRUE(select(rig.list(1160), {"Owner", "Valve"}));
  rig.click(1143);
  rig.user.queuePrompt(std::string("Pipe"));
  rig.click(3);
  EXPECT_EQ(rig.box(1159).currentText(), "Pipe");
  EXPECT_TRUE(itemsOf(rig.box(1159)).contains("Pipe"));
  // Owner is 7/1, Valve 9/0: little-endian 16-bit references.
  EXPECT_EQ(rig.bytes("FavGlossary/Pipe/Pipe.fvg"), (Bytes{0x01, 0x07, 0x00, 0x09}));

  ASSERT_TRUE(choose(rig.box(1205), "Valve"));
  ASSERT_TRUE(select(rig.list(1162), {"Gate Valve", "Ball Valve"}));
  rig.click(1144);
  EXPECT_EQ(itemsOf(rig.list(1064)), (QStringList{"Gate Valve", "Ball Valve"}));
  rig.click(1111);
  ASSERT_EQ(rig.user.events().size(), 1U); // the name prompt only
  EXPECT_EQ(rig.user.events()[0].kind, ScriptedUser::Kind::Prompt);
  // Owner has no links and is not written; Valve, Gate Valve 18/0, Ball Valve 18/1, end.
  EXPECT_EQ(rig.bytes("FavGlossary/Pipe/LabelTermData"),
            (Bytes{0x00, 0x09, 0x00, 0x12, 0x01, 0x12, 0xFF, 0xFF}));

  ASSERT_TRUE(select(rig.list(1064), {"Gate Valve"}));
  rig.click(1152);
  EXPECT_EQ(itemsOf(rig.list(1064)), (QStringList{"Ball Valve"}));
  rig.click(1146);
  EXPECT_EQ(rig.list(1064).count(), 0);
}

TEST(UserListPage, theWholeGlossaryCannotHaveItsLabelsChanged) {
  PageRig rig;
  ASSERT_TRUE(choose(rig.box(1159), "All"));
  for (int id : {1143, 1151, 1145}) {
    EXPECT_FALSE(rig.button(id).isEnabled()) << id;
  }
  EXPECT_EQ(itemsOf(rig.list(1063)), itemsOf(rig.list(1160)));
  ASSERT_TRUE(choose(rig.box(1159), "Gas"));
  EXPECT_TRUE(rig.button(1143).isEnabled());
  EXPECT_EQ(rig.list(1063).count(), 9);
  EXPECT_EQ(rig.box(1205).currentText(), "Owner");
  ASSERT_TRUE(choose(rig.box(1205), "Material"));
  EXPECT_EQ(itemsOf(rig.list(1064)), (QStringList{"PE", "Steel", "Cast Iron"}));
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(UserListPage, leavingAChangedListAsksToSaveFirst) {
  PageRig rig;
  ASSERT_TRUE(choose(rig.box(1159), "Water"));
  ASSERT_TRUE(select(rig.list(1063), {"Meter"}));
  rig.click(1151);
  QTest::keyClick(&rig.box(1159), Qt::Key_Up); // towards "Gas"
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Please click on Save Button to Save changes you have made "
                                     "to this user list"});
  EXPECT_EQ(rig.box(1159).currentText(), "Water");
}

TEST(UserListPage, theNameDialogAsksForANewList) {
  QtUserPort port(QStringLiteral("Tarnwick"));
  MarkerRig rig(&port);
  UserListPage page(rig.session->templates(), port, rig.app.context().strings);
  page.show();
  QString prompt;
  testing::ModalResponder responder([&](QWidget &modal) {
    EXPECT_EQ(modal.objectName(), "235");
    prompt = modal.findChild<QLabel *>()->text();
    auto &dialog = dynamic_cast<PromptDialog &>(modal);
    QTest::keyClicks(dialog.field(), "Sewers");
    EXPECT_EQ(dialog.text(), "Sewer"); // five characters at most
    control<QPushButton>(modal, 1)->click();
  });
  QTest::mouseClick(control<QPushButton>(page, 1112), Qt::LeftButton);
  EXPECT_TRUE(responder.handled());
  EXPECT_EQ(prompt, "Enter a User List name less than 5 chars");
  EXPECT_EQ(control<QComboBox>(page, 1159)->currentText(), "Sewer");
  EXPECT_TRUE(std::filesystem::exists(rig.at("FavGlossary/Sewer/Sewer.fvg")));
}

} // namespace
} // namespace tarnwick::ui
