#include "cli_rig.h"
#include "demo_templates.h"

#include <gtest/gtest.h>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

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

} // namespace
} // namespace tarnwick::cli
