#include "scripted_user.h"

#include <gtest/gtest.h>

#include <thread>

namespace tarnwick {
namespace {

using Kind = ScriptedUser::Kind;

TEST(ScriptedUser, answersInOrderAndRecordsEveryDialog) {
  ScriptedUser user;
  user.queueAnswer(Answer::Yes);
  user.queueAnswer(Answer::No);
  user.queueOpenFile("/tmp/a.cfg");
  user.queuePrompt(std::string("NAME"));
  user.message("first");
  EXPECT_EQ(user.ask("Continue ?", Buttons::YesNo), Answer::Yes);
  EXPECT_EQ(user.ask("Really ?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(user.openFile({"Open", "*.cfg", "/tmp", ""}), "/tmp/a.cfg");
  EXPECT_EQ(user.prompt({"Name", "Label", "", 8, false}), "NAME");
  user.beep();
  const auto events = user.events();
  ASSERT_EQ(events.size(), 6U);
  EXPECT_EQ(events[0].kind, Kind::Message);
  EXPECT_EQ(events[1].kind, Kind::Ask);
  EXPECT_EQ(events[1].text, "Continue ?");
  EXPECT_EQ(events[1].buttons, Buttons::YesNo);
  EXPECT_EQ(events[3].kind, Kind::OpenFile);
  EXPECT_EQ(events[3].text, "Open");
  EXPECT_EQ(events[4].kind, Kind::Prompt);
  EXPECT_EQ(events[5].kind, Kind::Beep);
  EXPECT_EQ(user.messages(), std::vector<std::string>{"first"});
  EXPECT_EQ(user.unscriptedCount(), 0U);
}

TEST(ScriptedUser, unscriptedDialogsGetTheSafeAnswer) {
  ScriptedUser user;
  EXPECT_EQ(user.ask("?", Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(user.ask("?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(user.ask("?", Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(user.ask("?", Buttons::Ok), Answer::Ok);
  EXPECT_FALSE(user.saveFile({}));
  EXPECT_FALSE(user.choosePort({"/dev/ttyUSB0"}, {"38400"}, "38400"));
  EXPECT_EQ(user.unscriptedCount(), 6U);
}

TEST(ScriptedUser, emptyPortChoiceTakesTheDialogsSelection) {
  ScriptedUser user;
  user.queuePortChoice(PortChoice{});
  user.queuePortChoice(PortChoice{"/dev/ttyUSB1", ""});
  const auto first = user.choosePort({"/dev/ttyUSB0", "/dev/ttyUSB1"}, {"9600", "38400"}, "38400");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->port, "/dev/ttyUSB0");
  EXPECT_EQ(first->rate, "38400");
  const auto second = user.choosePort({"/dev/ttyUSB0", "/dev/ttyUSB1"}, {"9600"}, "9600");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->port, "/dev/ttyUSB1");
  EXPECT_EQ(second->rate, "9600");
}

TEST(ScriptedUser, workersMayReachItConcurrently) {
  ScriptedUser user;
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) {
      user.message("worker");
    }
  });
  for (int i = 0; i < 200; ++i) {
    user.message("main");
  }
  worker.join();
  EXPECT_EQ(user.messages().size(), 400U);
}

} // namespace
} // namespace tarnwick
