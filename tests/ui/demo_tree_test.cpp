#include "country_list.h"
#include "demo_bitmap.h"
#include "demo_tree.h"
#include "help_viewer.h"
#include "settings_files.h"
#include "shipped_versions.h"
#include "temp_dir.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tarnwick::demo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string fileBytes(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QImage loadImage(const fs::path &path) {
  return QImage(QFile::decodeName(path.c_str()));
}

struct DemoRig {
  DemoRig() : result(createDemoTree(root())) {}
  fs::path root() const { return scratch.path() / "demo"; }
  fs::path at(const std::string &relative) const { return root() / relative; }

  TempDir scratch;
  DemoTreeResult result;
};

TEST(DemoTree, countriesIncludeNoneAndTheUnitedStatesWithPictures) {
  DemoRig rig;
  ASSERT_FALSE(rig.result.error) << rig.result.what;
  const auto entries = parseCountryList(fileBytes(rig.at("Cfg/CountryFreqMask.cfg")));
  std::vector<std::string> names;
  for (const auto &entry : entries) {
    names.push_back(entry.name);
  }
  EXPECT_EQ(names, demoCountries());
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "None");
  EXPECT_EQ(names[kDemoCountryIndex], "United States of America");
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const QImage listImage = loadImage(rig.at("Cfg/" + entries[i].listImage));
    const QImage picture = loadImage(rig.at("Cfg/" + entries[i].picture));
    EXPECT_EQ(listImage.size(), QSize(16, 18)) << entries[i].name;
    EXPECT_EQ(picture.size(), QSize(128, 100)) << entries[i].name;
  }
  // "None" has no pictures: the program's built-in ones show instead.
  EXPECT_FALSE(fs::exists(rig.at("Cfg/" + entries[0].listImage)));
  EXPECT_EQ(fileBytes(rig.at("Cfg/CountryFreqMask_CEPWR.cfg")),
            fileBytes(rig.at("Cfg/CountryFreqMask.cfg")));
}

TEST(DemoTree, settingsSelectTheDemoCountryInEnglish) {
  DemoRig rig;
  InstallTree tree(rig.root());
  std::error_code error;
  EXPECT_EQ(readCountrySelection(tree, error), kDemoCountryIndex);
  EXPECT_EQ(readUiLanguage(tree, error), "English");
}

TEST(DemoTree, shippedVersionsMatchTheSimulatedReceiver) {
  DemoRig rig;
  const ShippedVersions versions = ShippedVersions::readFile(rig.root());
  EXPECT_EQ(versions.version(VersionSlot::A), 23);
  EXPECT_EQ(versions.version(VersionSlot::B), 12);
  EXPECT_EQ(versions.version(VersionSlot::C), 31);
  EXPECT_EQ(versions.version(VersionSlot::D), kDemoReceiver.softwareVersion); // model 48
  EXPECT_EQ(versions.version(VersionSlot::F), 41);
  EXPECT_EQ(versions.version(VersionSlot::G), 8);
  EXPECT_EQ(versions.version(VersionSlot::H), 3);
}

TEST(DemoTree, helpHeadingsMatchTheTopicFiles) {
  DemoRig rig;
  const auto files = helpTopicFiles(rig.at("Help"));
  const auto headings = parseHelpHeadings(fileBytes(rig.at("Help/Help Headings.cfg")));
  EXPECT_GE(files.size(), 3u);
  EXPECT_EQ(headings.size(), files.size());
}

TEST(DemoTree, glossaryRecordsStayInsideTheirGroups) {
  DemoRig rig;
  const std::string labels = fileBytes(rig.at("Software/Glossary/English/PreLabels.dat"));
  ASSERT_FALSE(labels.empty());
  // code, unused byte, index, text, line feed
  std::size_t at = 0;
  int records = 0;
  while (at < labels.size()) {
    const int code = static_cast<unsigned char>(labels[at]);
    const int index = static_cast<unsigned char>(labels[at + 2]);
    EXPECT_GE(code, 7);
    EXPECT_LE(code, 10);
    EXPECT_LT(index, code == 10 ? 32 : code == 9 ? 16 : 8);
    const auto end = labels.find('\n', at + 3);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - at - 3, 8u); // label texts are at most 8 characters
    at = end + 1;
    ++records;
  }
  EXPECT_GT(records, 8);
  // The date label is entry 5 of group code 8.
  EXPECT_NE(labels.find(std::string("\x08\x00\x05", 3) + "Date\n"), std::string::npos);
}

TEST(DemoTree, everyPackageFolderHasItsApplicationAndLanguageImages) {
  DemoRig rig;
  for (const char *file :
       {"Software/Relrpk.bin", "KvSoftware/KvRelrpk.bin", "SoftwareJ/Relrpk.bin",
        "SoftwareG2/Relrpk.bin", "SoftwareI/Relrpk.bin", "SoftwareL/Relrpk.bin",
        "SoftwareS/Relrpk.bin", "KvSoftware/Language.bin", "SoftwareG2/Language/None/Language.bin",
        "SoftwareG2/8360MTQ.bin", "SoftwareG2/8360MTq Help.txt", "SoftwareG2/USConfigData.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(rig.at(file))) << file;
    EXPECT_GT(fs::file_size(rig.at(file)), 0u) << file;
  }
  EXPECT_EQ(fileBytes(rig.at("SoftwareG2/USConfigData.txt")).rfind("ew ", 0), 0u);
}

TEST(DemoTree, templatesStartWithTheirUserListPosition) {
  DemoRig rig;
  const std::string marker = fileBytes(rig.at("Templates/GasMain.utl"));
  const std::string trace = fileBytes(rig.at("Templates/Trace/Fiber.utl"));
  ASSERT_GE(marker.size(), 2u);
  ASSERT_GE(trace.size(), 3u);
  EXPECT_EQ(marker[0], '\0');
  EXPECT_EQ(static_cast<unsigned char>(trace[0]), 0xFF);
  EXPECT_EQ(trace[1], '\0');
  EXPECT_LE(marker.size() - 1, 112u);
  // 7-bit code 11 (a literal label) first: 0001011 in the top bits.
  EXPECT_EQ(static_cast<unsigned char>(marker[1]) >> 1, 11);
}

TEST(DemoTree, isRecreatedOnEveryRun) {
  DemoRig rig;
  std::ofstream(rig.at("Cfg/stale.txt")) << "left from an earlier run";
  const DemoTreeResult again = createDemoTree(rig.root());
  EXPECT_FALSE(again.error) << again.what;
  EXPECT_FALSE(fs::exists(rig.at("Cfg/stale.txt")));
  EXPECT_EQ(again.files, rig.result.files);
}

TEST(DemoTree, refusesAFolderThatIsNotADemoTree) {
  TempDir scratch;
  std::ofstream(scratch.path() / "precious.txt") << "keep me";
  const DemoTreeResult result = createDemoTree(scratch.path());
  EXPECT_TRUE(result.error);
  EXPECT_TRUE(fs::exists(scratch.path() / "precious.txt"));
  EXPECT_FALSE(fs::exists(scratch.path() / "Cfg"));
}

TEST(DemoBitmap, writesABottomUpBmpThatQtReads) {
  Bitmap bitmap(3, 2, {10, 20, 30});
  bitmap.set(0, 0, {255, 0, 0});
  const std::string bytes = bitmap.bmpBytes();
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.size(), 54u + 2 * 12u); // rows padded to 12 bytes
  const QImage image =
      QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP");
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(2, 1), QColor(10, 20, 30));
}

} // namespace
} // namespace tarnwick::demo
