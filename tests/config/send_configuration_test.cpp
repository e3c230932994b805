#include "config_rig.h"
#include "send_configuration.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarnwick {
namespace {

using testing::ConfigRig;
using Result = SendConfiguration::Result;
using Words = std::vector<std::string>;
constexpr auto kOff = SettingState::Disabled;
constexpr auto kOn = SettingState::Enabled;
constexpr auto kMasked = SettingState::Masked;
constexpr auto kNone = SettingState::Unavailable;

const std::string kCompleted = "Download completed successfully!";
const std::string kProblem = "Problem in download";

// Model 9 (8385M-Tq/U) answers to codes 4, 44 and 51.
constexpr std::uint8_t kModel9Code = 44;

const std::string kModel9Lines = "units 0 1 0\r"
                                 "date 1 0\r"
                                 "mkr 1 1 1 1 1 1 1\r"
                                 "pcmmkr 0 0 0 0 0 0 0\r"
                                 "lact 1 1 1 1 1 0 0\r"
                                 "pcmact 0 0 0 0 0 0 0\r"
                                 "lpow 1 1 1 1 1 1 1 1\r"
                                 "pcmpow 0 0 0 0 0 0 0 0\r"
                                 "lpas 1 1 0\r"
                                 "pcmpas 0 0 0\r"
                                 "tact 1 1 1 1 1 0 0\r"
                                 "pcmtact 0 0 0 0 0 0 0\r"
                                 "tpow 1 1 1 1 1 1 1 1\r"
                                 "pcmtpow 0 0 0 0 0 0 0 0\r"
                                 "tpas 1 1 0\r"
                                 "pcmtpas 0 0 0\r"
                                 "laux 1 1 0\r"
                                 "taux 1 1 0\r"
                                 "ludf 0 0 0 0\r"
                                 "pcmaux 0 0 0 0 0 0 0\r"
                                 "tudf 0 0 0 0\r"
                                 "pcmtaux 0 0 0 0 0 0 0\r";

ConfigurationToSend defaultsOf(ModelIndex model) {
  return {model, defaultLists(model)};
}

SettingList &lines(ConfigurationToSend &configuration, ListId id) {
  return listOf(configuration.lists, id);
}

void setStates(SettingList &list, std::initializer_list<SettingState> states) {
  int entry = 0;
  for (SettingState state : states) {
    list.at(entry++).state = state;
  }
}

struct SentLine {
  std::int64_t firstMs;
  std::int64_t endMs; // the "\r"
  std::string text;
};

// The lines the receiver got, with the times of their first byte and "\r".
std::vector<SentLine> sentLines(const sim::Receiver &receiver) {
  std::vector<SentLine> result;
  SentLine line{-1, -1, {}};
  for (const auto &entry : receiver.transcript()) {
    if (entry.dir != sim::Direction::ToReceiver) {
      continue;
    }
    if (line.firstMs < 0) {
      line.firstMs = entry.timeMs;
    }
    if (entry.byte == '\r') {
      line.endMs = entry.timeMs;
      result.push_back(line);
      line = {-1, -1, {}};
    } else {
      line.text.push_back(static_cast<char>(entry.byte));
    }
  }
  return result;
}

const SentLine &lineStarting(const std::vector<SentLine> &all, const std::string &word) {
  const auto found = std::find_if(all.begin(), all.end(), [&](const SentLine &line) {
    return line.text == word || line.text.rfind(word + " ", 0) == 0;
  });
  if (found == all.end()) {
    throw std::runtime_error("no line " + word);
  }
  return *found;
}

Result sendOn(ConfigRig &rig, const ConfigurationToSend &configuration,
              SendConfiguration *tool = nullptr) {
  SendConfiguration own(rig.context);
  SendConfiguration &send = tool != nullptr ? *tool : own;
  CancelToken cancel;
  return send.send(configuration, cancel);
}

TEST(SendConfigurationPlan, model9DefaultsInOrderWithFourteenProgressSteps) {
  const auto plan = planConfigurationLines(defaultsOf(9));
  std::string text;
  int steps = 0;
  for (const PlannedLine &line : plan) {
    text += line.text + "\r";
    steps += line.advancesProgress ? 1 : 0;
  }
  EXPECT_EQ(text, kModel9Lines);
  EXPECT_EQ(steps, SendConfiguration::kProgressSteps);
  EXPECT_TRUE(plan.back().advancesProgress);
  EXPECT_EQ(plan[18].text, "ludf 0 0 0 0");
  EXPECT_EQ(plan[18].pauseBeforeMs, 200);
}

TEST(SendConfigurationPlan, valueEncodings) {
  for (auto [state, plain, mask, lock] :
       {std::tuple{kOff, false, false, false}, std::tuple{kOn, true, false, false},
        std::tuple{kMasked, false, true, true}, std::tuple{kNone, false, true, false}}) {
    EXPECT_EQ(plainValue(state), plain);
    EXPECT_EQ(maskValue(state), mask);
    EXPECT_EQ(lockValue(state), lock);
  }
}

TEST(SendConfigurationPlan, paddingGivesTheReceiverAFixedNumberOfValues) {
  ConfigurationToSend six = defaultsOf(13);
  const auto plan = planConfigurationLines(six);
  const auto textOf = [&](const std::string &word) {
    for (const auto &line : plan) {
      if (line.text.rfind(word + " ", 0) == 0) {
        return line.text;
      }
    }
    return std::string();
  };
  EXPECT_EQ(textOf("lact"), "lact 1 1 1 1 1 1 0");
  EXPECT_EQ(textOf("tact"), "tact 1 1 1 1 1 0 0");
  EXPECT_EQ(textOf("lpas"), "lpas 1 1 1");
  EXPECT_EQ(textOf("tpas"), "tpas 1 1 0");
  EXPECT_EQ(textOf("pcmpas"), "pcmpas 0 0 0");
}

TEST(SendConfigurationPlan, userSlotsSetFirstThenUnset) {
  SettingList slots = listOf(defaultLists(9), ListId::LocateUser);
  EXPECT_EQ(userSlotOrder(slots), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_FALSE(userFrequencyLine(slots));
  slots.at(1).name = "75";
  slots.at(3).name = "300";
  EXPECT_EQ(userSlotOrder(slots), (std::vector<int>{1, 3, 0, 2}));
  EXPECT_EQ(userFrequencyLine(slots), "udf 2 75 300");
}

class SendConfigurationTest : public ::testing::Test {
protected:
  ConfigRig rig;
};

TEST_F(SendConfigurationTest, model9DefaultsExactTranscript) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  SendConfiguration send(rig.context);
  EXPECT_EQ(sendOn(rig, defaultsOf(9), &send), Result::Completed);
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rlocsw\rkb 12\r" + kModel9Lines + "swreset\r");
  EXPECT_EQ(receiver.acknowledgedSettings(), 22);
  EXPECT_EQ(receiver.restarts(), 1);
  const auto snapshot = send.snapshot();
  EXPECT_EQ(snapshot.status, kCompleted);
  EXPECT_FALSE(snapshot.progressVisible);
  EXPECT_EQ(snapshot.progressPosition, 0);
  EXPECT_EQ(snapshot.result, Result::Completed);
  EXPECT_FALSE(snapshot.running);
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_TRUE(rig.context.portState.isOpen());
}

TEST_F(SendConfigurationTest, eachLineIsPacedAndWaitsForItsAck) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  ASSERT_EQ(sendOn(rig, defaultsOf(9)), Result::Completed);
  const auto all = sentLines(receiver);
  const SentLine &units = lineStarting(all, "units");
  EXPECT_EQ(units.endMs - units.firstMs, 25 * 11);
  // 25 ms after the last byte, 25 ms more, then the ACK that is already there.
  EXPECT_EQ(lineStarting(all, "date").firstMs, units.endMs + 50);
  // 200 ms before the user frequencies, 500 ms before the restart.
  EXPECT_EQ(lineStarting(all, "ludf").firstMs, lineStarting(all, "taux").endMs + 250);
  EXPECT_EQ(lineStarting(all, "swreset").firstMs, lineStarting(all, "pcmtaux").endMs + 550);
  // "kb 12" is sent blind with 25 ms more after its last byte; then 25 ms
  // before the first line.
  EXPECT_EQ(units.firstMs, lineStarting(all, "kb").endMs + 75);
}

TEST_F(SendConfigurationTest, model6130TqGetsOnlyUnitsDateAndMarkerTypes) {
  sim::Receiver &receiver = rig.openReceiver(40);
  EXPECT_EQ(sendOn(rig, defaultsOf(0)), Result::Completed);
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rlocsw\rkb 12\r"
                                     "units 0 1 0\r"
                                     "date 1 0\r"
                                     "mkr 1 1 1 1 1 1 1\r"
                                     "pcmmkr 0 0 0 0 0 0 0\r"
                                     "swreset\r");
}

TEST_F(SendConfigurationTest, the6130KvHasNoFrequencyCommandsEither) {
  sim::Receiver &receiver = rig.openReceiver(12);
  EXPECT_EQ(sendOn(rig, defaultsOf(11)), Result::Completed);
  EXPECT_EQ(receiver.acknowledgedSettings(), 4);
  EXPECT_TRUE(receiver.lastArguments("lact").empty());
}

TEST_F(SendConfigurationTest, markerTypesAsPlainAndMaskLines) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  ConfigurationToSend configuration = defaultsOf(9);
  setStates(lines(configuration, ListId::MarkerTypes), {kOn, kOn, kMasked, kOn, kNone, kOn, kOff});
  ASSERT_EQ(sendOn(rig, configuration), Result::Completed);
  EXPECT_EQ(lineStarting(sentLines(receiver), "mkr").text, "mkr 1 1 0 1 0 1 0");
  EXPECT_EQ(lineStarting(sentLines(receiver), "pcmmkr").text, "pcmmkr 0 0 1 0 1 0 0");
  EXPECT_EQ(receiver.lastArguments("pcmmkr"), (Words{"0", "0", "1", "0", "1", "0", "0"}));
}

TEST_F(SendConfigurationTest, aFiveEntryActiveListIsPaddedToSevenValues) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  ConfigurationToSend configuration = defaultsOf(9);
  setStates(lines(configuration, ListId::LocateActive), {kOn, kOff, kOn, kOn, kMasked});
  ASSERT_EQ(sendOn(rig, configuration), Result::Completed);
  EXPECT_EQ(receiver.lastArguments("lact"), (Words{"1", "0", "1", "1", "0", "0", "0"}));
  EXPECT_EQ(receiver.lastArguments("pcmact"), (Words{"0", "0", "0", "0", "1", "0", "0"}));
  const auto all = sentLines(receiver);
  EXPECT_EQ(lineStarting(all, "lact").text, "lact 1 0 1 1 0 0 0");
  EXPECT_EQ(lineStarting(all, "pcmact").text, "pcmact 0 0 0 0 1 0 0");
}

TEST_F(SendConfigurationTest, withoutUserFrequenciesNoUdfLine) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  ConfigurationToSend configuration = defaultsOf(9);
  setStates(lines(configuration, ListId::LocateAux), {kMasked, kNone});
  setStates(lines(configuration, ListId::LocateUser), {kOff, kOn, kMasked, kOff});
  ASSERT_EQ(sendOn(rig, configuration), Result::Completed);
  const auto all = sentLines(receiver);
  EXPECT_EQ(std::count_if(all.begin(), all.end(),
                          [](const SentLine &line) { return line.text.rfind("udf", 0) == 0; }),
            0);
  EXPECT_EQ(lineStarting(all, "ludf").text, "ludf 0 0 0 0");
  // The aux locks (Masked only), " 0", then the four slot locks.
  EXPECT_EQ(lineStarting(all, "pcmaux").text, "pcmaux 1 0 0 0 0 1 0");
  EXPECT_EQ(lineStarting(all, "laux").text, "laux 0 0 0");
  EXPECT_TRUE(receiver.lastArguments("udf").empty());
}

TEST_F(SendConfigurationTest, userFrequenciesInSlotsTwoAndFourComeFirst) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  ConfigurationToSend configuration = defaultsOf(9);
  for (ListId id : {ListId::LocateUser, ListId::ToneUser}) {
    lines(configuration, id).at(1).name = "75";
    lines(configuration, id).at(3).name = "300";
  }
  setStates(lines(configuration, ListId::LocateUser), {kMasked, kOn, kOff, kOff});
  setStates(lines(configuration, ListId::ToneUser), {kOff, kMasked, kMasked, kOn});
  ASSERT_EQ(sendOn(rig, configuration), Result::Completed);
  const auto all = sentLines(receiver);
  EXPECT_EQ(lineStarting(all, "udf").text, "udf 2 75 300");
  // Slot order 2, 4, 1, 3.
  EXPECT_EQ(lineStarting(all, "ludf").text, "ludf 1 0 0 0");
  EXPECT_EQ(lineStarting(all, "tudf").text, "tudf 0 1 0 0");
  EXPECT_EQ(lineStarting(all, "pcmaux").text, "pcmaux 0 0 0 0 0 1 0");
  EXPECT_EQ(lineStarting(all, "pcmtaux").text, "pcmtaux 0 0 0 1 0 0 1");
  EXPECT_EQ(receiver.lastArguments("udf"), (Words{"2", "75", "300"}));
  EXPECT_EQ(lineStarting(all, "udf").firstMs, lineStarting(all, "taux").endMs + 250);
  EXPECT_EQ(lineStarting(all, "ludf").firstMs, lineStarting(all, "udf").endMs + 50);
}

TEST_F(SendConfigurationTest, modelCode2IsAcceptedFor8385MU) {
  sim::Receiver &receiver = rig.openReceiver(2);
  EXPECT_EQ(sendOn(rig, defaultsOf(7)), Result::Completed);
  EXPECT_EQ(receiver.acknowledgedSettings(), 22);
}

TEST_F(SendConfigurationTest, modelCode2IsRefusedFor8360MEAndTheMessageNames8385MU) {
  sim::Receiver &receiver = rig.openReceiver(2);
  EXPECT_EQ(sendOn(rig, defaultsOf(2)), Result::ModelMismatch);
  EXPECT_EQ(rig.user.messages(),
            std::vector<std::string>{"Receiver Model (8385M-U) does not match with the Selected "
                                     "Model\""});
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rlocsw\r");
}

TEST_F(SendConfigurationTest, aReceiverWithoutAStatusReplyGetsTheConfigurationUnchecked) {
  sim::Faults faults;
  faults.statusHeader = 0x03;
  sim::Receiver &receiver = rig.openReceiver(2, faults);
  rig.context.shippedVersions.setVersion(VersionSlot::A, 99); // would refuse if checked
  SendConfiguration send(rig.context);
  EXPECT_EQ(sendOn(rig, defaultsOf(9), &send), Result::Completed); // 9 would not match code 2
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rlocsw\r" + kModel9Lines + "swreset\r");
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_EQ(send.snapshot().status, kCompleted);
}

TEST_F(SendConfigurationTest, aWithheldAckEndsWithProblemInDownloadAndNoRestart) {
  sim::Faults faults;
  faults.noAckFor = "lpas";
  sim::Receiver &receiver = rig.openReceiver(kModel9Code, faults);
  SendConfiguration send(rig.context);
  std::optional<SendConfiguration::Snapshot> beforeLpas;
  rig.port.beforeWrite = [&](int byte) {
    if (!beforeLpas && byte == 'l' &&
        receiver.receivedText().ends_with("pcmpow 0 0 0 0 0 0 0 0\r")) {
      beforeLpas = send.snapshot();
    }
  };
  EXPECT_EQ(sendOn(rig, defaultsOf(9), &send), Result::ProblemInDownload);
  const std::string text = receiver.receivedText();
  EXPECT_TRUE(text.ends_with("pcmpow 0 0 0 0 0 0 0 0\rlpas 1 1 0\r"));
  EXPECT_EQ(text.find("swreset"), std::string::npos);
  EXPECT_EQ(receiver.restarts(), 0);
  EXPECT_FALSE(receiver.lastArguments("lpow").empty());
  EXPECT_TRUE(receiver.lastArguments("lpas").empty());
  EXPECT_TRUE(receiver.lastArguments("tact").empty());
  const auto snapshot = send.snapshot();
  EXPECT_EQ(snapshot.status, kProblem);
  EXPECT_FALSE(snapshot.progressVisible);
  EXPECT_EQ(snapshot.progressPosition, 0);
  ASSERT_TRUE(beforeLpas);
  EXPECT_TRUE(beforeLpas->progressVisible);
  EXPECT_EQ(beforeLpas->progressPosition, 5); // units, date, mkr, lact, lpow
  EXPECT_EQ(beforeLpas->status, "Downloading. Please wait...");
  // The wait for the ACK lasts its whole bound.
  EXPECT_GE(rig.clock.nowMs() - lineStarting(sentLines(receiver), "lpas").endMs, 35000);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(SendConfigurationTest, progressAdvancesOncePerStep) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  SendConfiguration send(rig.context);
  std::vector<int> positions; // when the first byte of each line goes out
  rig.port.beforeWrite = [&](int) {
    const std::string text = receiver.receivedText();
    if (text.empty() || text.back() == '\r') {
      positions.push_back(send.snapshot().progressPosition);
    }
  };
  ASSERT_EQ(sendOn(rig, defaultsOf(9), &send), Result::Completed);
  // ruAlive, locsw, kb 12, then the 22 lines, then swreset.
  const std::vector<int> expected = {0, 0, 0, 0, 1, 2, 2, 3, 3,  4,  4,  5,  5,
                                     6, 6, 7, 7, 8, 8, 9, 9, 10, 11, 12, 13, 0};
  EXPECT_EQ(positions, expected);
}

TEST_F(SendConfigurationTest, versionLowerOrHigherIsRefused) {
  sim::Receiver &lower = rig.openReceiver(kModel9Code);
  rig.context.shippedVersions.setVersion(VersionSlot::D, 24);
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::VersionLower);
  rig.context.shippedVersions.setVersion(VersionSlot::D, 22);
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::VersionHigher);
  EXPECT_EQ(rig.user.messages(),
            (std::vector<std::string>{
                "Please upgrade the receiver software. ",
                "Please download the latest version of Brimstel from www.vandrel.example"}));
  EXPECT_EQ(lower.receivedText(), "ruAlive\rlocsw\rruAlive\rlocsw\r");
}

TEST_F(SendConfigurationTest, aCodeOutsideEveryVersionGroupEndsSilently) {
  sim::Receiver &receiver = rig.openReceiver(20);
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::VersionNotKnown);
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rlocsw\r");
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(SendConfigurationTest, noAnswerToRuAliveClosesThePort) {
  rig.sim.addSilentDevice(ConfigRig::kDevice);
  rig.sim.openPort(ConfigRig::kDevice);
  rig.context.portState.markOpen(ConfigRig::kDevice, 38400);
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::NoAnswer);
  EXPECT_EQ(
      rig.user.messages(),
      std::vector<std::string>{"Error Communicating to receiver. Verify serial cable "
                               "connection between PC and receiver. Verify Receiver is on.."});
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_FALSE(rig.sim.isOpen());
}

TEST_F(SendConfigurationTest, aCancelledPortDialogSendsNothing) {
  sim::Receiver &receiver = rig.sim.addReceiver(ConfigRig::kDevice);
  rig.user.script.queuePortChoice(std::nullopt);
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::PortNotOpen);
  EXPECT_EQ(rig.user.messages(), std::vector<std::string>{"Please select a port and try again !"});
  EXPECT_EQ(receiver.bytesReceived(), 0U);
}

TEST_F(SendConfigurationTest, thePortDialogOpensThePortFirst) {
  sim::Receiver &receiver = rig.sim.addReceiver(ConfigRig::kDevice, {}, {});
  receiver.settings().modelCode = kModel9Code;
  rig.user.script.queuePortChoice(PortChoice{});
  EXPECT_EQ(sendOn(rig, defaultsOf(9)), Result::Completed);
  EXPECT_TRUE(rig.context.portState.isOpen());
}

TEST_F(SendConfigurationTest, withoutTheBannerTheUnitMustBeRestarted) {
  sim::Faults faults;
  faults.noRevision = true;
  rig.openReceiver(kModel9Code, faults);
  SendConfiguration send(rig.context);
  EXPECT_EQ(sendOn(rig, defaultsOf(9), &send), Result::RestartNotSeen);
  EXPECT_EQ(send.snapshot().statusLog,
            (std::vector<std::string>{"Downloading. Please wait...",
                                      "Please restart unit to continue... "}));
}

TEST_F(SendConfigurationTest, aCancelledSendStopsWithoutAFailureText) {
  sim::Receiver &receiver = rig.openReceiver(kModel9Code);
  SendConfiguration send(rig.context);
  CancelToken cancel;
  rig.port.beforeWrite = [&](int byte) {
    if (byte == 'd') {
      cancel.cancel();
    }
  };
  EXPECT_EQ(send.send(defaultsOf(9), cancel), Result::Cancelled);
  EXPECT_NE(send.snapshot().status, kProblem);
  EXPECT_EQ(receiver.receivedText().find("swreset"), std::string::npos);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST_F(SendConfigurationTest, aSecondSendWhileOneRunsIsRefused) {
  rig.openReceiver(kModel9Code);
  SendConfiguration send(rig.context);
  std::optional<Result> second;
  rig.port.beforeWrite = [&](int) {
    if (!second) {
      CancelToken cancel;
      second = send.send(defaultsOf(9), cancel);
    }
  };
  EXPECT_EQ(sendOn(rig, defaultsOf(9), &send), Result::Completed);
  EXPECT_EQ(second, Result::Busy);
}

} // namespace
} // namespace tarnwick
