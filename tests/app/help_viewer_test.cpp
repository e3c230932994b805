#include "help_viewer.h"

#include "app_rig.h"
#include "string_table.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct HelpRig {
  HelpViewer::Snapshot open(const std::string &language = "English") {
    HelpViewer viewer(tree, language, strings);
    viewer.open();
    return viewer.snapshot();
  }
  TempDir work;
  InstallTree tree{work.path()};
  StringTable strings;
};

TEST(HelpViewer, topicsAreTheTextFilesAndTheFirstIsShown) {
  HelpRig rig;
  rig.work.write("Help/Usage.txt", "How to use it.");
  rig.work.write("Help/Intro.txt", "Welcome.\r\nSecond line\n");
  rig.work.write("Help/notes.cfg", "");
  const auto snapshot = rig.open();
  EXPECT_EQ(snapshot.topics, (std::vector<std::string>{"Intro", "Usage"}));
  EXPECT_EQ(snapshot.selected, 0);
  EXPECT_EQ(snapshot.text, "Welcome.\r\nSecond line\n");
  EXPECT_EQ(snapshot.folder, rig.work.path() / "Help");
}

TEST(HelpViewer, headingsNameTheTopicsWhenTheyCountAlike) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", "1");
  rig.work.write("Help/Usage.txt", "2");
  rig.work.write("Help/Help Headings.cfg", "# titles\nGetting started\r\n\nUsing the tool\n");
  EXPECT_EQ(rig.open().topics, (std::vector<std::string>{"Getting started", "Using the tool"}));
}

TEST(HelpViewer, headingsThatDoNotCountAlikeAreIgnored) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", "1");
  rig.work.write("Help/Usage.txt", "2");
  rig.work.write("Help/Help Headings.cfg", "One\nTwo\nThree\n");
  EXPECT_EQ(rig.open().topics, (std::vector<std::string>{"Intro", "Usage"}));
}

TEST(HelpViewer, selectingATopicShowsItsText) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", "1");
  rig.work.write("Help/Usage.txt", std::string("two\0bytes", 9));
  HelpViewer viewer(rig.tree, "English", rig.strings);
  viewer.open();
  viewer.selectTopic(1);
  EXPECT_EQ(viewer.snapshot().selected, 1);
  EXPECT_EQ(viewer.snapshot().text, std::string("two\0bytes", 9));
  viewer.selectTopic(5);
  EXPECT_EQ(viewer.snapshot().selected, 1);
}

TEST(HelpViewer, aTopicWhoseFileDisappearedIsNotAvailable) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", "1");
  rig.work.write("Help/Usage.txt", "2");
  HelpViewer viewer(rig.tree, "English", rig.strings);
  viewer.open();
  fs::remove(rig.work.path() / "Help" / "Usage.txt");
  viewer.selectTopic(1);
  EXPECT_EQ(viewer.snapshot().text, "Help not available");
}

TEST(HelpViewer, anEmptyOrMissingFolderShowsNothing) {
  HelpRig rig;
  auto snapshot = rig.open();
  EXPECT_TRUE(snapshot.topics.empty());
  EXPECT_EQ(snapshot.selected, -1);
  EXPECT_EQ(snapshot.text, "");
  rig.work.write("Help/Help Headings.cfg", "");
  snapshot = rig.open();
  EXPECT_TRUE(snapshot.topics.empty());
  EXPECT_EQ(snapshot.text, "");
}

TEST(HelpViewer, otherLanguagesReadTheirSubFolder) {
  HelpRig rig;
  rig.work.write("Help/Intro.txt", "English");
  rig.work.write("Help/German/Einleitung.txt", "Deutsch");
  const auto snapshot = rig.open("German");
  EXPECT_EQ(snapshot.folder, rig.work.path() / "Help" / "German");
  EXPECT_EQ(snapshot.topics, std::vector<std::string>{"Einleitung"});
  EXPECT_EQ(snapshot.text, "Deutsch");
}

TEST(HelpViewer, namesAreFoundWhateverTheirCase) {
  HelpRig rig;
  rig.work.write("HELP/INTRO.TXT", "1");
  rig.work.write("HELP/help headings.CFG", "Introduction\n");
  const auto snapshot = rig.open();
  EXPECT_EQ(snapshot.topics, std::vector<std::string>{"Introduction"});
  EXPECT_EQ(snapshot.text, "1");
}

TEST(HelpHeadings, skipEmptyAndCommentLinesAndCountTheFirst249Characters) {
  EXPECT_EQ(parseHelpHeadings("#c\n\nA\r\n \nB"), (std::vector<std::string>{"A", " ", "B"}));
  EXPECT_EQ(parseHelpHeadings(std::string(300, 'x')),
            std::vector<std::string>{std::string(249, 'x')});
  EXPECT_TRUE(parseHelpHeadings("").empty());
}

} // namespace
} // namespace tarnwick
