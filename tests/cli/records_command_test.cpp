#include "cli_rig.h"
#include "record_file.h"

#include <gtest/gtest.h>

namespace tarnwick::cli {
namespace {

using testing::CliRig;
using Bytes = std::vector<std::uint8_t>;

constexpr const char *kDevice = "/dev/ttyUSB0";

// A read marker with serial and style; bytes 136-159 empty.
Bytes marker(std::uint8_t serial, std::uint8_t style) {
  Bytes record(160, 0);
  record[3] = serial;
  record[5] = static_cast<std::uint8_t>(2 << 5 | style << 1);
  return record;
}

std::string fileText(const std::filesystem::path &path) {
  std::error_code error;
  const auto bytes = readFileBytes(path, error).value_or(Bytes{});
  return std::string(bytes.begin(), bytes.end());
}

Bytes markerFile(const std::vector<Bytes> &records, const std::vector<std::string> &comments) {
  Bytes file = {0, 0, 0, static_cast<std::uint8_t>(records.size())};
  for (const Bytes &record : records) {
    file.insert(file.end(), record.begin(), record.end());
  }
  for (const std::string &comment : comments) {
    Bytes block(120, 0);
    std::copy(comment.begin(), comment.end(), block.begin());
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

sim::ReceiverSettings receiverWith(std::uint8_t modelCode, std::uint8_t softwareVersion) {
  sim::ReceiverSettings settings;
  settings.modelCode = modelCode;
  settings.softwareVersion = softwareVersion;
  return settings;
}

TEST(RecordsCommand, showPrintsTheListColumnsSortedAsTheDialogSorts) {
  CliRig rig;
  const auto file = rig.work.write(
      "day.rmrx", markerFile({marker(1, 2), marker(2, 0), marker(3, 2)}, {"b", "a\tx", "B"}));
  ASSERT_EQ(rig.runIn({"records", "show", file.string(), "--sort", "4", "--descending"}), 0)
      << rig.err.str();
  EXPECT_EQ(rig.out.str(),
            "Serial ID\tFreq\tType\tDate & Time\tComments\tLatitude\tLongitude\t \t \t \t \t \t \n"
            "000-000-0001\tGAS\tBall\t00/00/00 00:00:00 M/D/Y\tb\t\t\t\t\t\t\t\t\n"
            "000-000-0003\tGAS\tBall\t00/00/00 00:00:00 M/D/Y\tB\t\t\t\t\t\t\t\t\n"
            "000-000-0002\tGAS\tNear Surface\t00/00/00 00:00:00 M/D/Y\ta x\t\t\t\t\t\t\t\t\n");
  EXPECT_EQ(rig.runIn({"records", "show", file.string(), "--sort", "13"}), 2);
}

TEST(RecordsCommand, exportChoosesTheFormatByExtension) {
  CliRig rig;
  const auto file = rig.work.write("day.rmrx", markerFile({marker(1, 2)}, {"x,y"}));
  const auto out = rig.work.path() / "day";
  ASSERT_EQ(rig.runIn({"records", "export", file.string(), "-o", out.string()}), 0);
  EXPECT_EQ(rig.out.str(), "The Record file has been exported to " + out.string() + ".csv\n");
  EXPECT_EQ(fileText(out.string() + ".csv").substr(fileText(out.string() + ".csv").find('\n') + 1),
            "000-000-0001,GAS,Ball,00/00/00 00:00:00 M/D/Y,,,,,,,x y,,,,,1\n");
  EXPECT_EQ(rig.runIn({"records", "export", file.string(), "-o", out.string() + ".txt"}), 2);
  EXPECT_EQ(rig.runIn({"records", "export", file.string(), "-o", out.string() + ".geojson"}), 0);
}

TEST(RecordsCommand, cablePullsFollowTheModelAndVersion) {
  struct Case {
    std::uint8_t model, version;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {2, 40, 1, "Get Cable Data Records feature is not supported in this model.\n"},
      {48, 38, 1,
       "This feature is currently not installed. Please select the Software Upgrade option to "
       "install.\n"},
      {48, 39, 0,
       "You are running an older version of software in the receiver that does not support "
       "date/time stamp for the saved data. Click Yes to upgrade now.\n"
       "No Cable Data available on this receiver.\n"
       "(Answered No: the upgrade is a command of its own; the pull goes on.)\n"},
  };
  for (const Case &c : cases) {
    CliRig rig;
    auto &receiver = rig.serial.sim.addReceiver(kDevice, receiverWith(c.model, c.version));
    const auto out = rig.work.path() / "cable";
    EXPECT_EQ(rig.runIn({"--yes", "--port", kDevice, "records", "pull", "--kind", "cable", "-o",
                         out.string()}),
              c.status);
    EXPECT_EQ(rig.err.str(), c.err);
    EXPECT_EQ(receiver.receivedText().find("ew"), std::string::npos);
  }
}

TEST(RecordsCommand, pullWithoutDeleteSendsNoClearAndReplacesTheFile) {
  CliRig rig;
  auto &receiver = rig.serial.sim.addReceiver(kDevice);
  receiver.records().store(sim::RecordSet::ProgrammedMarkers, {{marker(7, 1)}, 160});
  const auto out = rig.work.write("p.pgrx", std::string("older"));
  ASSERT_EQ(rig.runIn({"--yes", "--port", kDevice, "records", "pull", "--kind", "programmed", "-o",
                       out.string()}),
            0)
      << rig.err.str();
  EXPECT_EQ(receiver.receivedText(), "kb 12\rpc\r");
  EXPECT_EQ(fileText(out),
            std::string(reinterpret_cast<const char *>(markerFile({marker(7, 1)}, {""}).data()),
                        4 + 160 + 120));
}

} // namespace
} // namespace tarnwick::cli
