#include "port_discovery.h"
#include "test_ports.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(PortDiscovery, listsSerialDevicesByFamilyInNumberOrder) {
  TempFolder dev;
  for (const char *name : {"ttyS10", "ttyS2", "ttyUSB1", "ttyACM0", "rfcomm0", "ttyAMA0", "ttyS0",
                           "tty0", "ttyUSBx", "null", "ttyS"}) {
    dev.write(name, "");
  }
  SystemPortDiscovery discovery({dev.path(), {}});
  const auto d = dev.path().string();
  EXPECT_EQ(discovery.candidates(),
            (std::vector<std::string>{d + "/ttyS0", d + "/ttyS2", d + "/ttyS10", d + "/ttyUSB1",
                                      d + "/ttyACM0", d + "/ttyAMA0", d + "/rfcomm0"}));
}

TEST(PortDiscovery, usesTheByIdNameWhereThereIsOne) {
  TempFolder dev;
  dev.write("ttyUSB0", "");
  dev.write("ttyUSB1", "");
  dev.write("ttyXR0", ""); // a driver of another name, known only by id
  fs::create_directories(dev.path() / "serial" / "by-id");
  fs::create_symlink("../../ttyUSB1", dev.path() / "serial/by-id/usb-FTDI_FT232R-if00-port0");
  fs::create_symlink("../../ttyXR0", dev.path() / "serial/by-id/usb-Exar_XR21-if00");
  SystemPortDiscovery discovery({dev.path(), {}});
  const auto d = dev.path().string();
  EXPECT_EQ(
      discovery.candidates(),
      (std::vector<std::string>{d + "/ttyUSB0", d + "/serial/by-id/usb-FTDI_FT232R-if00-port0",
                                d + "/serial/by-id/usb-Exar_XR21-if00"}));
}

TEST(PortDiscovery, namedDevicesComeFirstAndOnlyOnce) {
  TempFolder dev;
  dev.write("ttyUSB0", "");
  dev.write("ttyS0", "");
  const auto d = dev.path().string();
  SystemPortDiscovery discovery({dev.path(), {"/dev/pts/7", d + "/ttyUSB0", "/dev/pts/7"}});
  EXPECT_EQ(discovery.candidates(),
            (std::vector<std::string>{"/dev/pts/7", d + "/ttyUSB0", d + "/ttyS0"}));
}

TEST(PortDiscovery, aMissingDeviceFolderListsOnlyNamedDevices) {
  SystemPortDiscovery discovery({"/nonexistent-device-folder", {"/dev/pts/3"}});
  EXPECT_EQ(discovery.candidates(), std::vector<std::string>{"/dev/pts/3"});
}

TEST(PortDiscovery, portListsAreColonSeparated) {
  EXPECT_EQ(splitPortList("/dev/pts/3::/dev/pts/4:"),
            (std::vector<std::string>{"/dev/pts/3", "/dev/pts/4"}));
  EXPECT_TRUE(splitPortList("").empty());
}

TEST(PortDiscovery, environmentListIsRead) {
  setenv("TARNWICK_PORTS", "/dev/pts/8:/dev/pts/9", 1);
  EXPECT_EQ(portsFromEnvironment(), (std::vector<std::string>{"/dev/pts/8", "/dev/pts/9"}));
  unsetenv("TARNWICK_PORTS");
  EXPECT_TRUE(portsFromEnvironment().empty());
}

} // namespace
} // namespace tarnwick
