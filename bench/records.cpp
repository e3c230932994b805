// The largest record file the receivers fill (17,500 read markers): open and
// decode, sort by each column, CSV and GeoJSON export; and the selection
// sort the list once used, on the same rows, for comparison.
#include "atomic_file.h"
#include "demo_templates.h"
#include "record_columns.h"
#include "record_export.h"
#include "record_file.h"
#include "template_codec.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <strings.h>
#include <unistd.h>
#include <utility>

using namespace tarnwick;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRecords = 17'500;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void put16(std::vector<std::uint8_t> &r, std::size_t at, unsigned v) {
  r[at] = static_cast<std::uint8_t>(v >> 8);
  r[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

// A day's worth of markers around one town, with user data and comments.
std::vector<RecordEntry> surveyEntries(const Glossary &glossary) {
  std::mt19937 random(17);
  const std::vector<std::vector<TemplateRow>> templates = {
      {{"Owner", "City"}, {"Material", "PVC"}, {"Size", "4 in"}, {"Depth", "36"}},
      {{"Utility", "Gas"}, {"Material", "PE"}, {"Valve", "Curb Stop"}},
      {{"Owner", "Private"}, {"Material", "Copper"}, {"Size", "3/4 in"}, {"Job No", "4411"}},
  };
  std::vector<std::vector<std::uint8_t>> encoded;
  for (const auto &rows : templates) {
    encoded.push_back(
        encodeTemplate(glossary, rows, 7, DateOrder::MonthDayYear, TemplateKind::Marker).bytes);
  }
  std::vector<RecordEntry> entries;
  for (std::size_t i = 0; i < kRecords; ++i) {
    std::vector<std::uint8_t> r(kMarkerRecordBytes, 0);
    const std::uint32_t serial = static_cast<std::uint32_t>(random());
    for (int b = 0; b < 4; ++b) {
      r[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(serial >> (24 - 8 * b));
    }
    r[4] = static_cast<std::uint8_t>(random() & 1);
    r[5] = static_cast<std::uint8_t>(random() & 0xFE);
    const auto &data = encoded[i % encoded.size()];
    std::copy(data.begin(), data.end(), r.begin() + marker::kUserData);
    const std::uint8_t date[] = {5,
                                 static_cast<std::uint8_t>(1 + random() % 28),
                                 24,
                                 static_cast<std::uint8_t>(random() % 24),
                                 static_cast<std::uint8_t>(random() % 60),
                                 static_cast<std::uint8_t>(random() % 60)};
    std::copy(std::begin(date), std::end(date), r.begin() + marker::kDate);
    put16(r, 136, 4550 + random() % 5);
    put16(r, 138, random() % 10000);
    put16(r, 140, 27170 + random() % 5);
    put16(r, 142, random() % 10000);
    r[marker::kGpsMark] = kGpsMarkByte;
    RecordEntry entry{decodeMarkerRecord(r, glossary), std::move(r)};
    entry.row.comment = i % 3 == 0 ? "Checked" : (i % 3 == 1 ? "checked again" : "");
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The list's old sort: for each place, the smallest remaining key (the
// earlier one on a tie), compared without case, swapped in.
void selectionSort(std::vector<RecordEntry> &entries, RecordKind kind, std::size_t column) {
  std::vector<std::string> texts;
  for (const RecordEntry &entry : entries) {
    texts.push_back(columnText(entry.row, kind, column));
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::size_t best = i;
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      if (strcasecmp(texts[j].c_str(), texts[best].c_str()) < 0) {
        best = j;
      }
    }
    std::swap(texts[i], texts[best]);
    std::swap(entries[i], entries[best]);
  }
}

} // namespace

int main() {
  const Glossary glossary = demoEnglishGlossary();
  char pattern[] = "/tmp/tarnwick-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    return 1;
  }
  const fs::path folder = pattern;
  const fs::path file = folder / "largest.rmrx";
  const std::vector<RecordEntry> survey = surveyEntries(glossary);
  if (writeRecordFile(file, survey)) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return 1;
  }
  std::printf("%zu read markers, %ju bytes (%s)\n", survey.size(),
              static_cast<std::uintmax_t>(fs::file_size(file)), file.c_str());

  auto start = Clock::now();
  std::error_code error;
  auto opened = readRecordFile(file, RecordKind::ReadMarkers, glossary, error);
  std::printf("open and decode:   %8.1f ms (aim 300)\n", msSince(start));
  if (!opened || opened->size() != kRecords) {
    return 1;
  }

  RecordList list;
  list.load(*opened, file);
  double slowestSort = 0;
  for (std::size_t column = 0; column < recordColumns(RecordKind::ReadMarkers).size(); ++column) {
    std::vector<RecordEntry> rows = *opened;
    start = Clock::now();
    sortEntries(rows, RecordKind::ReadMarkers, column, SortDirection::Ascending);
    const double ms = msSince(start);
    slowestSort = std::max(slowestSort, ms);
    std::printf("sort by column %2zu: %8.1f ms (aim 100)\n", column, ms);
  }

  start = Clock::now();
  const std::string csv = csvText(list, StringTable{});
  const auto csvError = writeFileAtomically(folder / "largest.csv", csv);
  std::printf("CSV export:        %8.1f ms (aim 200), %zu bytes\n", msSince(start), csv.size());
  start = Clock::now();
  const auto jsonError =
      writeExport(folder / "largest.geojson", list, ExportFormat::GeoJson, StringTable{});
  std::printf("GeoJSON export:    %8.1f ms (aim 200), %ju bytes\n", msSince(start),
              static_cast<std::uintmax_t>(fs::file_size(folder / "largest.geojson")));

  std::vector<RecordEntry> rows = *opened;
  start = Clock::now();
  sortEntries(rows, RecordKind::ReadMarkers, 0, SortDirection::Ascending);
  const double stable = msSince(start);
  rows = *opened;
  start = Clock::now();
  selectionSort(rows, RecordKind::ReadMarkers, 0);
  const double selection = msSince(start);
  std::printf("selection sort by column 0: %.1f ms; stable sort: %.1f ms; ratio %.0f\n", selection,
              stable, selection / stable);
  std::printf("slowest stable sort: %.1f ms\n", slowestSort);
  fs::remove_all(folder, error);
  return csvError || jsonError ? 1 : 0;
}
