// The demo installation tree: settings, countries with their pictures, the
// shipped versions, an English glossary, help topics, sample templates and
// synthetic software images for every package folder. One generator, so that
// each subsystem's demo data is added here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick::demo {

// The receiver the demo simulates: an 8360M-Tq/U of hardware version 3 with
// the software the demo tree ships for it.
struct DemoReceiver {
  int modelCode = 48;
  int softwareVersion = 40; // new enough for the cable records
  int hardwareVersion = 3;
};
inline constexpr DemoReceiver kDemoReceiver{};

// The file that marks a folder as a demo tree; only such a folder (or an
// empty or missing one) is ever cleared.
inline constexpr std::string_view kMarkerFile = ".tarnwick-demo";

// The demo's countries, in list order; the first is "None".
const std::vector<std::string> &demoCountries();
// The country selected when the demo starts.
inline constexpr std::int32_t kDemoCountryIndex = 1; // "United States of America"

// $XDG_DATA_HOME/tarnwick-demo, else ~/.local/share/tarnwick-demo, else a
// folder under the temporary folder.
std::filesystem::path defaultDemoFolder();

struct DemoTreeResult {
  std::error_code error; // empty: the tree is complete
  std::string what;      // the path or reason of a failure
  std::size_t files = 0; // files written
};

// Recreates folder as a fresh demo tree. A folder that holds anything but a
// previous demo tree is left alone and reported.
DemoTreeResult createDemoTree(const std::filesystem::path &folder);

// Creates the tree when folder is missing or empty; an earlier demo tree is
// kept as it is, with what the user made in it (files written is then 0).
DemoTreeResult ensureDemoTree(const std::filesystem::path &folder);

// Whether folder holds a demo tree (its marker file).
bool isDemoTree(const std::filesystem::path &folder);

// What rebuilding the demo tree in folder would lose: the files the user
// added or changed there (relative paths, sorted). Compared with a fresh tree
// made in a scratch folder; empty when there is no tree.
std::vector<std::filesystem::path> demoTreeChanges(const std::filesystem::path &folder);

} // namespace tarnwick::demo
