#include "cli_rig.h"
#include "demo_templates.h"
#include "templates_workspace.h"

#include <gtest/gtest.h>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

constexpr const char *kDevice = "/dev/ttyUSB0";
const std::string kDownloading = "Downloading... Please wait !\n";
const std::string kComplete = "Download complete!\n";

class DownloadsCommand : public ::testing::Test {
protected:
  DownloadsCommand() { EXPECT_TRUE(writeDemoTemplatesData(rig.work.path())); }
  sim::Receiver &addReceiver(sim::Faults faults = {}) {
    return rig.serial.sim.addReceiver(kDevice, {}, std::move(faults));
  }
  CliRig rig;
};

TEST_F(DownloadsCommand, glossarySendTakesTheLanguagesFolder) {
  const struct {
    std::vector<std::string> language;
    Glossary glossary;
  } cases[] = {{{}, demoEnglishGlossary()}, {{"--language", "german"}, demoGermanGlossary()}};
  for (const auto &c : cases) {
    CliRig run;
    ASSERT_TRUE(writeDemoTemplatesData(run.work.path()));
    const sim::Receiver &receiver = run.serial.sim.addReceiver(kDevice);
    std::vector<std::string> args = {"--port", kDevice, "glossary", "send"};
    args.insert(args.end(), c.language.begin(), c.language.end());
    ASSERT_EQ(run.runIn(args), 0) << run.err.str();
    EXPECT_EQ(run.out.str(), kDownloading + kComplete);
    ASSERT_EQ(receiver.downloads().groups().size(), 20U);
    EXPECT_EQ(receiver.downloads().group(7)->items[1], c.glossary.text(7, 1));
    EXPECT_EQ(receiver.downloads().glossaryVersion(), "11");
  }
}

TEST_F(DownloadsCommand, glossarySendFailsWithTheStatusOrTheMissingFolder) {
  sim::Faults faults;
  faults.downloads.noAckForVersion = true;
  const sim::Receiver &receiver = addReceiver(faults);
  EXPECT_EQ(rig.runIn({"--port", kDevice, "glossary", "send"}), 1);
  EXPECT_EQ(rig.out.str(), kDownloading + "Problem sending glossary version\n");

  rig.out.str("");
  const std::size_t before = receiver.bytesReceived();
  EXPECT_EQ(rig.runIn({"--port", kDevice, "glossary", "send", "--language", "Klingon"}), 1);
  EXPECT_NE(rig.err.str().find("Cannot find "), std::string::npos) << rig.err.str();
  EXPECT_EQ(rig.out.str(), "");
  EXPECT_EQ(receiver.bytesReceived(), before);
}

TEST_F(DownloadsCommand, userlistSendAndSendLinks) {
  const sim::Receiver &receiver = addReceiver();
  ASSERT_EQ(rig.runIn({"--port", kDevice, "userlist", "send", "Gas"}), 0) << rig.err.str();
  EXPECT_EQ(rig.out.str(), kDownloading + "Transferred  GasUser list\n" + kComplete);

  rig.out.str("");
  ASSERT_EQ(rig.runIn({"--port", kDevice, "userlist", "send-links", "Gas"}), 0) << rig.err.str();
  EXPECT_EQ(rig.out.str(), kDownloading + kComplete);

  TemplatesWorkspace workspace(rig.work.path());
  workspace.useSavedGlossary();
  const UserList *gas = workspace.userLists.find("Gas");
  ASSERT_NE(gas, nullptr);
  ASSERT_EQ(receiver.downloads().lists().size(), 1U);
  EXPECT_EQ(receiver.downloads().lists()[0],
            (sim::ReceivedList{"Gas", {gas->labels.begin(), gas->labels.end()}}));
  std::vector<sim::ReceivedTable> tables;
  for (const DescriptionEntry &entry : workspace.userLists.descriptionEntries("Gas")) {
    std::vector<std::uint16_t> codes;
    for (const GlossaryRef code : entry.codes) {
      if (code != 0) {
        codes.push_back(code);
      }
    }
    tables.push_back({entry.header, codes, false});
  }
  EXPECT_FALSE(tables.empty());
  EXPECT_EQ(receiver.downloads().tables(), tables);
}

TEST_F(DownloadsCommand, userlistSendOfAnUnknownListSendsNothing) {
  const sim::Receiver &receiver = addReceiver();
  EXPECT_EQ(rig.runIn({"--port", kDevice, "userlist", "send", "Nope"}), 1);
  EXPECT_EQ(rig.err.str(), "No user list Nope.\n");
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

} // namespace
} // namespace tarnwick::cli
