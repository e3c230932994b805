#include "help_viewer_page.h"
#include "main_screen_window.h"
#include "marker_rig.h"
#include "marker_utility_window.h"
#include "template_editor_page.h"
#include "user_list_page.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

namespace fs = std::filesystem;
using testing::choose;
using testing::control;
using testing::itemsOf;
using testing::MarkerRig;
using testing::type;
using Bytes = std::vector<std::uint8_t>;

const QString kSize =
    QString::fromUtf8("Gr\u00f6\u00dfe"); // a Latin-1 label of the German glossary

TEST(MarkerUtilityWindow, showsItsPagesInOrderUnderTheGlossaryLanguage) {
  MarkerRig rig;
  MarkerUtilityWindow window(*rig.session);
  EXPECT_EQ(window.windowTitle(), "GPS/Tq Marker Utility");
  QTabWidget &tabs = *window.tabs();
  ASSERT_EQ(tabs.count(), 4);
  EXPECT_EQ(tabs.tabText(0), "Set up Favorite User List");
  EXPECT_EQ(tabs.tabText(1), "Create/Edit Templates");
  EXPECT_EQ(tabs.tabText(2), "Xfer Saved data");
  EXPECT_EQ(tabs.tabText(3), "Help");
  EXPECT_EQ(tabs.widget(0)->objectName(), "233");
  EXPECT_EQ(tabs.widget(1)->objectName(), "216");
  EXPECT_EQ(tabs.widget(2)->objectName(), "transferSavedData");
  EXPECT_EQ(tabs.widget(3)->objectName(), "264");
  EXPECT_EQ(itemsOf(*window.glossaryLanguage()), (QStringList{"English", "German"}));
  EXPECT_EQ(window.glossaryLanguage()->currentText(), "English");
  EXPECT_EQ(control<QPushButton>(window, 1)->text(), "E&xit");
}

TEST(MarkerUtilityWindow, aNewGlossaryLanguageReachesEveryPageAndExitKeepsIt) {
  MarkerRig rig;
  {
    MarkerUtilityWindow window(*rig.session);
    window.show();
    TemplateEditorPage &templates = *window.templatePage();
    QTest::mouseClick(control<QRadioButton>(templates, 1005), Qt::LeftButton);
    ASSERT_TRUE(itemsOf(*control<QComboBox>(templates, 1106)).contains("Owner"));

    ASSERT_TRUE(choose(*window.glossaryLanguage(), "German"));
    EXPECT_EQ(rig.session->templates().glossaryChoice().language, "German");
    EXPECT_EQ(rig.session->templates().width(), 8);
    const QStringList labels = itemsOf(*control<QComboBox>(templates, 1106));
    EXPECT_TRUE(labels.contains(kSize));
    EXPECT_FALSE(labels.contains("Owner"));
    EXPECT_TRUE(itemsOf(*control<QListWidget>(*window.userListPage(), 1160)).contains("Besitzer"));
    EXPECT_TRUE(itemsOf(*control<QListWidget>(*window.userListPage(), 1162)).contains("Wasser"));
    // A German label with a character beyond ASCII is committed as the glossary holds it.
    QComboBox &label = *control<QComboBox>(templates, 1106);
    ASSERT_TRUE(choose(label, kSize));
    EXPECT_EQ(rig.session->templateEditor().snapshot().labels[0], "Gr\xF6\xDF"
                                                                  "e");
    rig.user.queueAnswer(Answer::No); // the edited template is not saved
    QTest::mouseClick(control<QPushButton>(window, 1), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
  }
  EXPECT_EQ(rig.app.glossaryFolder(), rig.at("Software/Glossary/German"));
  // German is the second glossary folder: position 1.
  EXPECT_EQ(rig.bytes("Cfg/GlossConfigSave.cfg"), (Bytes{1, 0, 0, 0}));
  MarkerUtilityWindow again(*rig.session);
  EXPECT_EQ(again.glossaryLanguage()->currentText(), "German");
  EXPECT_TRUE(itemsOf(*control<QComboBox>(*again.templatePage(), 1106)).contains(kSize));
  ASSERT_EQ(rig.user.events().size(), 1U);
  EXPECT_EQ(rig.user.events()[0].text,
            "Do you want to save the changes you made to untitled.utl ?");
}

TEST(MarkerUtilityWindow, switchingBackToEnglishRestoresTheEnglishLists) {
  MarkerRig rig;
  MarkerUtilityWindow window(*rig.session);
  window.show();
  ASSERT_TRUE(choose(*window.glossaryLanguage(), "German"));
  ASSERT_TRUE(choose(*window.glossaryLanguage(), "English"));
  EXPECT_EQ(rig.session->templates().width(), 7);
  EXPECT_TRUE(itemsOf(*control<QListWidget>(*window.userListPage(), 1160)).contains("Owner"));
  EXPECT_TRUE(itemsOf(*control<QComboBox>(*window.templatePage(), 1106)).contains("Svc Line"));
}

TEST(MarkerUtilityWindow, theCloseBoxKeepsTheSavedLanguage) {
  MarkerRig rig;
  {
    MarkerUtilityWindow window(*rig.session);
    window.show();
    ASSERT_TRUE(choose(*window.glossaryLanguage(), "German"));
    window.close();
  }
  // Created with 3 when the window opened; nothing saved since.
  EXPECT_EQ(rig.bytes("Cfg/GlossConfigSave.cfg"), (Bytes{3, 0, 0, 0}));
  MarkerUtilityWindow again(*rig.session);
  EXPECT_EQ(again.glossaryLanguage()->currentText(), "English");
}

TEST(MarkerUtilityWindow, foldersChangedBySaveAsAreWrittenAtExit) {
  MarkerRig rig;
  const std::string traceText = rig.app.folders().traceTemplateFolder;
  const fs::path forms = rig.at("Forms");
  fs::create_directories(forms);
  {
    MarkerUtilityWindow window(*rig.session);
    window.show();
    TemplateEditorPage &page = *window.templatePage();
    QTest::mouseClick(control<QRadioButton>(page, 1005), Qt::LeftButton);
    type(*control<QComboBox>(page, 1106), "Owner");
    rig.user.queueSaveFile((forms / "Valve1").string());
    QTest::mouseClick(control<QPushButton>(page, 3), Qt::LeftButton);
    ASSERT_TRUE(fs::exists(forms / "Valve1.utl"));
    window.close();
  }
  EXPECT_EQ(rig.app.folders().templateFolder, forms.string() + "/");
  EXPECT_EQ(rig.app.folders().templateFile, "Valve1.utl");
  EXPECT_EQ(rig.app.folders().traceTemplateFolder, traceText);
  EXPECT_EQ(rig.app.folders().traceTemplateFile, "");
  EXPECT_FALSE(rig.app.finish());
  const auto written = rig.bytes("Cfg/DefaultTemplateFolders.cfg");
  const std::string text(written.begin(), written.end());
  EXPECT_EQ(text, "Templates=" + forms.string() + "/Valve1.utl\nTraceTemplates=" + traceText +
                      "\nReadWriteHistory=" + rig.app.folders().recordFolder + "\n");
}

TEST(SessionTemplates, startsFromTheDefaultFoldersOfTheApplication) {
  MarkerRig rig;
  rig.folder.write("Cfg/DefaultTemplateFolders.cfg",
                   "Templates=" + rig.at("Forms").string() + "/Gas.utl\nTraceTemplates=\n");
  rig.app.start();
  Session &session = rig.app;
  const TemplatesState &state = session.templates().state;
  EXPECT_EQ(state.markerFolder, rig.at("Forms"));
  EXPECT_EQ(state.markerName, "Gas.utl");
  EXPECT_EQ(state.traceFolder, rig.at("Templates") / "Trace");
  EXPECT_EQ(state.traceName, "untitled.utl");
  EXPECT_EQ(session.templates().glossaryChoice().language, "English");
  EXPECT_FALSE(session.templates().glossary.listLabels().empty());
}

TEST(SessionTemplates, unchangedFoldersKeepTheirStoredText) {
  TemplatesState state;
  DefaultFolders folders;
  folders.templateFolder = "/data/forms//";
  folders.templateFile = "A.utl";
  folders.traceTemplateFolder = "";
  loadTemplateFolders(folders, state);
  state.traceFolder = "/data/trace";
  storeTemplateFolders(state, folders);
  EXPECT_EQ(folders.templateFolder, "/data/forms//");
  EXPECT_EQ(folders.templateFile, "A.utl");
  EXPECT_EQ(folders.traceTemplateFolder, "/data/trace/");
  EXPECT_EQ(folders.traceTemplateFile, "");
  state.markerName = "B.utl";
  state.markerFolder = "/data/other";
  storeTemplateFolders(state, folders);
  EXPECT_EQ(folders.templateFolder, "/data/other/");
  EXPECT_EQ(folders.templateFile, "B.utl");
}

TEST(MarkerUtilityWindow, theMainScreenOpensItAndTheTemplateRowsOutliveIt) {
  MarkerRig rig;
  MainScreenWindow screen(rig.app);
  screen.show();
  EXPECT_TRUE(screen.hasTool(MainScreen::Tool::MarkerUtility));
  auto *button = control<QPushButton>(screen, 1136);
  ASSERT_TRUE(button->isEnabled());
  QString title;
  testing::ModalResponder first([&](QWidget &modal) {
    title = modal.windowTitle();
    auto &window = dynamic_cast<MarkerUtilityWindow &>(modal);
    TemplateEditorPage &page = *window.templatePage();
    QTest::mouseClick(control<QRadioButton>(page, 1005), Qt::LeftButton);
    type(*control<QComboBox>(page, 1106), "Owner");
    rig.user.queueAnswer(Answer::No); // kept unsaved
    QTest::mouseClick(control<QPushButton>(modal, 1), Qt::LeftButton);
  });
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(first.handled());
  EXPECT_EQ(title, "GPS/Tq Marker Utility");

  QString kept;
  testing::ModalResponder second([&](QWidget &modal) {
    auto &window = dynamic_cast<MarkerUtilityWindow &>(modal);
    kept = control<QComboBox>(*window.templatePage(), 1106)->currentText();
    rig.user.queueAnswer(Answer::No);
    modal.close();
  });
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(second.handled());
  EXPECT_EQ(kept, "Owner");
  EXPECT_EQ(rig.app.templateEditor().snapshot().labels[0], "Owner");
}

} // namespace
} // namespace tarnwick::ui
