#include "session.h"

#include "app_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::AppRig;
using testing::fileBytes;
using testing::TempDir;

std::string folderText(const fs::path &path) {
  return path.string() + "/";
}

TEST(StartUp, aFreshFolderGetsCfgAndTheLanguageFile) {
  AppRig rig;
  rig.app.start();
  EXPECT_TRUE(fs::is_directory(rig.work() / "Cfg"));
  EXPECT_EQ(rig.file("Cfg/UI_LangConfigSave.cfg"), "English");
  EXPECT_EQ(rig.app.language(), "English");
  EXPECT_FALSE(rig.app.languagePackLoaded());
  EXPECT_TRUE(rig.user.events().empty());
  EXPECT_FALSE(fs::exists(rig.work() / "Cfg" / "DefaultTemplateFolders.cfg"));
}

TEST(StartUp, readsTheDefaultFolders) {
  AppRig rig;
  rig.folder.write("Cfg/DefaultTemplateFolders.cfg",
                   "Templates=D:\\Forms\\Site.utl\nTraceTemplates=/t/\n");
  rig.app.start();
  EXPECT_EQ(rig.app.folders().templateFolder, "D:\\Forms\\");
  EXPECT_EQ(rig.app.folders().templateFile, "Site.utl");
  EXPECT_EQ(rig.app.folders().traceTemplateFolder, "/t/");
  EXPECT_EQ(rig.app.folders().recordFolder, folderText(rig.work() / "MarkerRecord"));
  EXPECT_EQ(rig.app.glossaryFolder(), rig.work() / "Software" / "Glossary" / "English");
}

TEST(StartUp, aLanguagePackReplacesTheTexts) {
  AppRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German\n");
  rig.folder.write("Software/Resources/German Language.strings",
                   "61283\tBitte einen Anschluss w\xC3\xA4hlen !\n");
  rig.app.start();
  EXPECT_EQ(rig.app.language(), "German");
  EXPECT_TRUE(rig.app.languagePackLoaded());
  EXPECT_EQ(rig.app.text(61283), "Bitte einen Anschluss w\xC3\xA4hlen !");
  EXPECT_EQ(rig.app.text(61284), "Port could not be open. Please try again !");
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(StartUp, aPackIsFoundWhateverTheCaseOfItsName) {
  AppRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German");
  rig.folder.write("software/resources/GERMAN LANGUAGE.STRINGS", "194\tBitte aktualisieren. \n");
  rig.app.start();
  EXPECT_TRUE(rig.app.languagePackLoaded());
  EXPECT_EQ(rig.app.text(194), "Bitte aktualisieren. ");
}

TEST(StartUp, aMissingPackIsNamedThenEnglishIsUsed) {
  AppRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "German");
  rig.app.start();
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{
                "Language Resources are not found. English will be used instead \n" +
                (rig.work() / "Software" / "Resources" / "German Language.strings").string()});
  EXPECT_FALSE(rig.app.languagePackLoaded());
  EXPECT_EQ(rig.app.text(61283), "Please select a port and try again !");
  EXPECT_EQ(rig.app.language(), "German");
}

TEST(StartUp, aLanguageNameWithSeparatorsIsNotLookedUpOutsideTheResources) {
  AppRig rig;
  rig.folder.write("Cfg/UI_LangConfigSave.cfg", "../Cfg/Evil");
  rig.folder.write("Cfg/Evil Language.strings", "61283\tX\n");
  rig.app.start();
  EXPECT_FALSE(rig.app.languagePackLoaded());
  EXPECT_EQ(rig.app.text(61283), "Please select a port and try again !");
  ASSERT_EQ(rig.user.messages().size(), 1u);
}

TEST(StartUp, theProgramBindsTheSerialLibrary) {
  TempDir work;
  ScriptedUser user;
  Session app(work.path(), user);
  app.start();
  // Built beside the tests, so it is found there.
  EXPECT_TRUE(app.context().serialLibrary.ready);
  EXPECT_TRUE(user.messages().empty());
}

TEST(Exit, theFoldersAreWrittenBackAsThreeLines) {
  AppRig rig;
  rig.folder.write("Cfg/DefaultTemplateFolders.cfg",
                   "# old\nTemplates=D:\\Forms\\Site.utl\nOther=1\n");
  rig.app.start();
  rig.app.folders().recordFolder = "/records/";
  EXPECT_FALSE(rig.app.finish());
  EXPECT_EQ(rig.file("Cfg/DefaultTemplateFolders.cfg"),
            "Templates=D:\\Forms\\Site.utl\nTraceTemplates=" +
                folderText(rig.work() / "Templates" / "Trace") + "\nReadWriteHistory=/records/\n");
  // Written once.
  rig.folder.write("Cfg/DefaultTemplateFolders.cfg", "changed");
  EXPECT_FALSE(rig.app.finish());
  EXPECT_EQ(rig.file("Cfg/DefaultTemplateFolders.cfg"), "changed");
}

TEST(Exit, theApplicationWritesTheFoldersWhenItEnds) {
  TempDir work;
  ScriptedUser user;
  VirtualClock clock{0};
  sim::SimPort sim{clock};
  {
    Session app(work.path(), sim, clock, user);
    app.start();
    app.folders().templateFile = "A.utl";
  }
  EXPECT_EQ(fileBytes(work.path() / "Cfg" / "DefaultTemplateFolders.cfg"),
            "Templates=" + folderText(work.path() / "Templates") +
                "A.utl\nTraceTemplates=" + folderText(work.path() / "Templates" / "Trace") +
                "\nReadWriteHistory=" + folderText(work.path() / "MarkerRecord") + "\n");
}

TEST(Exit, nothingIsWrittenWithoutAStart) {
  TempDir work;
  ScriptedUser user;
  VirtualClock clock{0};
  sim::SimPort sim{clock};
  { Session app(work.path(), sim, clock, user); }
  EXPECT_FALSE(fs::exists(work.path() / "Cfg"));
}

TEST(Exit, aFailedWriteIsReportedAndTheOldFileStays) {
  AppRig rig;
  rig.app.start();
  // A folder where the file should be cannot be replaced.
  fs::create_directories(rig.work() / "Cfg" / "DefaultTemplateFolders.cfg" / "keep");
  const std::error_code error = rig.app.finish();
  EXPECT_TRUE(error);
  ASSERT_EQ(rig.user.messages().size(), 1u);
  const std::string expected = "The file could not be saved: " +
                               (rig.work() / "Cfg" / "DefaultTemplateFolders.cfg").string() +
                               " (it is a folder)";
  EXPECT_EQ(rig.user.messages()[0], expected);
  EXPECT_TRUE(fs::is_directory(rig.work() / "Cfg" / "DefaultTemplateFolders.cfg" / "keep"));
}

} // namespace
} // namespace tarnwick
