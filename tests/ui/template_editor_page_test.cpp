#include "marker_rig.h"
#include "qt_user_port.h"
#include "template_editor_page.h"
#include "template_file.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

using testing::choose;
using testing::control;
using testing::itemsOf;
using testing::MarkerRig;
using testing::type;
using Editor = TemplateEditor;

const std::string kLabelTooLong = "Label can have Max. 8 Chars";
const std::string kSelectType = "Please select the type of Templates to Create/Edit";
const std::string kOutOfMemory = "Out of allowed Memory for the Template";
const std::string kXTypeQuestion = "Reached Standard template memory size. If X-Type Marker "
                                   "Template, continue with editing the template.";
const std::string kNameTooLong = "Please limit template name to 15 characters or less!";

struct PageRig : MarkerRig {
  PageRig() : page(session->templateEditor(), app.context().strings) { page.show(); }

  QComboBox &box(int id) { return *control<QComboBox>(page, id); }
  QComboBox &label(std::size_t row) { return box(Editor::kLabelBoxes[row]); }
  QComboBox &description(std::size_t row) { return box(Editor::kDescriptionBoxes[row]); }
  QLabel &text(int id) { return *control<QLabel>(page, id); }
  void click(int id) { QTest::mouseClick(control<QAbstractButton>(page, id), Qt::LeftButton); }
  std::filesystem::path markers() const { return at("Templates"); }

  TemplateEditorPage page;
};

TEST(TemplateEditorPage, startsWithNoKindAndEveryRowDisabled) {
  PageRig rig;
  EXPECT_FALSE(control<QRadioButton>(rig.page, 1005)->isChecked());
  EXPECT_FALSE(control<QRadioButton>(rig.page, 1006)->isChecked());
  EXPECT_EQ(control<QRadioButton>(rig.page, 1005)->text(), "Tq Marker Templates");
  EXPECT_EQ(control<QRadioButton>(rig.page, 1006)->text(), "Trace Templates");
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    EXPECT_FALSE(rig.label(row).isEnabled());
    EXPECT_FALSE(rig.description(row).isEnabled());
    EXPECT_EQ(rig.label(row).currentText(), "");
  }
  EXPECT_FALSE(rig.box(1188).isEnabled());
  for (int id : {1248, 1105, 1249}) {
    EXPECT_FALSE(rig.text(id).isVisible()) << id;
  }
  rig.click(1112);
  rig.click(3);
  rig.click(1110);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>(3, kSelectType));
  EXPECT_FALSE(control<QPushButton>(rig.page, 1193)->isEnabled()); // no download in this version
}

TEST(TemplateEditorPage, markerTemplatesEnableTheRowsAndShowTheMemory) {
  PageRig rig;
  rig.click(1005);
  EXPECT_TRUE(control<QRadioButton>(rig.page, 1005)->isChecked());
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    EXPECT_TRUE(rig.label(row).isEnabled());
    EXPECT_TRUE(rig.description(row).isEnabled());
  }
  EXPECT_TRUE(rig.text(1248).isVisible());
  EXPECT_EQ(rig.text(1248).text(), "Memory usage for this template      :");
  EXPECT_EQ(rig.text(1105).text(), "100");
  EXPECT_EQ(rig.text(1249).text(), "% Remaining");
  EXPECT_EQ(itemsOf(rig.box(1188)), (QStringList{"GasMain.utl", "GasValve.utl", "WaterSvc.utl"}));
  EXPECT_EQ(rig.box(1188).currentIndex(), -1);
  EXPECT_EQ(rig.box(1188).placeholderText(), "untitled.utl");
  EXPECT_EQ(itemsOf(rig.box(1153)), (QStringList{"All", "Gas", "Water"}));
  EXPECT_EQ(rig.box(1153).currentText(), "All");
  const QStringList labels = itemsOf(rig.label(0));
  EXPECT_TRUE(labels.contains("Date M/D/Y"));
  EXPECT_TRUE(labels.contains("Svc Line"));
  EXPECT_FALSE(labels.contains("UserEdit"));
  EXPECT_EQ(itemsOf(rig.label(5)), labels);
}

TEST(TemplateEditorPage, traceTemplatesHideTheMemory) {
  PageRig rig;
  rig.click(1005);
  rig.click(1006);
  EXPECT_FALSE(control<QRadioButton>(rig.page, 1005)->isChecked());
  EXPECT_TRUE(control<QRadioButton>(rig.page, 1006)->isChecked());
  for (int id : {1248, 1105, 1249}) {
    EXPECT_FALSE(rig.text(id).isVisible()) << id;
  }
  EXPECT_EQ(itemsOf(rig.box(1188)), (QStringList{"Fiber.utl", "MainRun.utl"}));
}

// Typing stops at a label's 8 characters and a description's 14, and the
// counter under the column says how many are left, instead of a message
// after the fact. A date label's order suffix does not count.
TEST(TemplateEditorPage, typingStopsAtTheLimitAndTheCounterSaysWhatIsLeft) {
  PageRig rig;
  rig.page.show();
  rig.click(1005);
  QLabel &labelsLeft = *rig.page.findChild<QLabel *>(QStringLiteral("labelCharactersLeft"));
  QLabel &descriptionsLeft =
      *rig.page.findChild<QLabel *>(QStringLiteral("descriptionCharactersLeft"));
  rig.label(0).lineEdit()->setFocus();
  QTest::keyClicks(rig.label(0).lineEdit(), "Own");
  EXPECT_EQ(labelsLeft.text(), "5 characters left");
  EXPECT_FALSE(labelsLeft.isHidden());
  type(rig.label(0), "Ownership");
  EXPECT_EQ(rig.label(0).currentText(), "Ownershi");
  EXPECT_EQ(rig.page.logic().snapshot().labels[0], "Ownershi");
  rig.label(1).lineEdit()->setFocus();
  type(rig.label(1), "Date D/M/Y");
  EXPECT_EQ(rig.page.logic().snapshot().labels[1], "Date D/M/Y");
  rig.description(0).lineEdit()->setFocus();
  type(rig.description(0), "fifteen chars..");
  EXPECT_EQ(rig.description(0).currentText(), "fifteen chars.");
  EXPECT_EQ(descriptionsLeft.text(), "0 characters left");
  EXPECT_TRUE(labelsLeft.isHidden());
  EXPECT_EQ(rig.page.logic().snapshot().descriptions[0], "fifteen chars.");
  EXPECT_TRUE(rig.user.messages().empty()) << ::testing::PrintToString(rig.user.messages());
}

TEST(TemplateEditorPage, anEditOverTheAllowedMemoryPutsThePreviousTextBack) {
  PageRig rig;
  rig.click(1005);
  // "Owner" is a glossary label (10 bits), 14 letters a literal (98 bits).
  type(rig.label(0), "Owner");
  type(rig.description(0), "abcdefghijklmn");
  EXPECT_EQ(rig.text(1105).text(), QString::number((192 - 108) * 100 / 192));
  type(rig.label(1), "Utility");
  type(rig.description(1), "Southeast"); // a glossary description: 11 bits
  const QString before = rig.text(1105).text();
  EXPECT_EQ(before, QString::number((192 - 129) * 100 / 192));
  // The X-type question is answered No: 192 bits stay the limit.
  type(rig.description(1), "abcdefghijklmn");
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 2U);
  EXPECT_EQ(events[0].kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(events[0].text, kXTypeQuestion);
  EXPECT_EQ(events[1].text, kOutOfMemory);
  EXPECT_EQ(rig.description(1).currentText(), "Southeast");
  EXPECT_EQ(rig.page.logic().snapshot().descriptions[1], "Southeast");
  EXPECT_EQ(rig.text(1105).text(), before);
}

TEST(TemplateEditorPage, answeringYesForAnXTypeMarkerAllowsTheEdit) {
  PageRig rig;
  rig.click(1005);
  type(rig.label(0), "Owner");
  type(rig.description(0), "abcdefghijklmn");
  type(rig.label(1), "Utility");
  rig.user.queueAnswer(Answer::Yes);
  type(rig.description(1), "abcdefghijklmn");
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{});
  EXPECT_EQ(rig.description(1).currentText(), "abcdefghijklmn");
  EXPECT_EQ(rig.text(1105).text(), QString::number((896 - 216) * 100 / 896));
}

TEST(TemplateEditorPage, leavingABoxCommitsItsText) {
  PageRig rig;
  rig.page.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.page));
  rig.click(1005);
  rig.label(0).lineEdit()->setFocus();
  QTest::keyClicks(rig.label(0).lineEdit(), "Valve");
  EXPECT_EQ(rig.page.logic().snapshot().labels[0], "");
  rig.description(0).lineEdit()->setFocus();
  EXPECT_EQ(rig.page.logic().snapshot().labels[0], "Valve");
  QTest::keyClicks(rig.description(0).lineEdit(), "Ball Valve");
  rig.label(1).lineEdit()->setFocus();
  EXPECT_EQ(rig.page.logic().snapshot().descriptions[0], "Ball Valve");
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(TemplateEditorPage, browsingToAnotherFolderListsItsTemplates) {
  PageRig rig;
  rig.click(1005);
  const std::filesystem::path forms = rig.at("Forms");
  std::filesystem::create_directories(forms);
  std::filesystem::copy_file(rig.markers() / "WaterSvc.utl", forms / "Water2.utl");
  rig.user.queueOpenFile((forms / "Water2.utl").string());
  rig.click(1110);
  ASSERT_EQ(rig.user.events().size(), 1U);
  EXPECT_EQ(rig.user.events()[0].kind, ScriptedUser::Kind::OpenFile);
  EXPECT_EQ(itemsOf(rig.box(1188)), (QStringList{"Water2.utl"}));
  EXPECT_EQ(rig.box(1188).currentText(), "Water2.utl");
  EXPECT_EQ(rig.box(1153).currentText(), "Water");
  EXPECT_EQ(rig.label(0).currentText(), "Owner");
  EXPECT_EQ(rig.label(4).currentText(), "Date D/M/Y");
  EXPECT_EQ(rig.description(4).currentText(), "150624");
  EXPECT_EQ(rig.session->templates().state.markerFolder, forms);
}

TEST(TemplateEditorPage, aLabelListsItsLinkedDescriptionsAndShowAllListsEvery) {
  PageRig rig;
  rig.click(1005);
  ASSERT_TRUE(choose(rig.box(1153), "Gas"));
  EXPECT_EQ(rig.page.logic().snapshot().userList, "Gas");
  EXPECT_EQ(itemsOf(rig.label(0)).size(), 9); // the Gas list's labels
  ASSERT_TRUE(choose(rig.label(2), "Material"));
  EXPECT_EQ(rig.label(2).currentText(), "Material");
  EXPECT_EQ(itemsOf(rig.description(2)), (QStringList{"PE", "Steel", "Cast Iron", "*ShowAll"}));
  ASSERT_TRUE(choose(rig.description(2), "*ShowAll"));
  EXPECT_EQ(rig.description(2).currentText(), "");
  const QStringList every = itemsOf(rig.description(2));
  EXPECT_GT(every.size(), 100);
  EXPECT_TRUE(every.contains("Gate Valve"));
  ASSERT_TRUE(choose(rig.description(2), "Ductile Iron"));
  EXPECT_EQ(rig.page.logic().snapshot().descriptions[2], "Ductile Iron");
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(TemplateEditorPage, choosingATemplateNameShowsItsRowsAndList) {
  PageRig rig;
  rig.click(1005);
  ASSERT_TRUE(choose(rig.box(1188), "GasValve.utl"));
  EXPECT_EQ(rig.box(1153).currentText(), "Gas");
  const QStringList labels{"Utility", "Valve", "Size", "Depth", "Date M/D/Y", ""};
  const QStringList descriptions{"Gas", "Gate Valve", "2 in", "42", "061524", ""};
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    EXPECT_EQ(rig.label(row).currentText(), labels[static_cast<int>(row)]) << row;
    EXPECT_EQ(rig.description(row).currentText(), descriptions[static_cast<int>(row)]) << row;
  }
  EXPECT_EQ(rig.box(1188).currentText(), "GasValve.utl");
  EXPECT_TRUE(rig.user.events().empty());
}

TEST(TemplateEditorPage, saveAsTakesFifteenCharactersAndRefusesSixteen) {
  PageRig rig;
  rig.click(1005);
  type(rig.label(0), "Owner");
  type(rig.description(0), "City");
  rig.user.queueSaveFile((rig.markers() / "ABCDEFGHIJKLMNOP.utl").string());
  rig.click(3);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kNameTooLong});
  EXPECT_FALSE(std::filesystem::exists(rig.markers() / "ABCDEFGHIJKLMNOP.utl"));
  EXPECT_EQ(rig.box(1188).placeholderText(), "untitled.utl");

  rig.user.clear();
  rig.user.queueSaveFile((rig.markers() / "ABCDEFGHIJKLMNO").string());
  rig.click(3);
  EXPECT_TRUE(rig.user.messages().empty());
  const auto saved =
      loadTemplate(rig.markers() / "ABCDEFGHIJKLMNO.utl", TemplateKind::Marker,
                   rig.session->templates().glossary, rig.session->templates().userLists);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->userList, "All");
  ASSERT_FALSE(saved->content.rows.empty());
  EXPECT_EQ(saved->content.rows[0].label, "Owner");
  EXPECT_EQ(saved->content.rows[0].description, "City");
  EXPECT_EQ(rig.box(1188).currentText(), "ABCDEFGHIJKLMNO.utl");
  EXPECT_TRUE(itemsOf(rig.box(1188)).contains("ABCDEFGHIJKLMNO.utl"));
}

TEST(TemplateEditorPage, saveAsOverAnExistingFileAsksFirst) {
  PageRig rig;
  rig.click(1005);
  const auto original = rig.bytes("Templates/GasValve.utl");
  type(rig.label(0), "Owner");
  rig.user.queueSaveFile((rig.markers() / "GasValve.utl").string());
  rig.user.queueAnswer(Answer::No);
  rig.click(3);
  const auto events = rig.user.events();
  ASSERT_EQ(events.size(), 2U);
  EXPECT_EQ(events[0].kind, ScriptedUser::Kind::SaveFile);
  EXPECT_EQ(events[1].kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(events[1].text, "Overwrite the existing file?");
  EXPECT_EQ(rig.bytes("Templates/GasValve.utl"), original);

  rig.user.queueSaveFile((rig.markers() / "GasValve.utl").string());
  rig.user.queueAnswer(Answer::Yes);
  rig.click(3);
  EXPECT_NE(rig.bytes("Templates/GasValve.utl"), original);
  EXPECT_EQ(rig.box(1188).currentText(), "GasValve.utl");
}

TEST(TemplateEditorPage, aRefusalReachesTheUserInAMessageBox) {
  QtUserPort port(QStringLiteral("Tarnwick"));
  MarkerRig rig(&port);
  TemplateEditorPage page(rig.session->templateEditor(), rig.app.context().strings);
  page.show();
  QTest::mouseClick(control<QRadioButton>(page, 1005), Qt::LeftButton);
  QComboBox &label = *control<QComboBox>(page, 1106);
  type(label, "Owner");
  QString shown;
  testing::ModalResponder responder([&](QWidget &modal) {
    shown = dynamic_cast<QMessageBox &>(modal).text();
    dynamic_cast<QMessageBox &>(modal).button(QMessageBox::Ok)->click();
  });
  // Too long for the box, as another front end could hand it on.
  EXPECT_FALSE(page.logic().commitLabel(0, "Ownership"));
  EXPECT_TRUE(responder.handled());
  EXPECT_EQ(shown.toStdString(), kLabelTooLong);
  page.refresh();
  EXPECT_EQ(label.currentText(), "Owner");
}

} // namespace
} // namespace tarnwick::ui
