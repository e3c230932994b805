#include "status_reply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tarnwick {
namespace {

using Bytes = std::vector<std::uint8_t>;
using State = StatusReplyParser::State;

TEST(StatusReply, decodesThePayloadAfterTheHeader) {
  const Bytes reply = {0xD5, 0x02, 0x00, 0x17, 0x30};
  EXPECT_EQ(decodeStatusReply(reply, 3), (Bytes{0x00, 0x17, 0x30}));
}

TEST(StatusReply, skipsConsoleNoiseBeforeTheHeader) {
  const Bytes reply = {'l', 'o', 'c', 's', 'w', 0x0A, 0x0D, 0x00, 0xD5, 0x02, 0x00, 0x11, 0x06};
  EXPECT_EQ(decodeStatusReply(reply, 3), (Bytes{0x00, 0x11, 0x06}));
}

TEST(StatusReply, aHeaderNotFollowedByTwoIsNoStatus) {
  // A later, valid header does not rescue the reply.
  const Bytes reply = {0xD5, 0x03, 0xD5, 0x02, 0x00, 0x17, 0x30};
  EXPECT_FALSE(decodeStatusReply(reply, 3));
}

TEST(StatusReply, aPayloadCutShortIsNoStatus) {
  EXPECT_FALSE(decodeStatusReply(Bytes{0xD5, 0x02, 0x00, 0x17}, 3));
  EXPECT_FALSE(decodeStatusReply(Bytes{0xD5}, 3));
  EXPECT_FALSE(decodeStatusReply(Bytes{0x01, 0x02, 0x03}, 3));
  EXPECT_FALSE(decodeStatusReply(Bytes{}, 0));
}

TEST(StatusReply, bytesAfterThePayloadAreNotPartOfIt) {
  const Bytes reply = {0xD5, 0x02, 0xD5, 0x02, 0x09, 0x44};
  EXPECT_EQ(decodeStatusReply(reply, 3), (Bytes{0xD5, 0x02, 0x09}));
}

TEST(StatusReply, anEmptyPayloadCompletesOnTheValidByte) {
  EXPECT_EQ(decodeStatusReply(Bytes{0xD5, 0x02}, 0), Bytes{});
  EXPECT_EQ(decodeStatusReply(Bytes{0xD5, 0x02}, -4), Bytes{});
}

TEST(StatusReply, theParserReportsEachStep) {
  StatusReplyParser parser(1);
  EXPECT_EQ(parser.feed(0x41), State::SeekingHeader);
  EXPECT_FALSE(parser.inReply());
  EXPECT_EQ(parser.feed(0xD5), State::ExpectingValid);
  EXPECT_TRUE(parser.inReply());
  EXPECT_EQ(parser.feed(0x02), State::ReadingPayload);
  EXPECT_FALSE(parser.payload());
  EXPECT_EQ(parser.feed(0x07), State::Complete);
  EXPECT_FALSE(parser.inReply());
  EXPECT_EQ(parser.feed(0x08), State::Complete);
  EXPECT_EQ(parser.payload(), Bytes{0x07});
}

} // namespace
} // namespace tarnwick
