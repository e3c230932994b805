#include "atomic_file.h"
#include "demo_tree.h"
#include "user_list_files.h"
#include "user_list_store.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::DemoTree;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

TEST(UserListFiles, threeLabelsAreASixByteFvg) {
  EXPECT_EQ(fvgBytes({0x0701, 0x0902, 0x1A00}), (Bytes{0x01, 0x07, 0x02, 0x09, 0x00, 0x1A}));
  EXPECT_TRUE(fvgBytes({}).empty());
  EXPECT_EQ(parseFvg(Bytes{0x01, 0x07, 0x02, 0x09, 0x00, 0x1A}),
            (std::vector<GlossaryRef>{0x0701, 0x0902, 0x1A00}));
}

TEST(UserListFiles, fvgReadingStopsAtZeroAnOddByteOr88) {
  EXPECT_EQ(parseFvg(Bytes{0x01, 0x07, 0x00, 0x00, 0x02, 0x09}),
            (std::vector<GlossaryRef>{0x0701}));
  EXPECT_EQ(parseFvg(Bytes{0x01, 0x07, 0x02}), (std::vector<GlossaryRef>{0x0701}));
  Bytes many;
  for (int i = 0; i < 100; ++i) {
    many.push_back(static_cast<std::uint8_t>(i));
    many.push_back(0x0A);
  }
  EXPECT_EQ(parseFvg(many).size(), 88U);
  EXPECT_EQ(fvgBytes(std::vector<GlossaryRef>(100, 0x0701)).size(), 176U);
}

TEST(UserListFiles, aLabelWithTwoLinksIsAnEightByteRecord) {
  const LabelLinks links = {{0x0701, {0x1000, 0x1001}}, {0x0702, {}}};
  EXPECT_EQ(labelTermBytes(links), (Bytes{0x01, 0x07, 0x00, 0x10, 0x01, 0x10, 0xFF, 0xFF}));
  EXPECT_TRUE(labelTermBytes({{0x0702, {}}}).empty());
}

TEST(UserListFiles, atMost16LinksAreWritten) {
  const LabelLinks links = {{0x0701, std::vector<GlossaryRef>(20, 0x1000)}};
  EXPECT_EQ(labelTermBytes(links).size(), 2U + 16 * 2 + 2);
}

TEST(UserListFiles, linksGoToTheRowOfTheirLabel) {
  const Bytes bytes = {0x02, 0x07, 0x00, 0x10, 0xFF, 0xFF,              // label 0x0702: one link
                       0x09, 0x09, 0x05, 0x10, 0xFF, 0xFF,              // a label not in the list
                       0x01, 0x07, 0x01, 0x10, 0x02, 0x10, 0x00, 0x00}; // ended by 0
  const LabelLinks links = parseLabelTermData(bytes, {0x0701, 0x0702, 0x0703});
  EXPECT_EQ(links, (LabelLinks{{0x0701, {0x1001, 0x1002}}, {0x0702, {0x1000}}, {0x0703, {}}}));
}

TEST(UserListFiles, linksBeyond16AreDropped) {
  Bytes bytes = {0x01, 0x07};
  for (int i = 0; i < 20; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(i + 1));
    bytes.push_back(0x10);
  }
  bytes.push_back(0xFF);
  bytes.push_back(0xFF);
  bytes.insert(bytes.end(), {0x02, 0x07, 0x00, 0x11, 0xFF, 0xFF});
  const LabelLinks links = parseLabelTermData(bytes, {0x0701, 0x0702});
  EXPECT_EQ(links[0].descriptions.size(), 16U);
  EXPECT_EQ(links[1].descriptions, (std::vector<GlossaryRef>{0x1100}));
}

class UserListStoreTest : public ::testing::Test {
protected:
  UserListStoreTest() : store(glossary, dir.path() / "FavGlossary") {
    glossary.setEntry(7, 1, "Owner");
    glossary.setEntry(7, 2, "Utility");
    glossary.setEntry(9, 0, "Valve");
    glossary.setEntry(7, 0, "UserEdit");
  }

  TempDir dir;
  Glossary glossary;
  UserListStore store;
};

TEST_F(UserListStoreTest, allIsPosition0WithEveryLabelSortedByText) {
  store.load();
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "FavGlossary"));
  EXPECT_EQ(store.listNames(), (std::vector<std::string>{"All"}));
  EXPECT_EQ(store.positionOf("All"), 0);
  EXPECT_EQ(store.labelsOf("All"), (std::vector<std::string>{"Owner", "Utility", "Valve"}));
  EXPECT_EQ(store.find("all")->labels, (std::vector<GlossaryRef>{0x0701, 0x0702, 0x0900}));
}

TEST_F(UserListStoreTest, userListsFollowInNameOrderWithoutRegardToCase) {
  for (const char *name : {"gamma", "Alpha", "beta"}) {
    dir.write(std::string("FavGlossary/") + name + "/" + name + ".fvg", Bytes{});
  }
  dir.write("FavGlossary/LabelTermData", Bytes{}); // a file, not a list
  store.load();
  EXPECT_EQ(store.listNames(), (std::vector<std::string>{"All", "Alpha", "beta", "gamma"}));
  EXPECT_EQ(store.positionOf("Alpha"), 1);
  EXPECT_EQ(store.positionOf("BETA"), 2);
  EXPECT_EQ(store.positionOf("delta"), 0xFF);
  EXPECT_EQ(store.nameAt(3), "gamma");
  EXPECT_EQ(store.nameAt(4), "All");
  // A new list can shift the positions older templates stored.
  ASSERT_EQ(store.create("Aa"), CreateListResult::Created);
  EXPECT_EQ(store.positionOf("Alpha"), 2);
}

TEST_F(UserListStoreTest, createMakesTheFolderAndAnEmptyFvg) {
  store.load();
  ASSERT_EQ(store.create("Gas"), CreateListResult::Created);
  Bytes bytes = {1};
  ASSERT_TRUE(readWholeFile(dir.path() / "FavGlossary/Gas/Gas.fvg", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(store.positionOf("Gas"), 1);
  EXPECT_EQ(store.create("Gas"), CreateListResult::Exists);
  EXPECT_EQ(store.create("GAS"), CreateListResult::Exists);
}

TEST_F(UserListStoreTest, reservedAndUnsafeNamesAreRefused) {
  store.load();
  for (const std::string &name :
       std::vector<std::string>{"all", "ALL", "All", "*new", "*NEW", "", "sixchr", "a/b", "..", ".",
                                "a\\b", "a:b", std::string("a\x01")}) {
    EXPECT_FALSE(UserListStore::isUsableName(name)) << name;
    EXPECT_EQ(store.create(name), CreateListResult::InvalidName) << name;
  }
  EXPECT_TRUE(UserListStore::isUsableName("Gas 1"));
  EXPECT_EQ(store.listNames().size(), 1U);
}

TEST_F(UserListStoreTest, aFolderNamedAllIsNotAList) {
  dir.write("FavGlossary/ALL/ALL.fvg", Bytes{0x01, 0x07});
  store.load();
  EXPECT_EQ(store.listNames(), (std::vector<std::string>{"All"}));
  EXPECT_EQ(store.find("All")->labels.size(), 3U);
}

TEST_F(UserListStoreTest, aListWithoutFvgDoesNotStopTheOthers) {
  std::filesystem::create_directories(dir.path() / "FavGlossary/Aaa");
  dir.write("FavGlossary/Bbb/Bbb.fvg", Bytes{0x01, 0x07, 0x00, 0x09});
  store.load();
  EXPECT_TRUE(store.find("Aaa")->labels.empty());
  EXPECT_EQ(store.labelsOf("Bbb"), (std::vector<std::string>{"Owner", "Valve"}));
}

TEST_F(UserListStoreTest, labelTextsSkipReferencesWithoutText) {
  dir.write("FavGlossary/Gas/Gas.fvg", Bytes{0x01, 0x07, 0x05, 0x07, 0x00, 0x09, 0x00, 0x63});
  store.load();
  EXPECT_EQ(store.labelsOf("Gas"), (std::vector<std::string>{"Owner", "Valve"}));
  EXPECT_EQ(store.find("Gas")->labels.size(), 4U);
}

TEST_F(UserListStoreTest, saveAllWritesEveryUserList) {
  store.load();
  ASSERT_EQ(store.create("Gas"), CreateListResult::Created);
  ASSERT_EQ(store.create("Wtr"), CreateListResult::Created);
  EXPECT_FALSE(store.setLabels("All", {0x0701}));
  ASSERT_TRUE(store.setLabels("Gas", {0x0701, 0x0702, 0x0900}));
  ASSERT_TRUE(store.setLabels("wtr", {0x0900}));
  ASSERT_TRUE(store.saveAll());
  Bytes bytes;
  ASSERT_TRUE(readWholeFile(dir.path() / "FavGlossary/Gas/Gas.fvg", bytes));
  EXPECT_EQ(bytes, (Bytes{0x01, 0x07, 0x02, 0x07, 0x00, 0x09}));
  ASSERT_TRUE(readWholeFile(dir.path() / "FavGlossary/Wtr/Wtr.fvg", bytes));
  EXPECT_EQ(bytes, (Bytes{0x00, 0x09}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "FavGlossary/All"));
}

TEST_F(UserListStoreTest, aFailedSaveAllNamesTheFileAndWhyAndWritesTheRest) {
  store.load();
  ASSERT_EQ(store.create("Gas"), CreateListResult::Created);
  ASSERT_EQ(store.create("Wtr"), CreateListResult::Created);
  ASSERT_TRUE(store.setLabels("Wtr", {0x0900}));
  // A folder where Gas.fvg should be cannot be replaced by a file.
  const auto blocked = dir.path() / "FavGlossary/Gas/Gas.fvg";
  std::filesystem::remove(blocked);
  std::filesystem::create_directories(blocked / "keep");
  const SaveResult saved = store.saveAll();
  EXPECT_FALSE(saved);
  EXPECT_EQ(saved.path, blocked);
  EXPECT_EQ(saved.error, writeFileAtomically(blocked, Bytes{}));
  Bytes bytes;
  ASSERT_TRUE(readWholeFile(dir.path() / "FavGlossary/Wtr/Wtr.fvg", bytes));
  EXPECT_EQ(bytes, (Bytes{0x00, 0x09}));
}

TEST_F(UserListStoreTest, linksLoadCreatingAMissingFileAndSaveBack) {
  store.load();
  ASSERT_EQ(store.create("Gas"), CreateListResult::Created);
  store.setLabels("Gas", {0x0701, 0x0702});
  const LabelLinks empty = store.loadLinks("Gas");
  EXPECT_EQ(empty, (LabelLinks{{0x0701, {}}, {0x0702, {}}}));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "FavGlossary/Gas/LabelTermData"));
  ASSERT_TRUE(store.saveLinks("Gas", {{0x0701, {}}, {0x0702, {0x1000, 0x1001}}}));
  Bytes bytes;
  ASSERT_TRUE(readWholeFile(dir.path() / "FavGlossary/Gas/LabelTermData", bytes));
  EXPECT_EQ(bytes, (Bytes{0x02, 0x07, 0x00, 0x10, 0x01, 0x10, 0xFF, 0xFF}));
  EXPECT_EQ(store.loadLinks("gas")[1].descriptions, (std::vector<GlossaryRef>{0x1000, 0x1001}));
  // "All" keeps its links beside the lists.
  ASSERT_TRUE(store.saveLinks("All", {{0x0900, {0x1000}}}));
  EXPECT_TRUE(readWholeFile(dir.path() / "FavGlossary/LabelTermData", bytes));
  EXPECT_EQ(bytes.size(), 6U);
  EXPECT_TRUE(store.loadLinks("Nope").empty());
  EXPECT_FALSE(store.saveLinks("Nope", {}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "FavGlossary/Nope"));
}

TEST_F(UserListStoreTest, atMost99Lists) {
  for (int i = 0; i < 100; ++i) {
    std::filesystem::create_directories(dir.path() / "FavGlossary" /
                                        ("L" + std::to_string(100 + i)));
  }
  store.load();
  EXPECT_EQ(store.size(), 100U);
  EXPECT_EQ(store.nameAt(99), "L198");
  EXPECT_EQ(store.create("Zz"), CreateListResult::Full);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "FavGlossary/Zz"));
}

TEST(UserListDemo, demoListsAndLinks) {
  DemoTree tree;
  UserListStore &lists = tree.workspace->userLists;
  EXPECT_EQ(lists.labelsOf("Gas").front(), "Owner");
  EXPECT_EQ(tree.read("FavGlossary/Gas/Gas.fvg").size(), 9U * 2);
  const LabelLinks links = lists.loadLinks("Water");
  EXPECT_EQ(links.size(), 8U);
  EXPECT_EQ(tree.workspace->glossary.text(links[0].descriptions[1]), "Private");
}

} // namespace
} // namespace tarnwick
