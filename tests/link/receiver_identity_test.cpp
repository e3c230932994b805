#include "receiver_identity.h"
#include "sim_rig.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::SimRig;

constexpr const char *kDevice = "/dev/ttyUSB0";

TEST(ReceiverIdentity, payloadGivesVersionThenModel) {
  const auto identity = identityFromPayload({0x00, 0x17, 0x30});
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->softwareVersion, 23);
  EXPECT_EQ(identity->modelCode, 48);
  EXPECT_FALSE(identityFromPayload({0x00, 0x17}));
}

TEST(ReceiverIdentity, queryReadsTheSimulatedReceiver) {
  SimRig rig;
  sim::ReceiverSettings settings;
  settings.modelCode = 61;
  settings.softwareVersion = 40;
  rig.openReceiver(kDevice, settings);
  Console console(rig.context);
  IdentityQuery query;
  query.payloadBytes = 7;
  const auto identity = queryIdentity(console, query);
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->modelCode, 61);
  EXPECT_EQ(identity->softwareVersion, 40);
  EXPECT_EQ(identity->payload.size(), 7U);
  EXPECT_EQ(identity->payload.back(), 8);
}

TEST(ReceiverIdentity, noAnswerClosesThePort) {
  SimRig rig;
  sim::Faults faults;
  faults.silentFromByte = 0;
  rig.openReceiver(kDevice, {}, faults);
  Console console(rig.context);
  EXPECT_FALSE(queryIdentity(console));
  EXPECT_FALSE(rig.context.portState.isOpen());
  EXPECT_EQ(rig.user.messages().size(), 1U);
}

TEST(ReceiverIdentity, versionsCompareWithTheSlotOfTheModel) {
  ShippedVersions shipped;
  shipped.setVersion(VersionSlot::D, 23);
  shipped.setVersion(VersionSlot::A, 17);
  EXPECT_EQ(compareWithShipped({48, 23, {}}, shipped), VersionComparison::Equal);
  EXPECT_EQ(compareWithShipped({48, 22, {}}, shipped), VersionComparison::Lower);
  EXPECT_EQ(compareWithShipped({48, 24, {}}, shipped), VersionComparison::Higher);
  EXPECT_EQ(compareWithShipped({8, 23, {}}, shipped), VersionComparison::Higher); // slot A
  EXPECT_EQ(compareWithShipped({20, 1, {}}, shipped), VersionComparison::NotChecked);
  EXPECT_EQ(compareWithShipped({11, 1, {}}, shipped), VersionComparison::NotChecked);
}

TEST(ReceiverIdentity, comparisonMessages) {
  StringTable strings;
  EXPECT_EQ(strings.text(*comparisonMessage(VersionComparison::Lower)),
            "Please upgrade the receiver software. ");
  EXPECT_EQ(strings.text(*comparisonMessage(VersionComparison::Higher)),
            "Please download the latest version of Brimstel from www.vandrel.example");
  EXPECT_FALSE(comparisonMessage(VersionComparison::Equal));
  EXPECT_FALSE(comparisonMessage(VersionComparison::NotChecked));
}

} // namespace
} // namespace tarnwick
