#include "receiver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

void type(Receiver &receiver, const std::string &text, std::int64_t nowMs) {
  for (const char c : text) {
    receiver.receive(static_cast<std::uint8_t>(c), nowMs);
  }
}

// Everything the receiver sends, with the time each byte is due.
std::vector<std::pair<std::int64_t, std::uint8_t>> drain(Receiver &receiver) {
  std::vector<std::pair<std::int64_t, std::uint8_t>> out;
  while (const auto due = receiver.nextDueMs()) {
    out.emplace_back(*due, *receiver.takeDue(*due));
  }
  return out;
}

Bytes drainBytes(Receiver &receiver) {
  Bytes bytes;
  for (const auto &[time, byte] : drain(receiver)) {
    bytes.push_back(byte);
  }
  return bytes;
}

Bytes bytesOf(const std::string &text) {
  return Bytes(text.begin(), text.end());
}

Bytes concat(Bytes a, const Bytes &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ReceiverTest, echoesEveryCharacterAtOnce) {
  Receiver receiver;
  type(receiver, "ab", 100);
  ASSERT_EQ(receiver.nextDueMs(), 100);
  EXPECT_EQ(receiver.takeDue(100), 'a');
  EXPECT_EQ(receiver.takeDue(100), 'b');
  EXPECT_FALSE(receiver.takeDue(100));
  EXPECT_FALSE(receiver.nextDueMs());
}

TEST(ReceiverTest, answersCarriageReturnWithLineFeedCarriageReturn) {
  Receiver receiver;
  type(receiver, "rc\r", 0);
  // The echo, then the upload of an empty read-marker set: count 0, size 160, prompt.
  EXPECT_EQ(drainBytes(receiver), (Bytes{'r', 'c', 0x0A, 0x0D, 0, 0, 0, 160, 0x0A, 0x0D}));
  EXPECT_EQ(receiver.commandLines(), std::vector<std::string>{"rc"});
}

TEST(ReceiverTest, answersAliveWithY) {
  Receiver receiver;
  type(receiver, "ruAlive\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ruAlive\n\rY"));
}

TEST(ReceiverTest, lineFeedFromThePcIsEchoedButNotPartOfTheLine) {
  Receiver receiver;
  type(receiver, "\nruAlive\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("\nruAlive\n\rY"));
  EXPECT_EQ(receiver.commandLines(), std::vector<std::string>{"ruAlive"});
}

TEST(ReceiverTest, softwareStatusCarriesVersionModelAndLastByte) {
  ReceiverSettings settings;
  settings.softwareVersion = 0x17;
  settings.modelCode = 0x30;
  settings.locswLastByte = 7;
  Receiver receiver(settings);
  type(receiver, "locsw\r", 0);
  EXPECT_EQ(drainBytes(receiver),
            concat(bytesOf("locsw\n\r"), {0xD5, 0x02, 0x00, 0x17, 0x30, 0x00, 0x00, 0x00, 0x07}));
}

TEST(ReceiverTest, hardwareStatusOfNewSoftwareEndsWithTheVersionAfterALength) {
  ReceiverSettings settings;
  settings.softwareVersion = 20;
  settings.hardwareVersion = 3;
  Receiver receiver(settings);
  type(receiver, "lochw\r", 0);
  EXPECT_EQ(drainBytes(receiver),
            concat(bytesOf("lochw\n\r"), {0xD5, 0x02, 0x03, 0x01, 0x00, 0x03}));
}

TEST(ReceiverTest, hardwareStatusOfOldSoftwareIsDecimalTextClosedByMarker) {
  ReceiverSettings settings;
  settings.softwareVersion = 19;
  settings.hardwareVersion = 12;
  Receiver receiver(settings);
  type(receiver, "lochw\r", 0);
  EXPECT_EQ(drainBytes(receiver), concat(bytesOf("lochw\n\r"), {0xD5, 0x02, 0x02, '1', '2', 0xD5}));
}

TEST(ReceiverTest, languageStatusCarriesTableIndexAndFlag) {
  ReceiverSettings settings;
  settings.languageTable = 6;
  settings.languageIndex = 2;
  settings.languageFlag = 3;
  Receiver receiver(settings);
  type(receiver, "Language\r", 0);
  EXPECT_EQ(drainBytes(receiver),
            concat(bytesOf("Language\n\r"), {0xD5, 0x02, 0x00, 0x06, 0x02, 0x03}));
}

TEST(ReceiverTest, keypadAndUnknownWordsOnlyEcho) {
  Receiver receiver;
  type(receiver, "kb 12\rfoo 1\rLOCSW\r\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("kb 12\n\rfoo 1\n\rLOCSW\n\r\n\r"));
  EXPECT_EQ(receiver.commandLines(), (std::vector<std::string>{"kb 12", "foo 1", "LOCSW", ""}));
}

TEST(ReceiverTest, overlongLineIsDroppedWhole) {
  Receiver receiver;
  type(receiver, "ruAlive" + std::string(300, ' ') + "\r", 0);
  const Bytes out = drainBytes(receiver);
  EXPECT_EQ(out.back(), 0x0D);
  EXPECT_TRUE(receiver.commandLines().empty());
  type(receiver, "ruAlive\r", 1);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ruAlive\n\rY"));
}

TEST(ReceiverTest, eepromReadGivesFiveCharacterFieldsRightAligned) {
  Receiver receiver;
  receiver.eeprom()[54874] = 7;
  receiver.eeprom()[54875] = 103;
  receiver.eeprom()[54876] = 0;
  type(receiver, "er 54874 3 1\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("er 54874 3 1\n\r    7  103    0\n\r"));
}

TEST(ReceiverTest, eepromReadBreaksRowsAfterSixteenFields) {
  Receiver receiver;
  for (std::size_t i = 0; i < 17; ++i) {
    receiver.eeprom()[1000 + i] = static_cast<std::uint8_t>(240 + i % 16);
  }
  type(receiver, "er 1000 17 1\r", 0);
  std::string expected = "er 1000 17 1\n\r";
  for (int i = 0; i < 16; ++i) {
    expected += "  " + std::to_string(240 + i);
  }
  expected += "\n\r  240\n\r";
  EXPECT_EQ(drainBytes(receiver), bytesOf(expected));
}

TEST(ReceiverTest, malformedEepromReadIsIgnored) {
  Receiver receiver;
  for (const char *line : {"er 65535 2 1\r", "er 10 0 1\r", "er 10 2\r", "er 10 2 2\r",
                           "er x 2 1\r", "er 70000 1 1\r"}) {
    type(receiver, line, 0);
    std::string echo(line);
    echo.back() = '\n';
    EXPECT_EQ(drainBytes(receiver), bytesOf(echo + "\r")) << line;
  }
}

TEST(ReceiverTest, eepromWriteStoresBytesAtTheAddress) {
  Receiver receiver;
  receiver.eeprom()[54872] = 9;
  receiver.eeprom()[54876] = 9;
  type(receiver, "ew 54873 3 1 255 7\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ew 54873 3 1 255 7\n\r"));
  EXPECT_EQ(receiver.eeprom()[54872], 9);
  EXPECT_EQ(receiver.eeprom()[54873], 1);
  EXPECT_EQ(receiver.eeprom()[54874], 255);
  EXPECT_EQ(receiver.eeprom()[54875], 7);
  EXPECT_EQ(receiver.eeprom()[54876], 9);
  type(receiver, "er 54873 3 1\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("er 54873 3 1\n\r    1  255    7\n\r"));
}

TEST(ReceiverTest, malformedEepromWriteChangesNothing) {
  Receiver receiver;
  const Receiver::Eeprom before = receiver.eeprom();
  for (const char *line : {"ew 1 2 0\r", "ew 1 2 0 0 0\r", "ew 1 2 0 256\r", "ew 65535 2 0 0\r",
                           "ew 1 0\r", "ew 1\r", "ew 1 1 -1\r"}) {
    type(receiver, line, 0);
  }
  EXPECT_EQ(receiver.eeprom(), before);
}

TEST(ReceiverTest, resetSendsBannerWithRevisionAfterTheRestartDelay) {
  ReceiverSettings settings;
  settings.restartDelayMs = 1500;
  Receiver receiver(settings);
  type(receiver, "swreset\r", 1000);
  const auto out = drain(receiver);
  const std::string echo = "swreset\n\r";
  ASSERT_GT(out.size(), echo.size());
  std::string banner;
  for (std::size_t i = 0; i < out.size(); ++i) {
    EXPECT_EQ(out[i].first, i < echo.size() ? 1000 : 2500) << i;
    if (i >= echo.size()) {
      banner.push_back(static_cast<char>(out[i].second));
    }
  }
  EXPECT_NE(banner.find("Revision"), std::string::npos);
  EXPECT_NE(banner.find("\n\r"), banner.rfind("\n\r")); // several lines
  EXPECT_EQ(banner, receiver.startupBanner());
  EXPECT_EQ(receiver.restarts(), 1);
}

TEST(ReceiverTest, inputDuringRestartIsLost) {
  Receiver receiver;
  type(receiver, "swreset\r", 0);
  drain(receiver);
  EXPECT_TRUE(receiver.restarting(1499));
  type(receiver, "ruAlive\r", 1400);
  EXPECT_FALSE(receiver.nextDueMs());
  EXPECT_FALSE(receiver.restarting(1500));
  type(receiver, "ruAlive\r", 1500);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ruAlive\n\rY"));
  EXPECT_EQ(receiver.commandLines(), (std::vector<std::string>{"swreset", "ruAlive"}));
}

TEST(ReceiverTest, customBannerIsSentAsGiven) {
  ReceiverSettings settings;
  settings.banner = "\n\rBoot\n\rRevision 7\n\r";
  settings.restartDelayMs = 10;
  Receiver receiver(settings);
  type(receiver, "swreset\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("swreset\n\r\n\rBoot\n\rRevision 7\n\r"));
}

TEST(ReceiverTest, discardDueDropsOnlyWhatHasArrived) {
  Faults faults;
  faults.replyDelayMs = 100;
  Receiver receiver({}, faults);
  type(receiver, "ruAlive\r", 0);
  receiver.discardDue(50);
  EXPECT_EQ(receiver.pendingBytes(), 1U);
  EXPECT_EQ(receiver.nextDueMs(), 100);
  EXPECT_EQ(receiver.takeDue(100), 'Y');
}

TEST(ReceiverTest, transcriptHoldsBothDirectionsInTimeOrder) {
  Faults faults;
  faults.replyDelayMs = 40;
  Receiver receiver({}, faults);
  type(receiver, "ruAlive", 0);
  type(receiver, "\r", 25);
  type(receiver, "k", 30);
  const std::vector<TranscriptEntry> entries = receiver.transcript();
  ASSERT_EQ(entries.size(), 7U * 2 + 3 + 1 + 2);
  EXPECT_EQ(entries[0], (TranscriptEntry{0, Direction::ToReceiver, 'r'}));
  EXPECT_EQ(entries[1], (TranscriptEntry{0, Direction::FromReceiver, 'r'}));
  EXPECT_EQ(entries[14], (TranscriptEntry{25, Direction::ToReceiver, '\r'}));
  EXPECT_EQ(entries[15], (TranscriptEntry{25, Direction::FromReceiver, '\n'}));
  EXPECT_EQ(entries[16], (TranscriptEntry{25, Direction::FromReceiver, '\r'}));
  EXPECT_EQ(entries[17], (TranscriptEntry{30, Direction::ToReceiver, 'k'}));
  EXPECT_EQ(entries[18], (TranscriptEntry{65, Direction::FromReceiver, 'Y'}));
  // The echo of "k" waits behind the late answer: the line keeps its order.
  EXPECT_EQ(entries[19], (TranscriptEntry{65, Direction::FromReceiver, 'k'}));
  EXPECT_EQ(receiver.receivedText(), "ruAlive\rk");
  EXPECT_EQ(receiver.sentText(), "ruAlive\n\rYk");
  receiver.clearTranscript();
  EXPECT_TRUE(receiver.transcript().empty());
  EXPECT_TRUE(receiver.commandLines().empty());
}

TEST(ReceiverTest, transcriptLimitKeepsTheLatestEntriesAndLines) {
  ReceiverSettings settings;
  settings.transcriptLimit = 3;
  Receiver receiver(settings);
  type(receiver, "kb\rrc\rer\r", 0);
  type(receiver, "ruAlive\r", 10);
  EXPECT_EQ(receiver.transcript(), (std::vector<TranscriptEntry>{
                                       {10, Direction::FromReceiver, '\n'},
                                       {10, Direction::FromReceiver, '\r'},
                                       {10, Direction::FromReceiver, 'Y'},
                                   }));
  EXPECT_EQ(receiver.commandLines(), (std::vector<std::string>{"rc", "er", "ruAlive"}));
  EXPECT_EQ(receiver.bytesReceived(), 17U);
}

// Faults

TEST(ReceiverFaultTest, silentFromByteStopsEchoAndAnswers) {
  Faults faults;
  faults.silentFromByte = 3;
  Receiver receiver({}, faults);
  type(receiver, "ruAlive\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("ruA"));
  EXPECT_EQ(receiver.receivedText(), "ruAlive\r");
  EXPECT_EQ(receiver.bytesReceived(), 8U);
  EXPECT_TRUE(receiver.commandLines().empty());
}

TEST(ReceiverFaultTest, silentFromZeroNeverAnswers) {
  Faults faults;
  faults.silentFromByte = 0;
  Receiver receiver({}, faults);
  type(receiver, "ruAlive\rlocsw\r", 0);
  EXPECT_FALSE(receiver.nextDueMs());
}

TEST(ReceiverFaultTest, replyDelayHoldsBackAnswersButNotTheEcho) {
  Faults faults;
  faults.replyDelayMs = 4000;
  Receiver receiver({}, faults);
  type(receiver, "ruAlive\r", 200);
  const auto out = drain(receiver);
  ASSERT_EQ(out.size(), 10U);
  EXPECT_EQ(out[8], (std::pair<std::int64_t, std::uint8_t>{200, 0x0D}));
  EXPECT_EQ(out[9], (std::pair<std::int64_t, std::uint8_t>{4200, 'Y'}));
}

TEST(ReceiverFaultTest, statusNoiseComesBeforeTheMarker) {
  Faults faults;
  faults.statusNoise = {0x00, 0x41, 0x02};
  Receiver receiver({}, faults);
  type(receiver, "Language\r", 0);
  EXPECT_EQ(drainBytes(receiver), concat(bytesOf("Language\n\r"),
                                         {0x00, 0x41, 0x02, 0xD5, 0x02, 0x00, 0x00, 0x00, 0x02}));
}

TEST(ReceiverFaultTest, statusHeaderReplacesTheSecondByte) {
  Faults faults;
  faults.statusHeader = 0x03;
  ReceiverSettings settings;
  settings.softwareVersion = 0x11;
  settings.modelCode = 0x06;
  Receiver receiver(settings, faults);
  type(receiver, "locsw\r", 0);
  EXPECT_EQ(drainBytes(receiver),
            concat(bytesOf("locsw\n\r"), {0xD5, 0x03, 0x00, 0x11, 0x06, 0x00, 0x00, 0x00, 0x08}));
}

TEST(ReceiverFaultTest, noRevisionTakesTheWordOutOfTheBanner) {
  Faults faults;
  faults.noRevision = true;
  ReceiverSettings settings;
  settings.banner = "RevRevisionision Revision";
  Receiver receiver(settings, faults);
  EXPECT_EQ(receiver.startupBanner().find("Revision"), std::string::npos);
  receiver.settings().banner.clear();
  type(receiver, "swreset\r", 0);
  std::string sent;
  for (const std::uint8_t byte : drainBytes(receiver)) {
    sent.push_back(static_cast<char>(byte));
  }
  EXPECT_EQ(sent.find("Revision"), std::string::npos);
  EXPECT_NE(sent.find("Locator starting"), std::string::npos);
}

TEST(ReceiverFaultTest, bannerInPiecesHasGapsBetweenPieces) {
  ReceiverSettings settings;
  settings.banner = "abcdefghij";
  settings.restartDelayMs = 1000;
  Faults faults;
  faults.bannerChunkBytes = 4;
  faults.bannerChunkGapMs = 300;
  Receiver receiver(settings, faults);
  type(receiver, "swreset\r", 0);
  const auto out = drain(receiver);
  ASSERT_EQ(out.size(), 9U + 10U);
  const std::vector<std::int64_t> expected{1000, 1000, 1000, 1000, 1300,
                                           1300, 1300, 1300, 1600, 1600};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(out[9 + i].first, expected[i]) << i;
    EXPECT_EQ(out[9 + i].second, settings.banner[i]) << i;
  }
  EXPECT_TRUE(receiver.restarting(1599));
  EXPECT_FALSE(receiver.restarting(1600));
}

using Words = std::vector<std::string>;

TEST(ReceiverSettingsTest, acknowledgesAConfigurationLineAfterItsEcho) {
  Receiver receiver;
  type(receiver, "lact 1 0 1 1 0 0 0\r", 50);
  EXPECT_EQ(drainBytes(receiver), concat(bytesOf("lact 1 0 1 1 0 0 0\n\r"), Bytes{0x06}));
  EXPECT_EQ(receiver.lastArguments("lact"), (Words{"1", "0", "1", "1", "0", "0", "0"}));
  EXPECT_EQ(receiver.acknowledgedSettings(), 1);
}

TEST(ReceiverSettingsTest, keepsTheLastValuesOfEachCommand) {
  Receiver receiver;
  type(receiver, "units 1 0 0\rdate 0 1\runits 0 0 1\r", 0);
  EXPECT_EQ(receiver.lastArguments("units"), (Words{"0", "0", "1"}));
  EXPECT_EQ(receiver.lastArguments("date"), (Words{"0", "1"}));
  EXPECT_TRUE(receiver.lastArguments("mkr").empty());
  EXPECT_EQ(receiver.acknowledgedSettings(), 3);
}

TEST(ReceiverSettingsTest, refusesAWrongNumberOfValuesOrValuesOtherThanSwitches) {
  Receiver receiver;
  type(receiver, "lact 1 0 1 1 0 0\rpcmact 0 0 0 0 2 0 0\rlpas 1 1 x\rludf 0 0 0 0 0\r", 0);
  const Bytes sent = drainBytes(receiver);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x06), 0);
  EXPECT_TRUE(receiver.lastArguments("lact").empty());
  EXPECT_TRUE(receiver.lastArguments("pcmact").empty());
  EXPECT_TRUE(receiver.lastArguments("lpas").empty());
  EXPECT_TRUE(receiver.lastArguments("ludf").empty());
}

TEST(ReceiverSettingsTest, takesOneToFourUserFrequenciesOf50To999Hertz) {
  Receiver receiver;
  type(receiver, "udf 2 75 300\r", 0);
  EXPECT_EQ(receiver.lastArguments("udf"), (Words{"2", "75", "300"}));
  for (const char *line :
       {"udf 0\r", "udf 5 50 60 70 80 90\r", "udf 2 75\r", "udf 1 49\r", "udf 1 1000\r", "udf\r"}) {
    type(receiver, line, 0);
  }
  EXPECT_EQ(receiver.lastArguments("udf"), (Words{"2", "75", "300"}));
  EXPECT_EQ(receiver.acknowledgedSettings(), 1);
}

TEST(ReceiverSettingsTest, settingsSurviveARestart) {
  ReceiverSettings settings;
  settings.restartDelayMs = 100;
  Receiver receiver(settings);
  type(receiver, "mkr 1 1 0 1 0 1 0\rswreset\r", 0);
  drain(receiver);
  EXPECT_EQ(receiver.lastArguments("mkr"), (Words{"1", "1", "0", "1", "0", "1", "0"}));
}

TEST(ReceiverFaultTest, withheldAcknowledgementKeepsNothing) {
  Faults faults;
  faults.noAckFor = "lpas";
  Receiver receiver({}, faults);
  type(receiver, "lpas 1 1 0\r", 0);
  EXPECT_EQ(drainBytes(receiver), bytesOf("lpas 1 1 0\n\r"));
  EXPECT_TRUE(receiver.lastArguments("lpas").empty());
  type(receiver, "pcmpas 0 0 0\r", 10);
  EXPECT_EQ(drainBytes(receiver), concat(bytesOf("pcmpas 0 0 0\n\r"), Bytes{0x06}));
}

} // namespace
} // namespace tarnwick::sim
