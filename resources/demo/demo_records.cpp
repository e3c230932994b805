#include "demo_records.h"

#include "demo_templates.h"
#include "record_file.h"
#include "template_codec.h"

#include <array>
#include <random>

namespace tarnwick::demo {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReadMarkers = 50;
constexpr std::size_t kProgrammedMarkers = 20;
constexpr std::size_t kCableRecords = 10;

// The survey's town: about 39°47' N, 89°39' W.
constexpr unsigned kLatitude = 3947;          // degrees × 100 + minutes, northern
constexpr unsigned kLongitude = 36000 - 8939; // western longitudes are stored as 36000 − value

fs::path receiverFolder(const fs::path &tree) {
  return tree / "Receiver";
}

void put16(std::vector<std::uint8_t> &r, std::size_t at, unsigned value) {
  r[at] = static_cast<std::uint8_t>(value >> 8 & 0xFF);
  r[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void put32(std::vector<std::uint8_t> &r, std::size_t at, std::uint32_t value) {
  put16(r, at, value >> 16);
  put16(r, at + 2, value & 0xFFFF);
}

// A position within a couple of minutes of the town's centre.
void putPosition(std::vector<std::uint8_t> &r, std::size_t at, std::mt19937 &random) {
  put16(r, at, kLatitude - random() % 2);
  put16(r, at + 2, random() % 10000);
  put16(r, at + 4, kLongitude + random() % 2);
  put16(r, at + 6, random() % 10000);
}

// Time of the i-th of count records between 07:30 and 16:30 on one day.
std::array<std::uint8_t, 6> surveyTime(std::uint8_t day, std::size_t i, std::size_t count) {
  const std::size_t minutes = 7 * 60 + 30 + i * 9 * 60 / count;
  return {5,
          day,
          24,
          static_cast<std::uint8_t>(minutes / 60),
          static_cast<std::uint8_t>(minutes % 60),
          static_cast<std::uint8_t>(i * 7 % 60)};
}

std::vector<std::uint8_t> encoded(const Glossary &glossary, const std::vector<TemplateRow> &rows,
                                  TemplateKind kind) {
  return encodeTemplate(glossary, rows, 7, DateOrder::MonthDayYear, kind).bytes;
}

struct MarkerStyle {
  int utility; // GAS 2, WTR 5, TEL 3, PWR 6
  int style;
  std::vector<TemplateRow> rows;
};

const std::vector<MarkerStyle> &markerStyles() {
  static const std::vector<MarkerStyle> styles = {
      {2,
       2,
       {{"Owner", "Utility Co"}, {"Material", "PE"}, {"Size", "2 in"}, {"Valve", "Curb Stop"}}},
      {2, 1, {{"Owner", "Utility Co"}, {"Material", "Steel"}, {"Svc Line", "Service Line"}}},
      {5, 2, {{"Owner", "City"}, {"Material", "Ductile Iron"}, {"Valve", "Gate Valve"}}},
      {5, 3, {{"Owner", "City"}, {"Material", "PVC"}, {"Size", "6 in"}, {"Hydrant", "Active"}}},
      {3, 0, {{"Owner", "Private"}, {"Material", "Copper"}}},
      {6, 4, {{"Owner", "Utility Co"}, {"Material", "Aluminum"}, {"Size", "2 in"}}},
  };
  return styles;
}

std::vector<RecordEntry> markerSurvey(const Glossary &glossary, std::size_t count, std::uint8_t day,
                                      std::uint32_t firstSerial) {
  std::mt19937 random(firstSerial);
  std::vector<RecordEntry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    const MarkerStyle &style = markerStyles()[i % markerStyles().size()];
    std::vector<std::uint8_t> r(kMarkerRecordBytes, 0);
    put32(r, marker::kSerial, firstSerial + static_cast<std::uint32_t>(i * 37 + random() % 20));
    r[marker::kCodes] = static_cast<std::uint8_t>(2 << 5 | (style.utility >> 3 & 1));
    r[marker::kStyle] = static_cast<std::uint8_t>((style.utility & 7) << 5 | style.style << 1);
    const auto data = encoded(glossary, style.rows, TemplateKind::Marker);
    std::copy(data.begin(), data.end(), r.begin() + marker::kUserData);
    const auto time = surveyTime(day, i, count);
    std::copy(time.begin(), time.end(), r.begin() + marker::kDate);
    if (i % 12 != 11) { // now and then the receiver had no GPS fix
      putPosition(r, marker::kPosition, random);
      r[marker::kGpsMark] = kGpsMarkByte;
    }
    entries.push_back({decodeMarkerRecord(r, glossary), std::move(r)});
  }
  return entries;
}

std::vector<RecordEntry> cableSurvey(const Glossary &glossary) {
  std::mt19937 random(54880);
  const std::uint32_t frequencies[] = {512, 8192, 33000};
  const std::vector<TemplateRow> rows = {{"Owner", "Utility Co"}, {"Cable", "Fiber"}};
  std::vector<RecordEntry> entries;
  for (std::size_t i = 0; i < kCableRecords; ++i) {
    std::vector<std::uint8_t> r(kCableRecordBytes, 0);
    const std::string seq = "CD00" + std::to_string(10 + i);
    std::copy(seq.begin(), seq.end(), r.begin());
    put32(r, cable::kFrequency, frequencies[i % 3] * 256);
    put32(r, cable::kDepth,
          static_cast<std::uint32_t>((24 + random() % 48) * 256 + random() % 256));
    put16(r, cable::kCurrent, 40 + random() % 260);
    const auto data = encoded(glossary, rows, TemplateKind::Trace);
    std::copy(data.begin(), data.end(), r.begin() + cable::kUserData);
    putPosition(r, cable::kPosition, random);
    r[cable::kGpsMark] = kGpsMarkByte;
    const auto time = surveyTime(14, i, kCableRecords);
    std::copy(time.begin(), time.end(), r.begin() + cable::kDate);
    entries.push_back({decodeCableRecord(r, glossary), std::move(r)});
  }
  return entries;
}

} // namespace

bool writeDemoReceiverRecords(const fs::path &treeFolder) {
  const Glossary glossary = demoEnglishGlossary();
  const fs::path folder = receiverFolder(treeFolder);
  std::error_code error;
  fs::create_directories(folder, error);
  return !error &&
         !writeRecordFile(folder / "ReadMarkers.rmrx",
                          markerSurvey(glossary, kReadMarkers, 14, 1402000100)) &&
         !writeRecordFile(folder / "ProgrammedMarkers.pgrx",
                          markerSurvey(glossary, kProgrammedMarkers, 13, 1401900200)) &&
         !writeRecordFile(folder / "CableRecords.cdrx", cableSurvey(glossary));
}

std::vector<std::string> demoReceiverRecordOptions(const fs::path &treeFolder) {
  const fs::path folder = receiverFolder(treeFolder);
  return {"--read-records",       (folder / "ReadMarkers.rmrx").string(),
          "--programmed-records", (folder / "ProgrammedMarkers.pgrx").string(),
          "--cable-records",      (folder / "CableRecords.cdrx").string()};
}

} // namespace tarnwick::demo
