#include "sim_rig.h"
#include "tracing_port.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tarnwick {
namespace {

using testing::ByteScriptPort;

TEST(TracingPort, rendersBytesPrintably) {
  EXPECT_EQ(printableByte('r'), "'r'");
  EXPECT_EQ(printableByte(' '), "' '");
  EXPECT_EQ(printableByte('\r'), "'\\r'");
  EXPECT_EQ(printableByte('\n'), "'\\n'");
  EXPECT_EQ(printableByte('\t'), "'\\t'");
  EXPECT_EQ(printableByte(0x00), "'\\0'");
  EXPECT_EQ(printableByte('\\'), "'\\\\'");
  EXPECT_EQ(printableByte('\''), "'\\''");
  EXPECT_EQ(printableByte(0xD5), "'\\xD5'");
  EXPECT_EQ(printableByte(0x7F), "'\\x7F'");
  EXPECT_EQ(traceLine(1234, TraceDirection::Sent, 'r'), "1234 TX 72 'r'");
  EXPECT_EQ(traceLine(0, TraceDirection::Received, 0x02), "0 RX 02 '\\x02'");
}

TEST(TracingPort, writesEveryByteBothWaysWithItsTime) {
  VirtualClock clock{5000};
  ByteScriptPort inner(clock);
  std::ostringstream trace;
  TracingPort port(inner, clock, trace);
  clock.advanceMs(25);
  EXPECT_EQ(port.writeByte('r'), 1);
  EXPECT_EQ(port.writeToPort("P\r", 2), 1);
  inner.queue(std::string("Y"));
  int count = -1;
  EXPECT_EQ(port.readChar(&count), 'Y');
  EXPECT_EQ(count, 1);
  // A read that finds nothing is not a byte and leaves no line.
  EXPECT_EQ(port.readChar(&count), '\0');
  EXPECT_EQ(count, 0);
  EXPECT_EQ(inner.written(), "rP\r");
  EXPECT_EQ(trace.str(), "25 TX 72 'r'\n"
                         "25 TX 50 'P'\n"
                         "25 TX 0D '\\r'\n"
                         "25 RX 59 'Y'\n");
}

TEST(TracingPort, aFailedWriteIsNotTracedAsSent) {
  VirtualClock clock;
  ByteScriptPort inner(clock);
  inner.failWrites(true);
  std::ostringstream trace;
  TracingPort port(inner, clock, trace);
  EXPECT_EQ(port.writeByte('x'), 0);
  EXPECT_EQ(port.writeToPort("ab", 2), 0);
  EXPECT_EQ(trace.str(), "");
}

TEST(TracingPort, passesThePortCallsThrough) {
  VirtualClock clock;
  sim::SimPort sim(clock);
  sim.addReceiver("/dev/ttyUSB0");
  std::ostringstream trace;
  TracingPort port(sim, clock, trace);
  port.setBaudRate(115200);
  EXPECT_EQ(sim.baudRate(), 115200);
  EXPECT_EQ(port.openPort("/dev/ttyUSB0"), 0);
  EXPECT_TRUE(sim.isOpen());
  EXPECT_EQ(sim.openBaudRate(), 115200);
  port.closePort();
  EXPECT_FALSE(sim.isOpen());
}

} // namespace
} // namespace tarnwick
