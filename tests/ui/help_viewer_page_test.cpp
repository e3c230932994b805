#include "gui_helpers.h"
#include "help_viewer_page.h"
#include "string_table.h"
#include "temp_dir.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

using testing::control;
using testing::TempDir;

struct HelpRig {
  QStringList topics(const HelpViewerPage &page) const {
    QStringList names;
    auto *list = control<QListWidget>(page, 1196);
    for (int i = 0; i < list->count(); ++i) {
      names << list->item(i)->text();
    }
    return names;
  }
  QString text(const HelpViewerPage &page) const {
    return control<QPlainTextEdit>(page, 1202)->toPlainText();
  }

  TempDir work;
  InstallTree tree{work.path()};
  StringTable strings;
};

TEST(HelpViewerPage, listsTheTopicFilesAndShowsTheFirst) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("Welcome.\nSecond line."));
  rig.work.write("Help/Usage.txt", std::string("How to use it."));
  HelpViewerPage page(rig.tree, "English", rig.strings);
  EXPECT_EQ(page.objectName(), QStringLiteral("264"));
  EXPECT_EQ(rig.topics(page), QStringList({"Intro", "Usage"}));
  EXPECT_EQ(control<QListWidget>(page, 1196)->currentRow(), 0);
  EXPECT_EQ(rig.text(page), QStringLiteral("Welcome.\nSecond line."));
  EXPECT_TRUE(control<QPlainTextEdit>(page, 1202)->isReadOnly());
  auto *title = control<QLabel>(page, 1203);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QStringLiteral("Tq Marker Utility Help"));
  EXPECT_TRUE(title->font().bold());
}

TEST(HelpViewerPage, selectingATopicShowsItsText) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("Welcome."));
  rig.work.write("Help/Usage.txt", std::string("How to use it."));
  HelpViewerPage page(rig.tree, "English", rig.strings);
  control<QListWidget>(page, 1196)->setCurrentRow(1);
  EXPECT_EQ(rig.text(page), QStringLiteral("How to use it."));
}

TEST(HelpViewerPage, headingsNameTheTopicsWhenTheyMatchInNumber) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("a"));
  rig.work.write("Help/Usage.txt", std::string("b"));
  rig.work.write("Help/Help Headings.cfg",
                 std::string("# headings\r\nGetting started\r\nUsing the tool\r\n"));
  HelpViewerPage page(rig.tree, "English", rig.strings);
  EXPECT_EQ(rig.topics(page), QStringList({"Getting started", "Using the tool"}));
}

TEST(HelpViewerPage, headingsOfAnotherCountAreIgnored) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("a"));
  rig.work.write("Help/Usage.txt", std::string("b"));
  rig.work.write("Help/Help Headings.cfg", std::string("One\nTwo\nThree\n"));
  HelpViewerPage page(rig.tree, "English", rig.strings);
  EXPECT_EQ(rig.topics(page), QStringList({"Intro", "Usage"}));
}

TEST(HelpViewerPage, anotherLanguageReadsItsOwnFolder) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("English text"));
  rig.work.write("Help/German/Einleitung.txt", std::string("Deutscher Text"));
  HelpViewerPage page(rig.tree, "German", rig.strings);
  EXPECT_EQ(rig.topics(page), QStringList({"Einleitung"}));
  EXPECT_EQ(rig.text(page), QStringLiteral("Deutscher Text"));
}

TEST(HelpViewerPage, aTopicWhoseFileWentAwayShowsHelpNotAvailable) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", std::string("a"));
  rig.work.write("Help/Usage.txt", std::string("b"));
  HelpViewerPage page(rig.tree, "English", rig.strings);
  std::filesystem::remove(rig.work.path() / "Help" / "Usage.txt");
  control<QListWidget>(page, 1196)->setCurrentRow(1);
  EXPECT_EQ(rig.text(page), QStringLiteral("Help not available"));
}

TEST(HelpViewerPage, emptyFolderShowsNothing) {
  HelpRig rig;
  HelpViewerPage page(rig.tree, "English", rig.strings);
  EXPECT_TRUE(rig.topics(page).isEmpty());
  EXPECT_TRUE(rig.text(page).isEmpty());
}

TEST(DisplayText, takesUtf8AndFallsBackToWindowsText) {
  EXPECT_EQ(displayText("Gr\xC3\xBC\xC3\x9F"
                        "e"),
            QString::fromUtf8("Grüße"));
  EXPECT_EQ(displayText("Gr\xFC\xDF"
                        "e \x80 \x93x\x94"),
            QString::fromUtf8("Grüße € “x”"));
}

} // namespace
} // namespace tarnwick::ui
