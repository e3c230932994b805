#include "config_rig.h"
#include "supervisor_password.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::bytes;
using testing::ConfigRig;
using testing::fileBytes;

const std::string kInvalid = "Invalid Password.";
const std::string kLoginFirst = "You should be logged in as Supervisor to change the "
                                "password.\nPlease Login by clicking Supervisor Login button.";

std::filesystem::path passwordPath(const ConfigRig &rig) {
  return rig.folder() / "Cfg" / "cfgpass.en";
}

SupervisorLogin login(ConfigRig &rig) {
  return SupervisorLogin(rig.context, rig.configuration, PasswordFile(InstallTree(rig.folder())));
}

TEST(SupervisorPassword, theChosenPasswordsHaveTheirForm) {
  const std::string_view fixed = kDefaultSupervisorPassword;
  EXPECT_EQ(fixed.size(), 10U);
  for (char c : fixed) {
    EXPECT_TRUE(c >= 'A' && c <= 'Z');
  }
  const std::string_view master = kMasterSupervisorPassword;
  ASSERT_EQ(master.size(), 8U);
  for (std::size_t i = 0; i < master.size(); ++i) {
    if (i == 5) {
      EXPECT_EQ(master[i], ' ');
    } else {
      EXPECT_TRUE(master[i] >= 'A' && master[i] <= 'Z') << i;
    }
  }
  EXPECT_EQ(ReceiverConfiguration::defaultPassword(), fixed);
  EXPECT_EQ(ReceiverConfiguration::masterPassword(), master);
}

TEST(SupervisorPassword, eachCharacterIsTwoBytesHighBitsThenLowBits) {
  EXPECT_EQ(encodePassword("A"), bytes({0x40, 0x01}));
  EXPECT_EQ(encodePassword("Z9 "), bytes({0x50, 0x0A, 0x30, 0x09, 0x20, 0x00}));
  EXPECT_EQ(encodePassword(""), "");
  EXPECT_EQ(decodePassword(bytes({0x40, 0x01})), "A");
  EXPECT_EQ(decodePassword(encodePassword(kDefaultSupervisorPassword)), kDefaultSupervisorPassword);
}

TEST(SupervisorPassword, decodingStopsAtAnIncompletePairOrA0xFFByte) {
  EXPECT_EQ(decodePassword(bytes({0x40, 0x01, 0x40})), "A");
  EXPECT_EQ(decodePassword(bytes({0x40, 0x01, 0xFF, 0x02, 0x40, 0x02})), "A");
  EXPECT_EQ(decodePassword(bytes({0x40, 0x01, 0x40, 0xFF})), "A");
  // Either byte may carry any bits: the character is their OR.
  EXPECT_EQ(decodePassword(bytes({0x41, 0x01})), "A");
}

TEST(SupervisorPassword, atMost101CharactersAreRead) {
  const std::string stored = encodePassword(std::string(150, 'Q'));
  EXPECT_EQ(decodePassword(stored), std::string(101, 'Q'));
}

TEST(SupervisorPassword, theDialogUpperCasesAndKeeps19Characters) {
  EXPECT_EQ(passwordDialogText("abc Def"), "ABC DEF");
  EXPECT_EQ(passwordDialogText("abcdefghijklmnopqrstuvwxyz"), "ABCDEFGHIJKLMNOPQRS");
}

TEST(SupervisorPassword, aFreshInstallationCreatesTheFileWithTheDefaultPassword) {
  ConfigRig rig;
  const PasswordFile file(InstallTree(rig.folder()));
  EXPECT_FALSE(std::filesystem::exists(passwordPath(rig)));
  EXPECT_FALSE(file.check("WRONG"));
  EXPECT_EQ(fileBytes(passwordPath(rig)), encodePassword(kDefaultSupervisorPassword));
  EXPECT_TRUE(file.check(std::string(kDefaultSupervisorPassword)));
  EXPECT_TRUE(file.check(std::string(kMasterSupervisorPassword)));
}

TEST(SupervisorPassword, afterAChangeTheOldFailsAndTheNewAndMasterSucceed) {
  ConfigRig rig;
  const PasswordFile file(InstallTree(rig.folder()));
  ASSERT_FALSE(file.change("NEWONE"));
  EXPECT_EQ(fileBytes(passwordPath(rig)), encodePassword("NEWONE"));
  EXPECT_FALSE(file.check(std::string(kDefaultSupervisorPassword)));
  EXPECT_TRUE(file.check("NEWONE"));
  EXPECT_FALSE(file.check("newone"));
  EXPECT_FALSE(file.check("NEWONE "));
  EXPECT_TRUE(file.check(std::string(kMasterSupervisorPassword)));
}

TEST(SupervisorPassword, anEmptyPasswordIsAnEmptyFileAndAnEmptyFieldLogsIn) {
  ConfigRig rig;
  const PasswordFile file(InstallTree(rig.folder()));
  ASSERT_FALSE(file.change(""));
  EXPECT_EQ(fileBytes(passwordPath(rig)), "");
  rig.user.script.queuePrompt("");
  EXPECT_TRUE(login(rig).login());
  EXPECT_TRUE(rig.configuration.supervisorSession());
}

TEST(SupervisorPassword, aPasswordFileThatCannotBeCreatedFailsEveryCheck) {
  ConfigRig rig;
  rig.work.write("Cfg", "not a folder");
  const PasswordFile file(InstallTree(rig.folder()));
  EXPECT_FALSE(file.check(std::string(kMasterSupervisorPassword)));
  EXPECT_FALSE(file.check(std::string(kDefaultSupervisorPassword)));
}

TEST(SupervisorPassword, aFileThatExistsButCannotBeReadIsNotReset) {
  ConfigRig rig;
  std::filesystem::create_directories(passwordPath(rig)); // a folder in its place
  const PasswordFile file(InstallTree(rig.folder()));
  EXPECT_FALSE(file.check(std::string(kDefaultSupervisorPassword)));
  EXPECT_TRUE(std::filesystem::is_directory(passwordPath(rig)));
}

TEST(SupervisorLoginTest, loginAsksForThePasswordInTheHiddenUpperCaseField) {
  ConfigRig rig;
  rig.user.script.queuePrompt("quartzlock"); // typed in lower case, shown in upper case
  EXPECT_TRUE(login(rig).login());
  EXPECT_TRUE(rig.configuration.supervisorSession());
  ASSERT_EQ(rig.user.prompts.size(), 1U);
  const PromptSpec &spec = rig.user.prompts[0];
  EXPECT_EQ(spec.title, "Password...");
  EXPECT_EQ(spec.label, "Please Enter Supervisor Password...");
  EXPECT_TRUE(spec.secret);
  EXPECT_EQ(spec.maxLength, 19);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(SupervisorLoginTest, aWrongPasswordLogsOutWithAMessage) {
  ConfigRig rig;
  rig.configuration.setSupervisorSession(true);
  rig.user.script.queuePrompt("NOT IT");
  EXPECT_FALSE(login(rig).login());
  EXPECT_FALSE(rig.configuration.supervisorSession());
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kInvalid});
}

TEST(SupervisorLoginTest, cancellingTheLoginLogsOutSilently) {
  ConfigRig rig;
  rig.configuration.setSupervisorSession(true);
  rig.user.script.queuePrompt(std::nullopt);
  EXPECT_FALSE(login(rig).login());
  EXPECT_FALSE(rig.configuration.supervisorSession());
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(SupervisorLoginTest, theMasterPasswordLogsIn) {
  ConfigRig rig;
  rig.user.script.queuePrompt(std::string(kMasterSupervisorPassword));
  EXPECT_TRUE(login(rig).login());
}

TEST(SupervisorLoginTest, aLowerCasePasswordCanNeverBeTyped) {
  ConfigRig rig;
  ASSERT_FALSE(PasswordFile(InstallTree(rig.folder())).change("lower"));
  rig.user.script.queuePrompt("lower");
  EXPECT_FALSE(login(rig).login());
}

TEST(SupervisorLoginTest, changingThePasswordNeedsALogin) {
  ConfigRig rig;
  EXPECT_FALSE(login(rig).changePassword());
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{kLoginFirst});
  EXPECT_TRUE(rig.user.prompts.empty());
  EXPECT_FALSE(std::filesystem::exists(passwordPath(rig)));
}

TEST(SupervisorLoginTest, changeThenLogInWithTheNewPassword) {
  ConfigRig rig;
  rig.user.script.queuePrompt(std::string(kDefaultSupervisorPassword));
  rig.user.script.queuePrompt("fresh1");
  auto supervisor = login(rig);
  ASSERT_TRUE(supervisor.login());
  EXPECT_TRUE(supervisor.changePassword());
  EXPECT_EQ(rig.user.prompts[1].label, "Please Enter New Password...");
  EXPECT_TRUE(rig.user.prompts[1].secret);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"The Password is being changed to FRESH1"});
  EXPECT_EQ(fileBytes(passwordPath(rig)), encodePassword("FRESH1"));

  rig.user.script.queuePrompt(std::string(kDefaultSupervisorPassword));
  EXPECT_FALSE(supervisor.login());
  rig.user.script.queuePrompt("FRESH1");
  EXPECT_TRUE(supervisor.login());
}

TEST(SupervisorLoginTest, cancellingTheNewPasswordWritesNothing) {
  ConfigRig rig;
  rig.configuration.setSupervisorSession(true);
  rig.user.script.queuePrompt(std::nullopt);
  EXPECT_FALSE(login(rig).changePassword());
  EXPECT_FALSE(std::filesystem::exists(passwordPath(rig)));
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(SupervisorLoginTest, aPasswordThatCannotBeWrittenIsReported) {
  ConfigRig rig;
  rig.work.write("Cfg", "not a folder");
  rig.configuration.setSupervisorSession(true);
  rig.user.script.queuePrompt("NEW");
  EXPECT_FALSE(login(rig).changePassword());
  const auto messages = rig.user.messages();
  ASSERT_EQ(messages.size(), 2U);
  EXPECT_EQ(messages[1], "The file could not be saved: " + passwordPath(rig).string());
}

} // namespace
} // namespace tarnwick
