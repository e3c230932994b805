#include "receiver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnwick::sim {
namespace {

constexpr char kAck = 0x06;

void type(Receiver &receiver, const std::string &text, std::int64_t nowMs = 0) {
  for (const char c : text) {
    receiver.receive(static_cast<std::uint8_t>(c), nowMs);
  }
}

std::size_t acks(const Receiver &receiver) {
  const std::string sent = receiver.sentText();
  return static_cast<std::size_t>(std::count(sent.begin(), sent.end(), kAck));
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int value : values) {
    out.push_back(static_cast<char>(value));
  }
  return out;
}

TEST(Downloads, framingThatDoesNotFitIsRefusedWithoutAnAck) {
  const struct {
    const char *name;
    std::string input;
    std::string error;
  } cases[] = {
      {"group count", "gn 7 3 16\r", "gn: no group 7 3 16"},
      {"data without header", "gdata\r", "gdata without a group header"},
      {"name length", "pcll 5 4 abc\r", "pcll: not a list header: 5 4 abc"},
      {"too many codes", "pcll 91 3 abc\r", "pcll: not a list header: 91 3 abc"},
      {"list end", "pcll 3 1 a\rldata\r" + bytes({0x0A, 0x1E, 1, 2, 0x19, 0x1F, 0x7F}),
       "ldata: byte 4 of the block is 0x19, not 0x0A"},
      {"table without header", "tdata\r", "tdata without a table header"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Receiver receiver;
    type(receiver, c.input);
    EXPECT_EQ(receiver.downloads().errors(), std::vector<std::string>{c.error});
    // The list header of "list end" was fine and acknowledged.
    EXPECT_EQ(acks(receiver), std::string(c.name) == "list end" ? 1U : 0U);
    EXPECT_TRUE(receiver.downloads().lists().empty());
  }
}

// Group code 7 takes items of up to 8 characters: a full one needs no end
// byte, so an end byte after it is an empty item of its own.
TEST(Downloads, glossaryItemsEndAtTheEndByteOrAtTheGroupsLongest) {
  const struct {
    const char *name;
    std::string items;
    std::vector<std::string> kept;
  } cases[] = {
      {"as sent",
       "Material" + std::string("Utility\x7F") + std::string(6, '\x7F'),
       {"Material", "Utility", "", "", "", "", "", ""}},
      {"end byte after a full item",
       "Material\x7F" + std::string("Utility\x7F") + std::string(6, '\x7F'),
       {"Material", "", "Utility", "", "", "", "", ""}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Receiver receiver;
    type(receiver, "gn 7 3 8\rgdata\r" + c.items);
    ASSERT_NE(receiver.downloads().group(7), nullptr);
    EXPECT_EQ(receiver.downloads().group(7)->items, c.kept);
    EXPECT_EQ(acks(receiver), 8U);
  }
}

// A list's codes are counted, so codes that look like the end bytes are codes.
TEST(Downloads, listsAndTablesAreKeptWithTheirValues) {
  Receiver receiver;
  type(receiver, "linit\rpcll 4 2 ab\rldata\r" +
                     bytes({0x0A, 0x1E, 0x0A, 0x1F, 0x07, 0x01, 0x0A, 0x1F, 0x7F}));
  type(receiver, "gn 7 3 8\rpctl 3 255 0\rtdata\r" +
                     bytes({0x19, 0x1E, 0x0F, 0x01, 0x19, 0x1F, 0x7F}) + "gloss 11\r");
  std::string fill;
  for (int i = 0; i < 350; ++i) {
    fill += bytes({0x12, 0x34});
  }
  type(receiver, "tinit\rpctl 2 255 0\rtdata\r" + bytes({0x19, 0x1E}) + fill +
                     bytes({0x19, 0x1F, 0x7F}) + "\r");
  const Downloads &got = receiver.downloads();
  EXPECT_EQ(got.errors(), std::vector<std::string>{});
  EXPECT_EQ(got.lists(), (std::vector<ReceivedList>{{"ab", {0x0A1F, 0x0701}}}));
  EXPECT_EQ(got.tables(),
            (std::vector<ReceivedTable>{{0xFF00, {0x0F01}, false},
                                        {0xFF00, std::vector<std::uint16_t>(350, 0x1234), true}}));
  EXPECT_EQ(got.glossaryVersion(), "11");
  EXPECT_EQ(got.listStarts(), 1);
  EXPECT_EQ(got.tableStarts(), 1);
  EXPECT_EQ(acks(receiver), 7U);
}

TEST(Downloads, aBlockLeftHalfWayIsGivenUpForTheNextCommand) {
  Receiver receiver;
  type(receiver, "gn 7 3 8\rgdata\rOwn", 1000);
  type(receiver, "ruAlive\r", 1000 + Downloads::kAbandonAfterMs);
  const std::string sent = receiver.sentText();
  EXPECT_EQ(sent.substr(sent.size() - 1), "Y");
  EXPECT_EQ(receiver.downloads().group(7), nullptr);
}

} // namespace
} // namespace tarnwick::sim
