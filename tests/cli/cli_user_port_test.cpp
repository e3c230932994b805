#include "cli_rig.h"
#include "cli_user_port.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnwick::cli {
namespace {

using testing::ScriptedTerminal;

struct UserRig {
  GlobalOptions options;
  ScriptedTerminal terminal;
  std::ostringstream err;
  CliUserPort user{options, terminal, err};
};

TEST(CliUserPort, theSafeAnswerIsCancelWhereOfferedElseNo) {
  EXPECT_EQ(safeAnswer(Buttons::Ok), Answer::Ok);
  EXPECT_EQ(safeAnswer(Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(safeAnswer(Buttons::YesNo), Answer::No);
  EXPECT_EQ(safeAnswer(Buttons::YesNoCancel), Answer::Cancel);
}

TEST(CliUserPort, messagesGoToStandardErrorAsTheyAre) {
  UserRig rig;
  rig.user.message("Please select a port and try again !");
  EXPECT_EQ(rig.err.str(), "Please select a port and try again !\n");
}

TEST(CliUserPort, withoutATerminalTheSafeAnswerIsTakenAndSaid) {
  UserRig rig;
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(rig.user.ask("Save first?", Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(rig.user.ask("Go on?", Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(rig.err.str(),
            "Overwrite?\nNo answer given (no terminal to ask on): taking No. Use --yes or --no to "
            "answer.\n"
            "Save first?\nNo answer given (no terminal to ask on): taking Cancel. Use --yes or "
            "--no to answer.\n"
            "Go on?\nNo answer given (no terminal to ask on): taking Cancel. Use --yes or --no "
            "to answer.\n");
  EXPECT_TRUE(rig.terminal.prompts.empty());
}

TEST(CliUserPort, anOkQuestionIsOnlyShown) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  EXPECT_EQ(rig.user.ask("Done.", Buttons::Ok), Answer::Ok);
  EXPECT_EQ(rig.err.str(), "Done.\n");
  EXPECT_TRUE(rig.terminal.prompts.empty());
}

TEST(CliUserPort, yesAnswersYesOrOkWithoutAsking) {
  UserRig rig;
  rig.options.answer = PresetAnswer::Yes;
  rig.terminal.isInteractive = true;
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::Yes);
  EXPECT_EQ(rig.user.ask("Save first?", Buttons::YesNoCancel), Answer::Yes);
  EXPECT_EQ(rig.user.ask("Go on?", Buttons::OkCancel), Answer::Ok);
  EXPECT_TRUE(rig.terminal.prompts.empty());
  EXPECT_EQ(rig.err.str(), "Overwrite?\nAnswered Yes (--yes).\n"
                           "Save first?\nAnswered Yes (--yes).\n"
                           "Go on?\nAnswered OK (--yes).\n");
}

TEST(CliUserPort, noAnswersNoOrCancelWithoutAsking) {
  UserRig rig;
  rig.options.answer = PresetAnswer::No;
  rig.terminal.isInteractive = true;
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(rig.user.ask("Save first?", Buttons::YesNoCancel), Answer::No);
  EXPECT_EQ(rig.user.ask("Go on?", Buttons::OkCancel), Answer::Cancel);
  EXPECT_TRUE(rig.terminal.prompts.empty());
  EXPECT_EQ(rig.err.str(), "Overwrite?\nAnswered No (--no).\n"
                           "Save first?\nAnswered No (--no).\n"
                           "Go on?\nAnswered Cancel (--no).\n");
}

TEST(CliUserPort, onATerminalTheQuestionIsAskedUntilAnswered) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  rig.terminal.lines = {"maybe", "YES"};
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::Yes);
  EXPECT_EQ(rig.terminal.prompts,
            (std::vector<std::string>{"Overwrite? [y/n]: ", "Overwrite? [y/n]: "}));
  rig.terminal.lines = {"c"};
  EXPECT_EQ(rig.user.ask("Save first?", Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(rig.terminal.prompts.back(), "Save first? [y/n/c]: ");
  rig.terminal.lines = {"o"};
  EXPECT_EQ(rig.user.ask("Go on?", Buttons::OkCancel), Answer::Ok);
  EXPECT_EQ(rig.terminal.prompts.back(), "Go on? [o/c]: ");
  rig.terminal.lines = {"n"};
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(rig.err.str(), "");
}

TEST(CliUserPort, theEndOfInputOnATerminalTakesTheSafeAnswer) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  EXPECT_EQ(rig.user.ask("Overwrite?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(rig.err.str(),
            "No answer given (end of input): taking No. Use --yes or --no to answer.\n");
}

TEST(CliUserPort, thePortDialogIsAnsweredByPortAndBaud) {
  UserRig rig;
  rig.options.port = "/dev/ttyUSB3";
  rig.options.baud = "115200";
  const auto choice = rig.user.choosePort({"/dev/ttyUSB0"}, {"9600", "38400"}, "38400");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->port, "/dev/ttyUSB3");
  EXPECT_EQ(choice->rate, "115200");
}

TEST(CliUserPort, withoutPortThePortDialogIsCancelled) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  EXPECT_FALSE(rig.user.choosePort({"/dev/ttyUSB0"}, {"38400"}, "38400"));
  EXPECT_TRUE(rig.terminal.prompts.empty());
}

TEST(CliUserPort, promptsAreCancelledWithoutATerminal) {
  UserRig rig;
  EXPECT_FALSE(rig.user.prompt({"Name", "Enter a name", "", 10, false}));
  EXPECT_FALSE(rig.user.openFile({"Open Configuration", "*.cfg", "/tmp", ""}));
  EXPECT_EQ(rig.err.str(), "Name: no terminal to ask on; cancelled.\n"
                           "Open Configuration: no terminal to ask on; cancelled.\n");
}

TEST(CliUserPort, aPromptKeepsToItsLimitAndHidesPasswords) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  rig.terminal.lines = {"abcdefghijkl", "secret", ""};
  EXPECT_EQ(rig.user.prompt({"Name", "Enter a name", "", 10, false}), "abcdefghij");
  EXPECT_EQ(rig.user.prompt({"Password", "Enter the password", "", 0, true}), "SECRET");
  EXPECT_EQ(rig.user.prompt({"Name", "Frequency", "512", 0, false}), "512");
  EXPECT_EQ(rig.terminal.prompts,
            (std::vector<std::string>{"Name - Enter a name: ", "Password - Enter the password: ",
                                      "Name - Frequency [512]: "}));
  EXPECT_EQ(rig.terminal.hidden, (std::vector<bool>{false, true, false}));
}

TEST(CliUserPort, aFileDialogOffersItsDefault) {
  UserRig rig;
  rig.terminal.isInteractive = true;
  rig.terminal.lines = {"", "/tmp/other.cfg", ""};
  const FileSpec spec{"Save Configuration", "*.cfg", "/tmp", "a.cfg"};
  EXPECT_EQ(rig.user.saveFile(spec), "/tmp/a.cfg");
  EXPECT_EQ(rig.user.saveFile(spec), "/tmp/other.cfg");
  EXPECT_FALSE(rig.user.openFile({"Open", "", "/tmp", ""}));
  EXPECT_EQ(rig.terminal.prompts.front(), "Save Configuration (*.cfg) [/tmp/a.cfg]: ");
}

TEST(CliUserPort, aBeepGoesToTheTerminal) {
  UserRig rig;
  rig.user.beep();
  EXPECT_EQ(rig.terminal.beeps, 1);
}

} // namespace
} // namespace tarnwick::cli
