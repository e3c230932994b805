#include "app_context.h"
#include "demo_templates.h"
#include "record_bytes.h"
#include "record_export.h"
#include "record_file.h"
#include "record_files.h"
#include "scripted_user.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarnwick {
namespace {

using namespace testing;
namespace fs = std::filesystem;

const Glossary &glossary() {
  static const Glossary g = demoEnglishGlossary();
  return g;
}

RecordEntry entryOf(const Bytes &raw, RecordKind kind = RecordKind::ReadMarkers) {
  return {decodeRecord(kind, raw, glossary()), raw};
}

RecordEntry markerWith(std::uint32_t serial, std::string comment = {}) {
  MarkerFields fields;
  fields.serial = serial;
  fields.utility = 2;
  RecordEntry entry = entryOf(markerRecord(fields));
  entry.row.comment = std::move(comment);
  return entry;
}

Bytes bytesOf(const fs::path &path) {
  std::error_code error;
  return readFileBytes(path, error).value_or(Bytes{});
}

std::string textOf(const fs::path &path) {
  const Bytes bytes = bytesOf(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(RecordFile, writesCountRecordsAndCommentsAndReadsThemBack) {
  TempDir dir;
  std::vector<RecordEntry> entries;
  for (std::uint32_t i = 0; i < 300; ++i) {
    entries.push_back(markerWith(i + 1, i == 1 ? std::string(130, 'c') : "note"));
  }
  const fs::path path = dir.path() / "day.rmrx";
  ASSERT_FALSE(writeRecordFile(path, entries));
  const Bytes bytes = bytesOf(path);
  ASSERT_EQ(bytes.size(), 4 + 300 * (160 + 120));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0, 0, 1, 44}));
  // A comment of 120 characters or more has no terminating zero.
  const std::size_t second = 4 + 300 * 160 + 120;
  EXPECT_EQ(std::string(bytes.begin() + second, bytes.begin() + second + 120),
            std::string(120, 'c'));

  std::error_code error;
  const auto back = readRecordFile(path, RecordKind::ReadMarkers, glossary(), error);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 300U);
  EXPECT_EQ((*back)[0], entries[0]);
  EXPECT_EQ((*back)[1].row.comment, std::string(120, 'c'));
  EXPECT_EQ((*back)[299].raw, entries[299].raw); // undecoded bytes unchanged
}

TEST(RecordFile, emptyListIsTheHeaderOnly) {
  EXPECT_EQ(encodeRecordFile({}), (Bytes{0, 0, 0, 0}));
  EXPECT_TRUE(
      decodeRecordFile(Bytes{0, 0, 0, 0}, 160, RecordKind::ReadMarkers, glossary()).empty());
}

TEST(RecordFile, shortAndFalseCountsNeverReadPastTheBytes) {
  const Bytes one = serialRecord(5);
  Bytes file = recordFile({one, one, one});
  file.resize(4 + 160 + 10); // cut in the second record
  const auto entries = decodeRecordFile(file, 160, RecordKind::ReadMarkers, glossary());
  ASSERT_EQ(entries.size(), 3U); // the rest is zero, as far as the largest file reaches
  EXPECT_EQ(entries[0].row.serial, "000-000-0005");
  EXPECT_EQ(entries[2].row.serial, "000-000-0000");
  EXPECT_EQ(entries[2].raw, Bytes(160, 0));

  const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
  EXPECT_EQ(decodeRecordFile(huge, 160, RecordKind::ReadMarkers, glossary()).size(), 17500U);
}

TEST(RecordFile, legacyFilesAreWidened) {
  Bytes legacy(64, 0);
  legacy[3] = 9; // serial 9
  legacy[8] = 0; // no user data: position from 40-63
  put16(legacy, 40, 4550);
  legacy[62] = kGpsMarkByte;
  TempDir dir;
  const fs::path path = dir.write("old.rmr", recordFile({legacy}, {"kept"}));
  EXPECT_EQ(fileRecordBytes(RecordKind::ReadMarkers, path), 64U);
  std::error_code error;
  const auto entries = readRecordFile(path, RecordKind::ReadMarkers, glossary(), error);
  ASSERT_TRUE(entries && entries->size() == 1);
  EXPECT_EQ((*entries)[0].raw.size(), 160U);
  EXPECT_EQ((*entries)[0].row.latitude, "45 Deg 50.0000 Min N");
  EXPECT_EQ((*entries)[0].row.comment, "kept");
}

TEST(RecordFile, extensionRule) {
  EXPECT_EQ(withKindExtension("/a/day", RecordKind::ReadMarkers), fs::path("/a/day.rmrx"));
  EXPECT_EQ(withKindExtension("/a.b/day", RecordKind::CableData), fs::path("/a.b/day.cdrx"));
  EXPECT_EQ(withKindExtension("/a/day.bak", RecordKind::ProgrammedMarkers), fs::path("/a/day.bak"));
}

struct FilesRig {
  FilesRig() { workspace.currentFolder = dir.path() / "MarkerRecord"; }
  TempDir dir;
  VirtualClock clock;
  sim::SimPort port{clock};
  ScriptedUser user;
  AppContext context{dir.path(), port, clock, user};
  RecordWorkspace workspace;
  RecordFiles files{context, workspace, glossary()};
};

TEST(RecordFiles, saveUnderANameWithoutExtensionAndAQuestionBeforeOpen) {
  FilesRig rig;
  RecordList &list = rig.workspace.list(RecordKind::ReadMarkers);
  list.append(markerWith(1));
  list.markModified();
  rig.user.queueSaveFile((rig.dir.path() / "MarkerRecord" / "monday").string());
  ASSERT_EQ(rig.files.save(list), RecordFiles::Outcome::Done);
  EXPECT_EQ(list.path(), rig.dir.path() / "MarkerRecord" / "monday.rmrx");
  EXPECT_TRUE(fs::exists(list.path()));
  EXPECT_FALSE(list.modified());
  EXPECT_EQ(rig.files.save(list), RecordFiles::Outcome::Unchanged);

  list.setComment({0}, "edited");
  rig.user.queueAnswer(Answer::Cancel);
  EXPECT_EQ(rig.files.open(list), RecordFiles::Outcome::Cancelled);
  EXPECT_EQ(rig.user.events().back().text,
            "Do you want to save the changes you made to monday.rmrx ?");
  EXPECT_EQ(list.entries()[0].row.comment, "edited");
}

TEST(RecordFiles, aFailedSaveIsReportedAndLeavesTheListModified) {
  FilesRig rig;
  const fs::path notAFolder = rig.dir.write("plain", std::string("x"));
  RecordList list;
  list.append(markerWith(4));
  EXPECT_EQ(rig.files.writeTo(list, notAFolder / "day.rmrx"), RecordFiles::Outcome::Failed);
  EXPECT_TRUE(list.modified());
  ASSERT_EQ(rig.user.messages().size(), 1U);
  EXPECT_EQ(rig.user.messages()[0].rfind(
                "The file could not be saved: " + (notAFolder / "day.rmrx").string(), 0),
            0U);
}

TEST(RecordList, headerClickSortIsStableAndToggles) {
  RecordList list;
  const char *comments[] = {"beta", "Alpha", "alpha", "Gamma", "ALPHA"};
  for (std::uint32_t i = 0; i < 5; ++i) {
    list.append(markerWith(i, comments[i]));
  }
  const auto order = [&] {
    std::string serials;
    for (const RecordEntry &entry : list.entries()) {
      serials += entry.row.serial.back();
    }
    return serials;
  };
  list.sortByColumn(4); // Comments
  EXPECT_EQ(order(), "12403");
  list.sortByColumn(4);
  EXPECT_EQ(order(), "30124"); // equal keys keep their order in both directions
  EXPECT_EQ(list.sortState().direction, SortDirection::Descending);
  list.sortByColumn(0);
  EXPECT_EQ(order(), "01234");
  EXPECT_EQ(list.sortState().direction, SortDirection::Ascending);
  EXPECT_TRUE(list.modified());
}

TEST(RecordList, commentsClipboardAndDelete) {
  RecordWorkspace workspace;
  RecordList &list = workspace.list(RecordKind::ReadMarkers);
  for (std::uint32_t i = 0; i < 4; ++i) {
    list.append(markerWith(i));
  }
  list.setComment({3, 1, 3}, "both");
  EXPECT_EQ(list.entries()[1].row.comment, "both");
  EXPECT_EQ(list.entries()[3].row.comment, "both");
  EXPECT_EQ(list.entries()[0].row.comment, "");

  workspace.clipboard.copy(list, {}); // nothing selected: nothing happens
  EXPECT_TRUE(workspace.clipboard.empty());
  workspace.clipboard.cut(list, {2, 0});
  ASSERT_EQ(list.size(), 2U);
  workspace.clipboard.paste(list);
  workspace.clipboard.paste(list);
  ASSERT_EQ(list.size(), 6U);
  EXPECT_EQ(list.entries()[2].row.serial, "000-000-0000");
  EXPECT_EQ(list.entries()[3].row.serial, "000-000-0002");
  EXPECT_EQ(list.entries()[5].row.serial, "000-000-0002");
  // Marker records do not go into a cable list.
  RecordList &cable = workspace.list(RecordKind::CableData);
  workspace.clipboard.paste(cable);
  EXPECT_TRUE(cable.empty());
  list.remove({0, 1, 99});
  EXPECT_EQ(list.size(), 4U);
}

TEST(RecordExport, csvForMarkersAndCable) {
  StringTable strings;
  RecordList markers;
  MarkerFields fields;
  fields.serial = 42;
  fields.utility = 2;
  fields.style = 2;
  fields.date = {5, 17, 24, 14, 3, 9};
  fields.position = Position{4550, 1234, 10000, 0};
  markers.append(entryOf(markerRecord(fields)));
  markers.setComment({0}, "valve, at\tcurb");
  EXPECT_EQ(csvText(markers, strings),
            "Serial ID,Freq,Type,Date,Data1,Data2,Data3,Data4,Data5,Data6,Comments,Data7,Data8,"
            "Latitude,Longitude,Feature\n"
            "000-000-0042,GAS,Ball,05/17/24 14:03:09 M/D/Y,,,,,,,valve  at curb,,,45 50.1234 N,"
            "100 00.0000 E,1\n");

  RecordList cables(RecordKind::CableData);
  CableFields cable;
  cable.frequency = 512 * 256;
  cable.depth = 36 * 256;
  cable.current = 120;
  cables.append(entryOf(cableRecord(cable), RecordKind::CableData));
  EXPECT_EQ(csvText(cables, strings),
            "Seq ID,Freq,Depth(in),Current(mA),Date,Data1,Data2,Data3,Data4,Data5,Data6,"
            "Comments,Latitude,Longitude,Feature\n"
            "SEQ00001,512,36.000000,120,,,,,,,,,,,1\n");
}

TEST(RecordExport, degreesAndTimes) {
  EXPECT_DOUBLE_EQ(*latitudeDegrees("45 Deg 30.0000 Min S"), -45.5);
  EXPECT_DOUBLE_EQ(*longitudeDegrees("100 Deg 00.0000 Min E"), 100.0);
  EXPECT_NEAR(*longitudeDegrees("088 Deg 30.5678 Min W"), -(88 + 30.5678 / 60), 1e-12);
  EXPECT_FALSE(latitudeDegrees("89 Deg 99.0005 Min S")); // not a position
  EXPECT_FALSE(latitudeDegrees(""));
  EXPECT_EQ(isoDateTime("02/29/24 23:59:59 M/D/Y"), "2024-02-29T23:59:59");
  EXPECT_FALSE(isoDateTime("02/29/23 10:00:00 M/D/Y"));
  EXPECT_FALSE(isoDateTime("05/17/24 24:00:00 M/D/Y"));
  EXPECT_FALSE(isoDateTime("00/00/00 00:00:00 M/D/Y"));
}

// Reads an export back with gpsbabel and returns its coordinates.
std::vector<std::pair<double, double>> readWithGpsbabel(const fs::path &file, const char *format,
                                                        const fs::path &scratch) {
  const fs::path out = scratch / "back.csv";
  const std::string command = std::string("gpsbabel -i ") + format + " -f '" + file.string() +
                              "' -o unicsv,format=ddd -F '" + out.string() + "' 2>/dev/null";
  std::vector<std::pair<double, double>> points;
  if (std::system(command.c_str()) != 0) {
    return points;
  }
  std::istringstream lines(textOf(out));
  std::string line;
  std::getline(lines, line); // header: No,Latitude,Longitude,...
  while (std::getline(lines, line)) {
    std::istringstream items(line);
    std::string number, latitude, longitude;
    std::getline(items, number, ',');
    std::getline(items, latitude, ',');
    std::getline(items, longitude, ',');
    points.emplace_back(std::stod(latitude), std::stod(longitude));
  }
  return points;
}

TEST(RecordExport, gpsbabelReadsEveryFormatBack) {
  if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "gpsbabel is not installed";
  }
  TempDir dir;
  StringTable strings;
  RecordList list;
  const Position positions[] = {{4550, 1234, 27170, 5678}, {13470, 1, 10000, 9999}};
  for (const Position &position : positions) {
    MarkerFields fields;
    fields.serial = 77;
    fields.date = {5, 17, 24, 14, 3, 9};
    fields.position = position;
    list.append(entryOf(markerRecord(fields)));
  }
  list.append(markerWith(5)); // no position: left out
  const std::vector<std::pair<double, double>> expected = {
      {45 + 50.1234 / 60, -(88 + 30.5678 / 60)}, {-(45 + 30.0001 / 60), 100 + 0.9999 / 60}};
  const std::pair<ExportFormat, const char *> formats[] = {
      {ExportFormat::Gpx, "gpx"}, {ExportFormat::Kml, "kml"}, {ExportFormat::GeoJson, "geojson"}};
  for (const auto &[format, name] : formats) {
    const fs::path file = dir.path() / (std::string("out.") + name);
    ASSERT_FALSE(writeExport(file, list, format, strings));
    const auto points = readWithGpsbabel(file, name, dir.path());
    ASSERT_EQ(points.size(), expected.size()) << name << "\n" << textOf(file);
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(points[i].first, expected[i].first, 1e-6) << name;
      EXPECT_NEAR(points[i].second, expected[i].second, 1e-6) << name;
    }
  }
  EXPECT_NE(textOf(dir.path() / "out.gpx").find("<time>2024-05-17T14:03:09</time>"),
            std::string::npos);
  EXPECT_NE(textOf(dir.path() / "out.geojson").find("\"name\":\"000-000-0077\""),
            std::string::npos);
}

} // namespace
} // namespace tarnwick
