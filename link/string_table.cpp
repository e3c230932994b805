#include "string_table.h"

#include <utility>

namespace tarnwick {

namespace {

struct BuiltIn {
  StringId id;
  const char *text;
};

constexpr BuiltIn kEnglish[] = {
    {sid::kSelectPortAndRetry, "Please select a port and try again !"},
    {sid::kPortCouldNotOpen, "Port could not be open. Please try again !"},
    {sid::kErrorCommunicating, "Error Communicating to receiver. Verify serial cable connection "
                               "between PC and receiver. Verify Receiver is on.."},
    {sid::kFailedToOpenPort, "Failed to open port! Please connect and try again"},
    {sid::kFailedToWriteComport, "Failed to write to the comport"},
    {sid::kNoOrWrongResponse, "No receiver response or wrong receiver response"},
    {sid::kRestartLocator, "Please Restart the Locator for the changes to take effect.."},
    {sid::kUpgradeReceiverSoftware, "Please upgrade the receiver software. "},
    {sid::kDownloadLatestVersion,
     "Please download the latest version of Brimstel from www.vandrel.example"},
    {sid::kPathModeCompatible, "Path Mode Compatible with latest S/W"},
    {sid::kPathModeNotCompatible, "Path Mode Not Compatible !!!"},
    {sid::kLibraryNotLoaded, "The serial library Quillport could not be loaded. Looked for: "},
    {sid::kLibraryMissingExports, "The serial library Quillport lacks the entry points: "},
    {sid::kReceiverToolsUnavailable,
     "The receiver tools cannot run until the serial library is installed correctly."},
    {sid::kPortPermissionDenied, "Access to the serial port was refused: "},
    {sid::kDialoutGroupHint,
     "Your user is not in the dialout group. Add it with \"sudo usermod -aG dialout $USER\", "
     "then log out and log in again."},
};

} // namespace

StringTable::StringTable() {
  for (const BuiltIn &entry : kEnglish) {
    texts_.emplace(entry.id, entry.text);
  }
}

const std::string &StringTable::text(StringId id) const {
  static const std::string kNone;
  const auto found = texts_.find(id);
  return found != texts_.end() ? found->second : kNone;
}

bool StringTable::has(StringId id) const {
  return texts_.count(id) != 0;
}

void StringTable::set(StringId id, std::string text) {
  texts_[id] = std::move(text);
}

} // namespace tarnwick
