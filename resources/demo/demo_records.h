// The demo receiver's memory: a day's survey around one town, as the
// simulator serves it (50 read markers, 20 programmed markers, 10 cable
// records), kept in record files under "\Receiver" of the demo tree.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::demo {

// Writes the three record files; false when one could not be written.
bool writeDemoReceiverRecords(const std::filesystem::path &treeFolder);
// tarnwick-sim's options that load them.
std::vector<std::string> demoReceiverRecordOptions(const std::filesystem::path &treeFolder);

} // namespace tarnwick::demo
