#include "cli_rig.h"
#include "demo_templates.h"
#include "sim_port.h"

#include <gtest/gtest.h>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

constexpr const char *kDevice = "/dev/ttyUSB0";

class TemplateCliTest : public ::testing::Test {
protected:
  TemplateCliTest() { EXPECT_TRUE(writeDemoTemplatesData(rig.work.path())); }
  std::string at(const std::string &relative) const {
    return (rig.work.path() / relative).string();
  }
  CliRig rig;
};

TEST_F(TemplateCliTest, makeThenShowARoundTrip) {
  ASSERT_EQ(
      rig.runIn({"template", "make", "--kind", "marker", "--user-list", "Gas", "--date-order",
                 "dmy", "--row", "Owner=City", "--row", "Date=311299", "-o", at("Templates/Site")}),
      0)
      << rig.err.str();
  EXPECT_EQ(rig.out.str(), at("Templates/Site.utl") + ": 54 bits, 71% Remaining\n");
  rig.out.str("");
  ASSERT_EQ(rig.runIn({"template", "show", at("Templates/Site.utl")}), 0);
  EXPECT_EQ(rig.out.str(), "kind: marker\nuser list: Gas\nwidth: 7\nOwner : City\nDate : 311299\n");
}

TEST_F(TemplateCliTest, refusalsEndWithStatus1AndTheEditorsMessage) {
  EXPECT_EQ(rig.runIn({"template", "make", "--kind", "marker", "--row", "Ownership=City", "-o",
                       at("Templates/A")}),
            1);
  EXPECT_NE(rig.err.str().find("Label can have Max. 8 Chars"), std::string::npos);
  EXPECT_EQ(rig.runIn({"template", "make", "--kind", "marker", "--x-type", "--row", "Owner=City",
                       "-o", at("Templates/abcdefghijklmnop")}),
            1);
  EXPECT_NE(rig.err.str().find("Please limit template name to 15 characters or less!"),
            std::string::npos);
  EXPECT_EQ(rig.runIn({"template", "make", "--kind", "round", "--row", "a=b", "-o", "x"}), 2);
  EXPECT_EQ(rig.runIn({"template", "make", "--kind", "marker", "-o", "x"}), 2);
  EXPECT_EQ(rig.runIn({"template", "frobnicate"}), 2);
}

TEST_F(TemplateCliTest, userListCommands) {
  ASSERT_EQ(rig.runIn({"userlist", "create", "Elec"}), 0);
  ASSERT_EQ(rig.runIn({"userlist", "add", "Elec", "Utility", "Owner"}), 0);
  ASSERT_EQ(rig.runIn({"userlist", "link", "Elec", "Utility", "Power", "Telephone"}), 0);
  ASSERT_EQ(rig.runIn({"userlist", "show", "Elec"}), 0);
  ASSERT_EQ(rig.runIn({"userlist", "list"}), 0);
  EXPECT_EQ(rig.out.str(), "Utility : Power, Telephone\nOwner\nAll\nElec\nGas\nWater\n");
  EXPECT_EQ(rig.runIn({"userlist", "create", "ALL"}), 1);
  EXPECT_NE(rig.err.str().find("Cannot Save with the name given. Please try again!"),
            std::string::npos);
}

TEST_F(TemplateCliTest, pullStagesTheReceiversTemplatesAfresh) {
  sim::Receiver &receiver = rig.serial.sim.addReceiver(kDevice);
  receiver.templates().trace = {{"Fiber", {0, 1}}, {"Main", {0, 2}}};
  rig.work.write("LocDrive/Stale.utl", std::vector<std::uint8_t>{1});
  ASSERT_EQ(rig.runIn({"--port", kDevice, "template", "pull", "--kind", "trace"}), 0)
      << rig.err.str();
  EXPECT_EQ(rig.out.str(), "Fiber.utl\nMain.utl\n");
  EXPECT_FALSE(std::filesystem::exists(rig.work.path() / "LocDrive" / "Stale.utl"));
}

TEST_F(TemplateCliTest, sendDownloadsTheFilesInOrderAndShowsEachStatus) {
  sim::Receiver &receiver = rig.serial.sim.addReceiver(kDevice);
  ASSERT_EQ(rig.runIn({"--port", kDevice, "template", "send", "--kind", "user",
                       at("Templates/WaterSvc.utl"), at("Templates/GasValve.utl")}),
            0)
      << rig.err.str();
  EXPECT_EQ(rig.out.str(), "Downloading... Please wait !\nSent 1 template(s) \n"
                           "Sent 2 template(s) \n");
  ASSERT_EQ(receiver.templates().user.size(), 2u);
  EXPECT_EQ(receiver.templates().user[0].name, "WaterSvc");
  EXPECT_EQ(receiver.templates().user[1].name, "GasValve");
}

TEST_F(TemplateCliTest, sendRefusesMoreFilesThanTheReceiverHoldsBeforeAnyByte) {
  const struct {
    const char *kind;
    std::size_t files;
    const char *message;
  } cases[] = {{"user", 33, "Maximum number of templates in the Locator is :32!!!"},
               {"trace", 5, "Maximum number of templates in the Locator is :4!!!"}};
  sim::Receiver &receiver = rig.serial.sim.addReceiver(kDevice);
  for (const auto &c : cases) {
    std::vector<std::string> args = {"--port", kDevice, "template", "send", "--kind", c.kind};
    args.insert(args.end(), c.files, at("Templates/GasValve.utl"));
    rig.err.str("");
    EXPECT_EQ(rig.runIn(args), 1);
    EXPECT_NE(rig.err.str().find(c.message), std::string::npos) << rig.err.str();
  }
  EXPECT_EQ(receiver.receivedText(), "");
}

} // namespace
} // namespace tarnwick::cli
