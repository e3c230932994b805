#include "record_export.h"

#include "atomic_file.h"
#include "text_encoding.h"

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace tarnwick {

namespace {

constexpr const char *kCreator = "Tarnwick";

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) {
    return false;
  }
  return std::equal(suffix.begin(), suffix.end(),
                    text.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

// "," and TAB become spaces.
std::string clean(std::string text) {
  std::replace(text.begin(), text.end(), ',', ' ');
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text;
}

void appendLine(std::string &out, const std::vector<std::string> &items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) {
      out += ',';
    }
    out += items[i];
  }
  out += '\n';
}

std::vector<std::string> pairItems(const RecordRow &row, std::size_t first, std::size_t count) {
  std::vector<std::string> items;
  for (std::size_t i = first; i < first + count; ++i) {
    items.push_back(clean(row.pairText(i)));
  }
  return items;
}

void append(std::vector<std::string> &to, const std::vector<std::string> &items) {
  to.insert(to.end(), items.begin(), items.end());
}

// A whole number of text[pos...], moving pos past it.
std::optional<int> number(std::string_view text, std::size_t &pos, std::size_t maxDigits) {
  int value = 0;
  const char *first = text.data() + pos;
  const char *last = text.data() + std::min(text.size(), pos + maxDigits);
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end == first || value < 0) {
    return std::nullopt;
  }
  pos += static_cast<std::size_t>(end - first);
  return value;
}

bool literal(std::string_view text, std::size_t &pos, std::string_view word) {
  if (text.substr(pos, word.size()) != word) {
    return false;
  }
  pos += word.size();
  return true;
}

// "<deg> Deg <mm>.<ffff> Min <H>" in degrees, negative for the hemisphere given.
std::optional<double> degreesOf(std::string_view text, char positive, char negative, double limit) {
  std::size_t pos = 0;
  const auto degrees = number(text, pos, 3);
  if (!degrees || !literal(text, pos, " Deg ")) {
    return std::nullopt;
  }
  const auto minutes = number(text, pos, 2);
  if (!minutes || !literal(text, pos, ".")) {
    return std::nullopt;
  }
  const std::size_t fractionStart = pos;
  const auto fraction = number(text, pos, 4);
  if (!fraction || pos - fractionStart != 4 || !literal(text, pos, " Min ") ||
      pos + 1 != text.size() || (text[pos] != positive && text[pos] != negative)) {
    return std::nullopt;
  }
  const double value = *degrees + (*minutes + *fraction / 10000.0) / 60.0;
  if (*minutes >= 60 || value > limit) {
    return std::nullopt;
  }
  return text[pos] == negative ? -value : value;
}

int daysIn(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string coordinate(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.8f", value);
  return text;
}

std::string joined(const std::vector<std::string> &parts) {
  std::string text;
  for (const std::string &part : parts) {
    if (part.empty() || part == " ") {
      continue;
    }
    text += (text.empty() ? "" : "; ") + part;
  }
  return text;
}

std::string descriptionOf(const RecordRow &row, bool cable) {
  std::vector<std::string> parts;
  if (cable) {
    parts = {"Freq " + row.frequency + " Hz", "Depth " + row.depth + " in",
             "Current " + row.current + " mA"};
  } else {
    parts = {row.utility, row.style};
  }
  parts.push_back(row.comment);
  for (std::size_t i = 0; i < kDecodedPairs; ++i) {
    parts.push_back(row.pairText(i));
  }
  return latin1ToUtf8(joined(parts));
}

std::string xmlText(const pugi::xml_document &document) {
  std::ostringstream out;
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node declare(pugi::xml_document &document) {
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  return declaration;
}

void textChild(pugi::xml_node parent, const char *name, const std::string &text) {
  parent.append_child(name).text().set(text.c_str());
}

} // namespace

std::vector<std::string> csvHeader(RecordKind kind, const StringTable &strings) {
  if (isCable(kind)) {
    return {strings.text(sid::kSeqIdHeader),
            strings.text(sid::kFreqHeader),
            strings.text(sid::kDepthHeader),
            strings.text(sid::kCurrentHeader),
            "Date",
            "Data1",
            "Data2",
            "Data3",
            "Data4",
            "Data5",
            "Data6",
            strings.text(sid::kCommentsHeader),
            strings.text(sid::kLatitudeHeader),
            strings.text(sid::kLongitudeHeader),
            "Feature"};
  }
  return {strings.text(sid::kSerialIdHeader),
          strings.text(sid::kFreqHeader),
          strings.text(sid::kTypeHeader),
          "Date",
          "Data1",
          "Data2",
          "Data3",
          "Data4",
          "Data5",
          "Data6",
          strings.text(sid::kCommentsHeader),
          "Data7",
          "Data8",
          "Latitude",
          "Longitude",
          "Feature"};
}

std::vector<std::string> csvItems(const RecordRow &row, RecordKind kind, std::size_t index) {
  std::vector<std::string> items;
  if (isCable(kind)) {
    items = {clean(row.seqId), row.frequency, row.depth, row.current, clean(row.dateTime)};
    append(items, pairItems(row, 0, kShownPairs));
    items.push_back(clean(row.comment));
  } else {
    items = {clean(row.serial), clean(row.utility), clean(row.style), clean(row.dateTime)};
    append(items, pairItems(row, 0, kShownPairs));
    items.push_back(clean(row.comment));
    append(items, pairItems(row, kShownPairs, kDecodedPairs - kShownPairs));
  }
  items.push_back(shortPosition(row.latitude));
  items.push_back(shortPosition(row.longitude));
  items.push_back(std::to_string(index + 1));
  return items;
}

std::string csvText(const RecordList &list, const StringTable &strings) {
  std::string text;
  text.reserve(list.size() * 160 + 160);
  appendLine(text, csvHeader(list.kind(), strings));
  for (std::size_t i = 0; i < list.size(); ++i) {
    appendLine(text, csvItems(list.entries()[i].row, list.kind(), i));
  }
  return text;
}

std::string shortPosition(std::string_view text) {
  std::string out(text);
  for (const std::string_view word : {std::string_view(" Deg "), std::string_view(" Min ")}) {
    if (const auto pos = out.find(word); pos != std::string::npos) {
      out.replace(pos, word.size(), " ");
    }
  }
  return out;
}

std::optional<double> latitudeDegrees(std::string_view text) {
  return degreesOf(text, 'N', 'S', 90.0);
}

std::optional<double> longitudeDegrees(std::string_view text) {
  return degreesOf(text, 'E', 'W', 180.0);
}

std::optional<std::string> isoDateTime(std::string_view text) {
  unsigned month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%2u/%2u/%2u %2u:%2u:%2u", &month, &day, &year, &hour, &minute,
                  &second) != 6) {
    return std::nullopt;
  }
  const int fullYear = 2000 + static_cast<int>(year);
  if (month < 1 || month > 12 || day < 1 || static_cast<int>(day) > daysIn(int(month), fullYear) ||
      year > 99 || hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  char iso[64];
  std::snprintf(iso, sizeof iso, "%04d-%02u-%02uT%02u:%02u:%02u", fullYear, month, day, hour,
                minute, second);
  return std::string(iso);
}

std::vector<Waypoint> waypointsOf(const RecordList &list) {
  std::vector<Waypoint> points;
  const bool cable = isCable(list.kind());
  for (const RecordEntry &entry : list.entries()) {
    const RecordRow &row = entry.row;
    const auto latitude = latitudeDegrees(row.latitude);
    const auto longitude = longitudeDegrees(row.longitude);
    if (!latitude || !longitude) {
      continue;
    }
    points.push_back({*latitude, *longitude, latin1ToUtf8(cable ? row.seqId : row.serial),
                      descriptionOf(row, cable), isoDateTime(row.dateTime)});
  }
  return points;
}

std::optional<ExportFormat> exportFormatFor(const std::filesystem::path &path) {
  const std::string name = path.filename().string();
  if (name.find('.') == std::string::npos || endsWithIgnoringCase(name, ".csv")) {
    return ExportFormat::Csv;
  }
  if (endsWithIgnoringCase(name, ".gpx")) {
    return ExportFormat::Gpx;
  }
  if (endsWithIgnoringCase(name, ".kml")) {
    return ExportFormat::Kml;
  }
  if (endsWithIgnoringCase(name, ".geojson")) {
    return ExportFormat::GeoJson;
  }
  return std::nullopt;
}

std::string gpxText(const RecordList &list) {
  pugi::xml_document document;
  declare(document);
  pugi::xml_node gpx = document.append_child("gpx");
  gpx.append_attribute("version") = "1.1";
  gpx.append_attribute("creator") = kCreator;
  gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";
  for (const Waypoint &point : waypointsOf(list)) {
    pugi::xml_node wpt = gpx.append_child("wpt");
    wpt.append_attribute("lat") = coordinate(point.latitude).c_str();
    wpt.append_attribute("lon") = coordinate(point.longitude).c_str();
    if (point.time) {
      textChild(wpt, "time", *point.time);
    }
    textChild(wpt, "name", point.name);
    textChild(wpt, "desc", point.description);
  }
  return xmlText(document);
}

std::string kmlText(const RecordList &list) {
  pugi::xml_document document;
  declare(document);
  pugi::xml_node kml = document.append_child("kml");
  kml.append_attribute("xmlns") = "http://www.opengis.net/kml/2.2";
  pugi::xml_node folder = kml.append_child("Document");
  textChild(folder, "name", latin1ToUtf8(list.path().filename().string()));
  for (const Waypoint &point : waypointsOf(list)) {
    pugi::xml_node placemark = folder.append_child("Placemark");
    textChild(placemark, "name", point.name);
    textChild(placemark, "description", point.description);
    if (point.time) {
      textChild(placemark.append_child("TimeStamp"), "when", *point.time);
    }
    textChild(placemark.append_child("Point"), "coordinates",
              coordinate(point.longitude) + "," + coordinate(point.latitude));
  }
  return xmlText(document);
}

// Feature by feature, so that the largest list never stands as one tree.
std::string geoJsonText(const RecordList &list) {
  std::string text = R"({"type":"FeatureCollection","features":[)";
  bool first = true;
  for (const Waypoint &point : waypointsOf(list)) {
    nlohmann::json properties = {{"name", point.name}, {"description", point.description}};
    if (point.time) {
      properties["time"] = *point.time;
    }
    const nlohmann::json feature = {
        {"type", "Feature"},
        {"geometry", {{"type", "Point"}, {"coordinates", {point.longitude, point.latitude}}}},
        {"properties", std::move(properties)}};
    text += first ? "\n" : ",\n";
    text += feature.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    first = false;
  }
  text += "\n]}\n";
  return text;
}

std::string exportText(const RecordList &list, ExportFormat format, const StringTable &strings) {
  switch (format) {
  case ExportFormat::Gpx:
    return gpxText(list);
  case ExportFormat::Kml:
    return kmlText(list);
  case ExportFormat::GeoJson:
    return geoJsonText(list);
  case ExportFormat::Csv:
    break;
  }
  return csvText(list, strings);
}

std::error_code writeExport(const std::filesystem::path &path, const RecordList &list,
                            ExportFormat format, const StringTable &strings) {
  return writeFileAtomically(path, exportText(list, format, strings));
}

} // namespace tarnwick
