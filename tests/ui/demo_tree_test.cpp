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

// One tree for the tests that only read it: creating it is the slow part.
struct SharedTree {
  SharedTree() : result(createDemoTree(root())) {}
  fs::path root() const { return scratch.path() / "demo"; }
  TempDir scratch;
  DemoTreeResult result;
};

struct DemoRig {
  DemoRig() : result(tree().result) {}
  static const SharedTree &tree() {
    static const SharedTree shared;
    return shared;
  }
  fs::path root() const { return tree().root(); }
  fs::path at(const std::string &relative) const { return root() / relative; }
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

TEST(DemoTree, hasAnEnglishGlossary) {
  DemoRig rig;
  for (const char *file : {"PreLabels.dat", "PreTerms.dat", "Labels.txt", "Terms.txt"}) {
    const fs::path path = rig.at(std::string("Software/Glossary/English/") + file);
    EXPECT_TRUE(fs::is_regular_file(path)) << file;
    EXPECT_GT(fs::file_size(path), 0u) << file;
  }
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

std::vector<fs::path> templatesIn(const fs::path &folder) {
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".utl") {
      files.push_back(entry.path());
    }
  }
  return files;
}

TEST(DemoTree, hasMarkerAndTraceTemplates) {
  DemoRig rig;
  const auto marker = templatesIn(rig.at("Templates"));
  const auto trace = templatesIn(rig.at("Templates/Trace"));
  ASSERT_FALSE(marker.empty());
  ASSERT_FALSE(trace.empty());
  for (const auto &file : marker) {
    EXPECT_LE(fs::file_size(file), 1u + 112u) << file; // position byte and marker memory
  }
  for (const auto &file : trace) {
    EXPECT_EQ(static_cast<unsigned char>(fileBytes(file).at(0)), 0xFF) << file;
  }
}

// A restart keeps what the user made (a saved configuration, the chosen
// language); a reset says what it will lose, then rebuilds the tree.
TEST(DemoTree, aRestartKeepsWhatTheUserMadeAndAResetRecreatesIt) {
  TempDir scratch;
  const fs::path root = scratch.path() / "demo";
  const DemoTreeResult first = ensureDemoTree(root);
  ASSERT_FALSE(first.error) << first.what;
  ASSERT_GT(first.files, 0U);
  std::ofstream(root / "Config" / "site.cfg") << "a saved configuration";
  std::ofstream(root / "Cfg" / "UI_LangConfigSave.cfg") << "German\n";

  const DemoTreeResult restart = ensureDemoTree(root);
  EXPECT_FALSE(restart.error) << restart.what;
  EXPECT_EQ(restart.files, 0U);
  EXPECT_EQ(fileBytes(root / "Config" / "site.cfg"), "a saved configuration");
  EXPECT_EQ(fileBytes(root / "Cfg" / "UI_LangConfigSave.cfg"), "German\n");
  EXPECT_EQ(demoTreeChanges(root),
            (std::vector<fs::path>{"Cfg/UI_LangConfigSave.cfg", "Config/site.cfg"}));

  std::ofstream(root / "Cfg" / "stale.txt") << "left from an earlier run";
  const DemoTreeResult again = createDemoTree(root);
  EXPECT_FALSE(again.error) << again.what;
  EXPECT_FALSE(fs::exists(root / "Cfg" / "stale.txt"));
  EXPECT_FALSE(fs::exists(root / "Config" / "site.cfg"));
  EXPECT_EQ(fileBytes(root / "Cfg" / "UI_LangConfigSave.cfg"), "English\n");
  EXPECT_TRUE(fs::exists(root / "Cfg" / "CountryFreqMask.cfg"));
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
