#include "receiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_literals;

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;

void type(Receiver &receiver, const std::string &text, std::int64_t nowMs = 0) {
  for (const char c : text) {
    receiver.receive(static_cast<std::uint8_t>(c), nowMs);
  }
}

std::string drain(Receiver &receiver) {
  std::string bytes;
  while (const auto due = receiver.nextDueMs()) {
    bytes.push_back(static_cast<char>(*receiver.takeDue(*due)));
  }
  return bytes;
}

std::string field(std::string text, std::size_t size) {
  text.resize(size, '\0');
  return text;
}

TEST(TemplateExchange, theTablesAnswerWithTheStoredTemplatesPadded) {
  const struct {
    const char *command;
    std::size_t dataBytes;
    char recordSize;
  } cases[] = {{"locut", 113, static_cast<char>(128)}, {"ttdata", 145, static_cast<char>(160)}};
  for (const auto &c : cases) {
    Faults faults;
    faults.templates.firstName = "../x";
    Receiver receiver({}, faults);
    const StoredTemplate first{"Gas", {1, 2}};
    const StoredTemplate second{"Water", {1, 3}};
    receiver.templates() = {{first, second}, {first, second}};
    type(receiver, c.command + "\r"s);
    EXPECT_EQ(drain(receiver), c.command + "\n\r\xD5\x02\x02"s + c.recordSize + field("../x", 15) +
                                   field("\x01\x02", c.dataBytes) + field("Water", 15) +
                                   field("\x01\x03", c.dataBytes));
  }
}

TEST(TemplateExchange, aRecordIsTakenWithAckAndTheCountOrRefusedWithNak) {
  Faults faults;
  faults.templates.refuseRecords = 1;
  Receiver receiver({}, faults);
  receiver.templates().user = {{"Old", {1}}};
  type(receiver, "pcut 1\rfdata\r");
  EXPECT_TRUE(receiver.templates().user.empty()); // the announced set replaces the old one
  const std::string record = field("New", 15) + field("\x01\x09", 113);
  drain(receiver);
  type(receiver, record);
  EXPECT_EQ(drain(receiver), std::string(1, static_cast<char>(kNak)));
  type(receiver, record); // the resend, without a new "fdata"
  EXPECT_EQ(drain(receiver), (std::string{static_cast<char>(kAck), 1}));
  EXPECT_EQ(receiver.templates().user,
            (std::vector<StoredTemplate>{{"New", Bytes(record.begin() + 15, record.end())}}));
  EXPECT_TRUE(receiver.inConsole());
}

TEST(TemplateExchange, countsBeyondWhatTheReceiverHoldsAreIgnored) {
  Receiver receiver;
  receiver.templates() = {{{"Keep", {1}}}, {{"Keep", {0}}}};
  type(receiver, "pcut 33\rfdata\rpcttlen 5\rpcttd\rruAlive\r");
  EXPECT_EQ(drain(receiver), "pcut 33\n\rfdata\n\rpcttlen 5\n\rpcttd\n\rruAlive\n\rY");
  EXPECT_EQ(receiver.templates().user.size(), 1u);
  EXPECT_EQ(receiver.templates().trace.size(), 1u);
}

TEST(TemplateExchange, aRecordGivenUpByThePcHandsTheLineBack) {
  Receiver receiver;
  type(receiver, "pcut 1\rfdata\rab", 0);
  type(receiver, "x", 41000); // long after any ACK wait: lost with the record
  type(receiver, "ruAlive\r", 41000);
  EXPECT_EQ(drain(receiver), "pcut 1\n\rfdata\n\rruAlive\n\rY");
  EXPECT_TRUE(receiver.templates().user.empty());
}

} // namespace
} // namespace tarnwick::sim
