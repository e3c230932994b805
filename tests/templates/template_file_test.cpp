#include "demo_tree.h"
#include "template_file.h"
#include "user_list_store.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::DemoTree;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

TEST(TemplateFile, traceTemplateStartsWith0xFFThenThePosition) {
  TempDir dir;
  const TemplateFile file{TemplateKind::Trace, 2, {0x0F, 0x9C}};
  ASSERT_TRUE(saveTemplateFile(dir.path() / "Trace/Run.utl", file));
  Bytes bytes;
  ASSERT_TRUE(readWholeFile(dir.path() / "Trace/Run.utl", bytes));
  EXPECT_EQ(bytes, (Bytes{0xFF, 0x02, 0x0F, 0x9C}));
}

TEST(TemplateFile, markerTemplateStartsWithThePositionAndKeeps112Bytes) {
  TemplateFile file{TemplateKind::Marker, 1, Bytes(130, 0x55)};
  const Bytes bytes = templateFileBytes(file);
  ASSERT_EQ(bytes.size(), 113U);
  EXPECT_EQ(bytes[0], 1);
  Bytes long_ = {0};
  long_.insert(long_.end(), 130, 0x55);
  EXPECT_EQ(parseTemplateFile(long_, TemplateKind::Marker).encoded.size(), 112U);
  EXPECT_EQ(parseTemplateFile(long_, TemplateKind::Trace).encoded.size(), 130U);
}

TEST(TemplateFile, theKindChosenResolvesALeading0xFF) {
  const Bytes markerWithLostList = {0xFF, 0x0F, 0x9C, 0xB9, 0x00};
  const TemplateFile asMarker = parseTemplateFile(markerWithLostList, TemplateKind::Marker);
  EXPECT_EQ(asMarker.kind, TemplateKind::Marker);
  EXPECT_EQ(asMarker.listPosition, 0xFF);
  EXPECT_EQ(asMarker.encoded, (Bytes{0x0F, 0x9C, 0xB9, 0x00}));
  const TemplateFile asTrace = parseTemplateFile(markerWithLostList, TemplateKind::Trace);
  EXPECT_EQ(asTrace.listPosition, 0x0F);
  const TemplateFile guessed = parseTemplateFile(markerWithLostList, TemplateKind::None);
  EXPECT_EQ(guessed.kind, TemplateKind::Trace);
  EXPECT_EQ(parseTemplateFile(Bytes{0x01, 0x00}, TemplateKind::None).kind, TemplateKind::Marker);
  // A trace template without its prefix is read as the loader always did.
  EXPECT_EQ(parseTemplateFile(Bytes{0x01, 0x00}, TemplateKind::Trace).listPosition, 1);
  EXPECT_EQ(parseTemplateFile(Bytes{}, TemplateKind::Trace).listPosition, 0);
}

TEST(TemplateFile, positionsNameTheListsInStoreOrder) {
  DemoTree tree;
  const UserListStore &lists = tree.workspace->userLists;
  ASSERT_EQ(lists.listNames(), (std::vector<std::string>{"All", "Gas", "Water"}));
  const Glossary &glossary = tree.workspace->glossary;
  const auto gas = loadTemplate(tree.dir.path() / "Templates/GasValve.utl", TemplateKind::Marker,
                                glossary, lists);
  ASSERT_TRUE(gas);
  EXPECT_EQ(tree.read("Templates/GasValve.utl").front(), 1);
  EXPECT_EQ(gas->userList, "Gas");
  EXPECT_EQ(gas->content.width, 7);
  EXPECT_EQ(gas->content.rows, (std::vector<TemplateRow>{{"Utility", "Gas"},
                                                         {"Valve", "Gate Valve"},
                                                         {"Size", "2 in"},
                                                         {"Depth", "42"},
                                                         {"Date", "061524"}}));
  const auto trace = loadTemplate(tree.dir.path() / "Templates/Trace/MainRun.utl",
                                  TemplateKind::Trace, glossary, lists);
  ASSERT_TRUE(trace);
  EXPECT_EQ(tree.read("Templates/Trace/MainRun.utl")[0], 0xFF);
  EXPECT_EQ(tree.read("Templates/Trace/MainRun.utl")[1], 0);
  EXPECT_EQ(trace->userList, "All");
  EXPECT_EQ(trace->content.rows.back(), (TemplateRow{"Note", "Tie-In east"}));
}

TEST(TemplateFile, aPositionPastTheListsSelectsAll) {
  DemoTree tree;
  tree.dir.write("Templates/Lost.utl", Bytes{0x03, 0x00});
  tree.dir.write("Templates/Gone.utl", Bytes{0xFF, 0x00});
  const auto lost = loadTemplate(tree.dir.path() / "Templates/Lost.utl", TemplateKind::Marker,
                                 tree.workspace->glossary, tree.workspace->userLists);
  ASSERT_TRUE(lost);
  EXPECT_EQ(lost->userList, "All");
  const auto gone = loadTemplate(tree.dir.path() / "Templates/Gone.utl", TemplateKind::Marker,
                                 tree.workspace->glossary, tree.workspace->userLists);
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->userList, "All");
  EXPECT_TRUE(gone->content.rows.empty());
}

TEST(TemplateFile, aFileThatCannotBeReadIsNothing) {
  DemoTree tree;
  EXPECT_FALSE(loadTemplate(tree.dir.path() / "Templates/None.utl", TemplateKind::Marker,
                            tree.workspace->glossary, tree.workspace->userLists));
  EXPECT_FALSE(readTemplateFile(tree.dir.path() / "Templates", TemplateKind::Marker));
}

TEST(TemplateFile, widthWarnings) {
  EXPECT_EQ(widthWarning(7, 7), 0);
  EXPECT_EQ(widthWarning(8, 8), 0);
  EXPECT_EQ(widthWarning(8, 7), 61399); // 8-bit template under a 7-bit glossary
  EXPECT_EQ(widthWarning(7, 8), 61398);
}

TEST(TemplateFile, aFailedSaveIsReportedAndTouchesNothing) {
  TempDir dir;
  const auto path = dir.write("Templates/Keep.utl", Bytes{0x00, 0x00});
  // A file where the folder should be: nothing can be written below it.
  EXPECT_FALSE(saveTemplateFile(path / "Other.utl", {TemplateKind::Marker, 0, {1}}));
  Bytes bytes;
  ASSERT_TRUE(readWholeFile(path, bytes));
  EXPECT_EQ(bytes, (Bytes{0x00, 0x00}));
}

} // namespace
} // namespace tarnwick
