// Exports of a record list: the comma-separated text, and GPX 1.1, KML 2.2
// and GeoJSON of the records that have a position.
#pragma once

#include "record_list.h"
#include "string_table.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

// ---- Comma-separated text.

// The header line's items: the marker kinds' fixed header, or the cable
// records' (Seq ID, Freq, Depth(in), Current(mA), Date, Data1-Data6, Comments,
// Latitude, Longitude, Feature).
std::vector<std::string> csvHeader(RecordKind kind, const StringTable &strings);
// One line's items for the row at index (Feature counts from 1).
std::vector<std::string> csvItems(const RecordRow &row, RecordKind kind, std::size_t index);
// The whole text, every line ended by "\n".
std::string csvText(const RecordList &list, const StringTable &strings);
// "45 Deg 50.1234 Min N" as "45 50.1234 N"; empty stays empty.
std::string shortPosition(std::string_view text);

// ---- Positions.

// Decimal degrees of a position text, S and W negative; nothing when the
// text is not a position or lies outside the globe.
std::optional<double> latitudeDegrees(std::string_view text);
std::optional<double> longitudeDegrees(std::string_view text);
// "2024-05-17T14:03:09" when the date text is a real date and time (years
// 00-99 as 2000-2099); nothing otherwise.
std::optional<std::string> isoDateTime(std::string_view dateTimeText);

struct Waypoint {
  double latitude = 0;
  double longitude = 0;
  std::string name;                // the serial or the Seq ID
  std::string description;         // utility, style, comment, user data (UTF-8)
  std::optional<std::string> time; // ISO 8601, no zone: the receiver's clock
};

// The entries with a position, in list order.
std::vector<Waypoint> waypointsOf(const RecordList &list);

enum class ExportFormat { Csv, Gpx, Kml, GeoJson };

// By the extension of path: ".csv", ".gpx", ".kml", ".geojson" (any case);
// a name without "." is comma-separated text.
std::optional<ExportFormat> exportFormatFor(const std::filesystem::path &path);

std::string gpxText(const RecordList &list);
std::string kmlText(const RecordList &list);
std::string geoJsonText(const RecordList &list);
std::string exportText(const RecordList &list, ExportFormat format, const StringTable &strings);

// Writes the export atomically; the error says why it failed.
std::error_code writeExport(const std::filesystem::path &path, const RecordList &list,
                            ExportFormat format, const StringTable &strings);

} // namespace tarnwick
