#include "install_tree.h"

#include "app_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(InstallTree, relativePathsResolveUnderTheWorkingFolder) {
  TempDir work;
  const InstallTree tree(work.path());
  EXPECT_EQ(tree.path(install::kDefaultFoldersFile),
            work.path() / "Cfg" / "DefaultTemplateFolders.cfg");
  EXPECT_EQ(tree.path("/Templates/Trace/"), work.path() / "Templates" / "Trace");
  EXPECT_EQ(tree.cfgFile("de.bmp"), work.path() / "Cfg" / "de.bmp");
}

TEST(InstallTree, installationDataIsFoundWhateverTheCaseOfItsNames) {
  TempDir work;
  const auto file = work.write("CFG/countryfreqmask.CFG", "x");
  const InstallTree tree(work.path());
  EXPECT_EQ(tree.path(install::kCountryFile), file);
  const auto pack = work.write("software/RESOURCES/german language.strings", "x");
  EXPECT_EQ(tree.languagePack("German"), pack);
}

TEST(InstallTree, foldersAreCreatedOnDemand) {
  TempDir work;
  const InstallTree tree(work.path());
  std::error_code error;
  const fs::path trace = tree.folder(install::kTraceTemplates, error);
  EXPECT_FALSE(error);
  EXPECT_TRUE(fs::is_directory(work.path() / "Templates" / "Trace"));
  EXPECT_EQ(trace, work.path() / "Templates" / "Trace");
  // An existing folder of another case is used, not doubled.
  fs::create_directories(work.path() / "markerrecord");
  EXPECT_EQ(tree.folder(install::kMarkerRecord, error), work.path() / "markerrecord");
  EXPECT_FALSE(fs::exists(work.path() / "MarkerRecord"));
}

TEST(InstallTree, aFolderThatCannotBeCreatedIsReported) {
  TempDir work;
  work.write("Cfg", "a file where the folder should be");
  std::error_code error;
  InstallTree(work.path()).folder("\\Cfg\\Sub", error);
  EXPECT_TRUE(error);
}

TEST(InstallTree, folderTextsEndWithASeparator) {
  TempDir work;
  const std::string text = InstallTree(work.path()).folderText(install::kTemplates);
  EXPECT_EQ(text, (work.path() / "Templates").string() + "/");
}

TEST(InstallTree, storedPathsAcceptEitherSeparator) {
  EXPECT_EQ(InstallTree::storedPath("/home/tec\\Forms\\Site.utl"),
            fs::path("/home/tec/Forms/Site.utl"));
  EXPECT_EQ(InstallTree::storedPath("/home/tec/Forms/"), fs::path("/home/tec/Forms/"));
}

TEST(InstallTree, namesFromSettingsStayInsideTheirFolder) {
  EXPECT_TRUE(InstallTree::isPlainName("German"));
  EXPECT_TRUE(InstallTree::isPlainName("French Canadian"));
  EXPECT_FALSE(InstallTree::isPlainName(""));
  EXPECT_FALSE(InstallTree::isPlainName(".."));
  EXPECT_FALSE(InstallTree::isPlainName("../x"));
  EXPECT_FALSE(InstallTree::isPlainName("a\\b"));
  TempDir work;
  const InstallTree tree(work.path());
  EXPECT_EQ(tree.languagePack("../../etc").parent_path(), work.path() / "Software" / "Resources");
  EXPECT_EQ(tree.helpFolder("..").parent_path(), work.path() / "Help");
  EXPECT_EQ(tree.glossaryFolder("a/../../b").parent_path(), work.path() / "Software" / "Glossary");
}

TEST(InstallTree, helpAndGlossaryFoldersFollowTheLanguage) {
  TempDir work;
  const InstallTree tree(work.path());
  EXPECT_EQ(tree.helpFolder("English"), work.path() / "Help");
  EXPECT_EQ(tree.helpFolder("German"), work.path() / "Help" / "German");
  EXPECT_EQ(tree.glossaryFolder("English"), work.path() / "Software" / "Glossary" / "English");
}

TEST(ListFolder, filtersBySuffixWithoutCaseAndSortsByName) {
  TempDir work;
  work.write("b.txt", "");
  work.write("A.TXT", "");
  work.write("c.txt.bak", "");
  work.write("a.txt", "");
  fs::create_directories(work.path() / "d.txt");
  std::vector<std::string> names;
  for (const auto &file : listFolder(work.path(), ".txt")) {
    names.push_back(file.filename().string());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"A.TXT", "a.txt", "b.txt"}));
  const auto folders = listFolder(work.path(), "", true);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].filename(), "d.txt");
  EXPECT_TRUE(listFolder(work.path() / "missing", "").empty());
}

} // namespace
} // namespace tarnwick
