#include "cli_rig.h"

#include <gtest/gtest.h>

namespace tarnwick::cli {
namespace {

using testing::CliRig;

TEST(Grammar, aCommandIsRequired) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({}), 2);
  EXPECT_NE(rig.err.str().find("A subcommand is required"), std::string::npos) << rig.err.str();
  EXPECT_TRUE(rig.serial.boundFolders.empty());
}

TEST(Grammar, anUnknownCommandOrOptionIsAUsageError) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"frobnicate"}), 2);
  EXPECT_EQ(rig.runIn({"--colour", "ports"}), 2);
  EXPECT_TRUE(rig.serial.boundFolders.empty());
}

TEST(Grammar, yesAndNoExcludeEachOther) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"--yes", "--no", "ports"}), 2);
  EXPECT_NE(rig.err.str().find("--yes excludes --no"), std::string::npos) << rig.err.str();
}

TEST(Grammar, onlyTheDialogsRatesAreAccepted) {
  CliRig rig;
  EXPECT_EQ(rig.runIn({"--baud", "12345", "ports"}), 2);
  EXPECT_EQ(rig.runIn({"--baud", "fast", "ports"}), 2);
  EXPECT_TRUE(rig.serial.boundFolders.empty());
}

TEST(Grammar, theWorkingFolderMustExist) {
  CliRig rig;
  EXPECT_EQ(rig.run({"--workdir", (rig.work.path() / "missing").string(), "ports"}), 2);
  EXPECT_TRUE(rig.serial.boundFolders.empty());
}

TEST(Grammar, helpListsTheCommandsAndSucceeds) {
  CliRig rig;
  EXPECT_EQ(rig.run({"--help"}), 0);
  const std::string help = rig.out.str();
  for (const char *word : {"--workdir", "--port", "--baud", "--yes", "--no", "--trace", "--json",
                           "--version", "--demo", "ports", "version"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

TEST(Grammar, globalOptionsMayFollowTheCommand) {
  CliRig rig;
  rig.serial.sim.addReceiver("/dev/ttyUSB0");
  EXPECT_EQ(rig.run({"version", "--port", "/dev/ttyUSB0", "--workdir", rig.work.path().string()}),
            0);
  EXPECT_EQ(rig.serial.boundFolders, std::vector<std::filesystem::path>{rig.work.path()});
  EXPECT_EQ(rig.out.str().substr(0, 27), "Receiver Model: 8360M-Tq/U\n");
}

} // namespace
} // namespace tarnwick::cli
