#include "quillport_binding.h"

#include "string_table.h"

#include <system_error>

namespace tarnwick {

namespace {

// Function pointers come back from the loader as plain addresses.
template <typename Fn> bool take(void *address, Fn &slot) {
  slot = reinterpret_cast<Fn>(address);
  return slot != nullptr;
}

std::string joined(const std::vector<std::string> &items) {
  std::string text;
  for (const auto &item : items) {
    text += text.empty() ? item : ", " + item;
  }
  return text;
}

std::string joinedPaths(const std::vector<std::filesystem::path> &paths) {
  std::vector<std::string> items;
  for (const auto &path : paths) {
    items.push_back(path.string());
  }
  return joined(items);
}

bool isFile(const std::filesystem::path &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string bindingMessage(const BindingStatus &status, const StringTable &strings) {
  if (status.bound) {
    return {};
  }
  std::string text;
  if (!status.missingExports.empty()) {
    text = strings.text(sid::kLibraryMissingExports) + joined(status.missingExports) + " (" +
           status.libraryPath.string() + ").";
  } else {
    text = strings.text(sid::kLibraryNotLoaded) + joinedPaths(status.tried);
    if (!status.loadError.empty()) {
      text += " (" + status.loadError + ")";
    }
    text += ".";
  }
  return text + " " + strings.text(sid::kReceiverToolsUnavailable);
}

const std::array<const char *, QuillportBinding::kExportCount> &QuillportBinding::exportNames() {
  static constexpr std::array<const char *, kExportCount> kNames = {"fnXParseFile",
                                                                    "fnXSetBaudRate",
                                                                    "fnXOpenPort",
                                                                    "fnXClosePort",
                                                                    "fnXWriteToPort",
                                                                    "fnXReadChar",
                                                                    "fnXFlushReadBuffer",
                                                                    "fnXFlushWriteBuffer",
                                                                    "fnXSetReadTimeout",
                                                                    "fnXWriteByte",
                                                                    "fnXGetCurrentPacketNumber",
                                                                    "fnXGetNumberOfPackets",
                                                                    "fnXSendPacket",
                                                                    "fnXCancel",
                                                                    "fnXGetBytes",
                                                                    "fnXResetFilePath"};
  return kNames;
}

const BindingStatus &QuillportBinding::load(const std::filesystem::path &workingFolder,
                                            const std::filesystem::path &executableFolder) {
  status_ = BindingStatus{};
  const char *fileName = DynamicLibrary::serialLibraryFileName();
  std::filesystem::path path = workingFolder / fileName;
  status_.tried.push_back(path);
  if (!isFile(path) && !executableFolder.empty() && executableFolder != workingFolder) {
    path = executableFolder / fileName;
    status_.tried.push_back(path);
  }
  status_.libraryPath = path;
  if (!isFile(path)) {
    return status_;
  }
  status_.loadError = library_.open(path);
  if (!library_.isOpen()) {
    return status_;
  }
  return resolve([this](const char *name) { return library_.symbol(name); });
}

const BindingStatus &QuillportBinding::resolve(const Lookup &lookup) {
  const auto &names = exportNames();
  Slots slots;
  // Braced initialisation evaluates the lookups in list order.
  const std::array<bool, kExportCount> found = {
      take(lookup(names[0]), slots.parseFile),
      take(lookup(names[1]), slots.setBaudRate),
      take(lookup(names[2]), slots.openPort),
      take(lookup(names[3]), slots.closePort),
      take(lookup(names[4]), slots.writeToPort),
      take(lookup(names[5]), slots.readChar),
      take(lookup(names[6]), slots.flushReadBuffer),
      take(lookup(names[7]), slots.flushWriteBuffer),
      take(lookup(names[8]), slots.setReadTimeout),
      take(lookup(names[9]), slots.writeByte),
      take(lookup(names[10]), slots.getCurrentPacketNumber),
      take(lookup(names[11]), slots.getNumberOfPackets),
      take(lookup(names[12]), slots.sendPacket),
      take(lookup(names[13]), slots.cancel),
      take(lookup(names[14]), slots.getBytes),
      take(lookup(names[15]), slots.resetFilePath),
  };
  status_.missingExports.clear();
  for (std::size_t i = 0; i < kExportCount; ++i) {
    if (!found[i]) {
      status_.missingExports.emplace_back(names[i]);
    }
  }
  status_.bound = status_.missingExports.empty();
  // An incomplete library is not used at all.
  slots_ = status_.bound ? slots : Slots{};
  return status_;
}

int QuillportBinding::openPort(const std::string &device) {
  return bound() ? slots_.openPort(device.c_str()) : kNotBound;
}

int QuillportBinding::closePort() {
  return bound() ? slots_.closePort() : 0;
}

int QuillportBinding::setBaudRate(int baud) {
  return bound() ? slots_.setBaudRate(baud) : 0;
}

int QuillportBinding::writeByte(int c) {
  return bound() ? slots_.writeByte(c) : 0;
}

int QuillportBinding::writeToPort(const void *buffer, int length) {
  return bound() ? slots_.writeToPort(buffer, length) : 0;
}

char QuillportBinding::readChar(int *count) {
  if (bound()) {
    return slots_.readChar(count);
  }
  if (count != nullptr) {
    *count = 0;
  }
  return 0;
}

int QuillportBinding::flushReadBuffer() {
  return bound() ? slots_.flushReadBuffer() : 0;
}

int QuillportBinding::flushWriteBuffer() {
  return bound() ? slots_.flushWriteBuffer() : 0;
}

int QuillportBinding::setReadTimeout(int milliseconds) {
  return bound() ? slots_.setReadTimeout(milliseconds) : 0;
}

int QuillportBinding::parseFile(const std::string &path) {
  return bound() ? slots_.parseFile(path.c_str()) : -1;
}

int QuillportBinding::getNumberOfPackets() {
  return bound() ? slots_.getNumberOfPackets() : 0;
}

int QuillportBinding::getBytes() {
  return bound() ? slots_.getBytes() : 0;
}

// A refused packet reads as a failed write.
int QuillportBinding::sendPacket(int index) {
  return bound() ? slots_.sendPacket(index) : 2;
}

int QuillportBinding::getCurrentPacketNumber() {
  return bound() ? slots_.getCurrentPacketNumber() : 0;
}

int QuillportBinding::cancel() {
  return bound() ? slots_.cancel() : 0;
}

void QuillportBinding::resetFilePath() {
  if (bound()) {
    slots_.resetFilePath();
  }
}

} // namespace tarnwick
