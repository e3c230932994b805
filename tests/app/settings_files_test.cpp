#include "app_rig.h"
#include "settings_files.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::fileBytes;
using testing::TempDir;

std::string sep() {
  return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator));
}

TEST(UiLanguageFile, onlyTheFirstWordCounts) {
  EXPECT_EQ(parseUiLanguage("German\n"), "German");
  EXPECT_EQ(parseUiLanguage(" \r\n\tFrench Canadian\n"), "French");
  EXPECT_EQ(parseUiLanguage(""), "");
  EXPECT_EQ(parseUiLanguage(" \n "), "");
  EXPECT_EQ(parseUiLanguage(std::string("Dut\0ch x", 8)), std::string("Dut\0ch", 6));
}

TEST(UiLanguageFile, aFreshFolderGetsCfgAndEnglish) {
  TempDir work;
  const InstallTree tree(work.path());
  std::error_code error;
  EXPECT_EQ(readUiLanguage(tree, error), "English");
  EXPECT_FALSE(error);
  EXPECT_TRUE(std::filesystem::is_directory(work.path() / "Cfg"));
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "UI_LangConfigSave.cfg"), "English");
}

TEST(UiLanguageFile, anEmptyFileMeansEnglishAndIsLeftAlone) {
  TempDir work;
  work.write("Cfg/UI_LangConfigSave.cfg", "  \n");
  std::error_code error;
  EXPECT_EQ(readUiLanguage(InstallTree(work.path()), error), "English");
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "UI_LangConfigSave.cfg"), "  \n");
}

TEST(UiLanguageFile, isFoundWhateverItsCase) {
  TempDir work;
  work.write("cfg/ui_langconfigsave.CFG", "German");
  std::error_code error;
  EXPECT_EQ(readUiLanguage(InstallTree(work.path()), error), "German");
  EXPECT_FALSE(std::filesystem::exists(work.path() / "Cfg"));
}

TEST(UiLanguageFile, isWrittenAsTheWordAlone) {
  TempDir work;
  const InstallTree tree(work.path());
  ASSERT_FALSE(writeUiLanguage(tree, "German"));
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "UI_LangConfigSave.cfg"), "German");
}

TEST(DefaultFolders, aTemplateFilePathIsSplitAtItsLastSeparator) {
  const TemplatePath split = splitTemplatePath("D:\\Forms\\Site.utl");
  EXPECT_EQ(split.folder, "D:\\Forms\\");
  EXPECT_EQ(split.file, "Site.utl");
  EXPECT_EQ(splitTemplatePath("/home/tec/Forms/Site.utl").folder, "/home/tec/Forms/");
  EXPECT_EQ(splitTemplatePath("D:\\Forms\\").folder, "D:\\Forms\\");
  EXPECT_EQ(splitTemplatePath("D:\\Forms\\").file, "");
  EXPECT_EQ(splitTemplatePath("Site.utl").folder, "");
  EXPECT_EQ(splitTemplatePath("Site.utl").file, "Site.utl");
}

TEST(DefaultFolders, templatesLineGivesFolderAndFile) {
  TempDir work;
  const auto folders = resolveDefaultFolders(parseDefaultFolders("Templates=D:\\Forms\\Site.utl\n"),
                                             InstallTree(work.path()));
  EXPECT_EQ(folders.templateFolder, "D:\\Forms\\");
  EXPECT_EQ(folders.templateFile, "Site.utl");
  EXPECT_EQ(folders.traceTemplateFolder, (work.path() / "Templates" / "Trace").string() + sep());
  EXPECT_EQ(folders.traceTemplateFile, "");
}

TEST(DefaultFolders, noReadWriteHistoryLineGivesMarkerRecord) {
  TempDir work;
  const auto folders = resolveDefaultFolders(
      parseDefaultFolders("Templates=/x/\nTraceTemplates=/y/T.utl\n"), InstallTree(work.path()));
  EXPECT_EQ(folders.recordFolder, (work.path() / "MarkerRecord").string() + sep());
  EXPECT_EQ(folders.templateFolder, "/x/");
  EXPECT_EQ(folders.traceTemplateFolder, "/y/");
  EXPECT_EQ(folders.traceTemplateFile, "T.utl");
}

TEST(DefaultFolders, missingFileGivesTheDefaults) {
  TempDir work;
  const DefaultFolders folders = readDefaultFolders(InstallTree(work.path()));
  EXPECT_EQ(folders.templateFolder, (work.path() / "Templates").string() + sep());
  EXPECT_EQ(folders.templateFile, "");
  EXPECT_EQ(folders.traceTemplateFolder, (work.path() / "Templates" / "Trace").string() + sep());
  EXPECT_EQ(folders.recordFolder, (work.path() / "MarkerRecord").string() + sep());
  EXPECT_FALSE(std::filesystem::exists(work.path() / "Cfg"));
}

TEST(DefaultFolders, linesAreReadAsTheyStand) {
  const StoredFolders stored = parseDefaultFolders("# Templates=/no/\r\n"
                                                   "Other=/x/\n"
                                                   "Templates =/spaced/\n"
                                                   "no equals sign\n"
                                                   "Templates=/first/\n"
                                                   "Templates=/second/\r\n"
                                                   "ReadWriteHistory=/rec/=x\n"
                                                   "TraceTemplates=");
  EXPECT_EQ(stored.templates, "/second/");
  EXPECT_EQ(stored.readWriteHistory, "/rec/=x");
  EXPECT_EQ(stored.traceTemplates, "");
}

TEST(DefaultFolders, emptyValuesAndBareFileNamesKeepTheDefaultFolder) {
  TempDir work;
  const auto folders = resolveDefaultFolders(
      parseDefaultFolders("Templates=Site.utl\nTraceTemplates=\nReadWriteHistory=\n"),
      InstallTree(work.path()));
  EXPECT_EQ(folders.templateFolder, (work.path() / "Templates").string() + sep());
  EXPECT_EQ(folders.templateFile, "Site.utl");
  EXPECT_EQ(folders.traceTemplateFolder, (work.path() / "Templates" / "Trace").string() + sep());
  EXPECT_EQ(folders.recordFolder, (work.path() / "MarkerRecord").string() + sep());
}

TEST(DefaultFolders, aLongLineCountsItsFirst999Characters) {
  const std::string value(1200, 'a');
  const StoredFolders stored =
      parseDefaultFolders("Templates=" + value + "\nReadWriteHistory=/r/\n");
  EXPECT_EQ(stored.templates, std::string(999 - 10, 'a'));
  EXPECT_EQ(stored.readWriteHistory, "/r/");
}

TEST(DefaultFolders, areWrittenAsExactlyThreeLines) {
  const DefaultFolders folders{"D:\\Forms\\", "Site.utl", "/t/", "", "/rec/"};
  EXPECT_EQ(formatDefaultFolders(folders),
            "Templates=D:\\Forms\\Site.utl\nTraceTemplates=/t/\nReadWriteHistory=/rec/\n");
}

TEST(DefaultFolders, writeThenReadGivesTheSameFolders) {
  TempDir work;
  const InstallTree tree(work.path());
  const DefaultFolders folders{"/a/", "One.utl", "/b/", "Two.utl", "/c/"};
  ASSERT_FALSE(writeDefaultFolders(tree, folders));
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "DefaultTemplateFolders.cfg"),
            "Templates=/a/One.utl\nTraceTemplates=/b/Two.utl\nReadWriteHistory=/c/\n");
  const DefaultFolders back = readDefaultFolders(tree);
  EXPECT_EQ(back.templateFolder, "/a/");
  EXPECT_EQ(back.templateFile, "One.utl");
  EXPECT_EQ(back.traceTemplateFolder, "/b/");
  EXPECT_EQ(back.traceTemplateFile, "Two.utl");
  EXPECT_EQ(back.recordFolder, "/c/");
}

TEST(CountrySelectionFile, isFourBytesLittleEndian) {
  EXPECT_EQ(parseCountrySelection(std::string("\x02\x01\x00\x00", 4)), 258);
  EXPECT_EQ(parseCountrySelection(std::string("\xFF\xFF\xFF\xFF", 4)), -1);
  EXPECT_EQ(parseCountrySelection(std::string("\x05\x00\x00\x00\x09", 5)), 5);
  EXPECT_EQ(parseCountrySelection(std::string("\x05\x00\x00", 3)), std::nullopt);
  EXPECT_EQ(formatCountrySelection(258), std::string("\x02\x01\x00\x00", 4));
  EXPECT_EQ(formatCountrySelection(-2), std::string("\xFE\xFF\xFF\xFF", 4));
}

TEST(CountrySelectionFile, isCreatedWithZero) {
  TempDir work;
  const InstallTree tree(work.path());
  std::error_code error;
  EXPECT_EQ(readCountrySelection(tree, error), 0);
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "configSave.cfg"), std::string(4, '\0'));
  ASSERT_FALSE(writeCountrySelection(tree, 3));
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "configSave.cfg"), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(readCountrySelection(tree, error), 3);
}

TEST(CountrySelectionFile, aShortFileReadsAsZeroAndStays) {
  TempDir work;
  work.write("Cfg/configSave.cfg", std::string("\x07", 1));
  std::error_code error;
  EXPECT_EQ(readCountrySelection(InstallTree(work.path()), error), 0);
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "configSave.cfg"), "\x07");
}

TEST(ReadWholeFile, refusesFoldersMissingFilesAndOversizedFiles) {
  TempDir work;
  const auto file = work.write("f.bin", std::string(100, 'x'));
  EXPECT_EQ(readWholeFile(file), std::string(100, 'x'));
  EXPECT_EQ(readWholeFile(file, 99), std::nullopt);
  EXPECT_EQ(readWholeFile(work.path()), std::nullopt);
  EXPECT_EQ(readWholeFile(work.path() / "missing"), std::nullopt);
}

} // namespace
} // namespace tarnwick
