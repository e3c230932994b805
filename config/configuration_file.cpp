#include "configuration_file.h"

#include "atomic_file.h"
#include "settings_files.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr std::size_t kOldLayoutMinimum = 4; // the model index at least
constexpr std::size_t kFileLimit = 1u << 20; // a configuration is about 100 bytes

void appendUint32(std::string &out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

std::uint32_t uint32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// Reads on past the end as the end-of-file value.
class ByteReader {
public:
  ByteReader(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}
  std::uint8_t next() {
    const std::uint8_t byte =
        at_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[at_]) : kPastEndByte;
    ++at_;
    return byte;
  }

private:
  std::string_view bytes_;
  std::size_t at_;
};

std::string slotField(const SettingList &userList, int slot) {
  std::string field(kSlotFieldBytes, '\0');
  if (slotIsSet(userList, slot)) {
    const std::string &name = userList.at(slot).name;
    // Three characters at most, so the terminator always fits.
    std::copy_n(name.begin(), std::min(name.size(), kSlotFieldBytes - 1), field.begin());
  }
  return field;
}

void appendSlots(std::string &out, const SettingList &userList) {
  for (int slot = 0; slot < kUserSlots; ++slot) {
    out += slotField(userList, slot);
    out.push_back('\0');
    out.push_back(static_cast<char>(kLineEndByte));
  }
}

std::string readSlotText(ByteReader &reader) {
  std::string text;
  bool ended = false;
  for (std::size_t i = 0; i < kSlotFieldBytes; ++i) {
    const auto byte = reader.next();
    ended = ended || byte == 0;
    if (!ended) {
      text.push_back(static_cast<char>(byte));
    }
  }
  reader.next(); // the NUL after the field
  reader.next(); // the line end, not checked
  return text;
}

void applySlots(const std::array<std::string, kUserSlots> &texts, SettingList &userList) {
  for (int slot = 0; slot < kUserSlots && slot < userList.count(); ++slot) {
    userList.at(slot).name = storedSlotName(texts[static_cast<std::size_t>(slot)], slot);
  }
}

} // namespace

std::string formatConfiguration(ModelIndex model, const SettingLists &lists) {
  std::string out;
  out.push_back(kLayoutMark);
  appendUint32(out, kLayoutVersion);
  appendUint32(out, model);
  for (ListId id : allLists()) {
    const SettingList &list = listOf(lists, id);
    const int count = entryCount(id, model);
    for (int entry = 0; entry < count; ++entry) {
      const auto state = list.has(entry) ? list.at(entry).state : SettingState::Disabled;
      out.push_back(static_cast<char>(state));
    }
    out.push_back(static_cast<char>(kLineEndByte));
  }
  appendSlots(out, listOf(lists, ListId::LocateUser));
  appendSlots(out, listOf(lists, ListId::ToneUser));
  return out;
}

bool isCurrentLayout(std::string_view bytes) {
  return !bytes.empty() && bytes.front() == kLayoutMark;
}

std::string withCurrentHeader(std::string_view oldLayout) {
  std::string out;
  out.push_back(kLayoutMark);
  appendUint32(out, kLayoutVersion);
  out.append(oldLayout);
  return out;
}

std::optional<StoredConfiguration> decodeConfiguration(std::string_view bytes) {
  if (!isCurrentLayout(bytes) || bytes.size() < kHeaderBytes) {
    return std::nullopt;
  }
  StoredConfiguration stored;
  stored.version = uint32At(bytes, 1);
  stored.model = uint32At(bytes, 5);
  ByteReader reader(bytes, kHeaderBytes);
  for (ListId id : allLists()) {
    auto &line = stored.states[listIndex(id)];
    const int count = entryCount(id, stored.model);
    for (int entry = 0; entry < count; ++entry) {
      line.push_back(reader.next());
    }
    reader.next(); // the line end, not checked
  }
  for (auto &text : stored.locateSlots) {
    text = readSlotText(reader);
  }
  for (auto &text : stored.toneSlots) {
    text = readSlotText(reader);
  }
  return stored;
}

SettingState storedState(std::uint8_t byte) {
  return byte <= static_cast<std::uint8_t>(SettingState::Masked) ? static_cast<SettingState>(byte)
                                                                 : SettingState::Enabled;
}

SettingState storedMarkerState(std::uint8_t byte, bool permitted) {
  return permitted ? storedState(byte) : SettingState::Unavailable;
}

std::string storedSlotName(std::string_view text, int slot) {
  return isUserFrequencyText(text) ? std::string(text) : unsetSlotName(slot);
}

void applyStoredConfiguration(const StoredConfiguration &stored,
                              ReceiverConfiguration &configuration) {
  configuration.setModel(stored.model);
  configuration.rebuildDefaults();
  SettingLists lists = configuration.current();
  const CountryMarkerMask &mask = configuration.markerMask();
  for (ListId id : allLists()) {
    SettingList &list = listOf(lists, id);
    const auto &bytes = stored.states[listIndex(id)];
    for (int entry = 0; entry < list.count() && entry < static_cast<int>(bytes.size()); ++entry) {
      const std::uint8_t byte = bytes[static_cast<std::size_t>(entry)];
      const bool permitted = entry < kMarkerTypeCount && mask[static_cast<std::size_t>(entry)];
      list.at(entry).state =
          id == ListId::MarkerTypes ? storedMarkerState(byte, permitted) : storedState(byte);
    }
  }
  applySlots(stored.locateSlots, listOf(lists, ListId::LocateUser));
  applySlots(stored.toneSlots, listOf(lists, ListId::ToneUser));
  configuration.copyCurrentIn(lists);
}

ConfigurationReadResult readConfigurationFile(const std::filesystem::path &path,
                                              ReceiverConfiguration &configuration) {
  using Status = ConfigurationReadResult::Status;
  ConfigurationReadResult result;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return result;
  }
  auto bytes = readWholeFile(path, kFileLimit);
  if (!bytes) {
    result.status = std::filesystem::file_size(path, error) > kFileLimit ? Status::NotAConfiguration
                                                                         : Status::NotOpened;
    return result;
  }
  if (!isCurrentLayout(*bytes) && bytes->size() >= kOldLayoutMinimum) {
    *bytes = withCurrentHeader(*bytes);
    result.converted = true;
    result.conversionError = writeFileAtomically(path, *bytes);
  }
  const auto stored = decodeConfiguration(*bytes);
  if (!stored) {
    result.status = Status::NotAConfiguration;
    return result;
  }
  applyStoredConfiguration(*stored, configuration);
  result.status = Status::Read;
  return result;
}

std::error_code writeConfigurationFile(const std::filesystem::path &path,
                                       const ReceiverConfiguration &configuration) {
  return writeFileAtomically(path,
                             formatConfiguration(configuration.model(), configuration.current()));
}

} // namespace tarnwick
