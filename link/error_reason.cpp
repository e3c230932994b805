#include "error_reason.h"

#include "string_table.h"

#include <cctype>
#include <cerrno>

namespace tarnwick {

namespace {

struct PortReason {
  int errnoValue;
  const char *words;
};

constexpr PortReason kPortReasons[] = {
    {EBUSY, "busy — in use by another program"},
    {EIO, "input/output error — no device answers behind it"},
    {ENOENT, "no such device"},
    {ENODEV, "no such device"},
    {ENXIO, "no such device"},
};

struct FileReason {
  std::errc condition;
  const char *words;
};

constexpr FileReason kFileReasons[] = {
    {std::errc::permission_denied, "permission denied"},
    {std::errc::operation_not_permitted, "permission denied"},
    {std::errc::no_such_file_or_directory, "no such file or folder"},
    {std::errc::not_a_directory, "a part of its path is not a folder"},
    {std::errc::is_a_directory, "it is a folder"},
    {std::errc::no_space_on_device, "the disk is full"},
    {std::errc::read_only_file_system, "the disk is read-only"},
};

// The system's own words, as the tail of a sentence.
std::string lowerFirst(std::string text) {
  if (!text.empty()) {
    text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
  }
  return text;
}

std::string sentence(std::string text) {
  return text.ends_with('.') ? text : text + '.';
}

// The built-in English text, as every other reason here is English.
const std::string &dialoutHint() {
  static const std::string hint = StringTable().text(sid::kDialoutGroupHint);
  return hint;
}

std::string fileReason(std::error_code error) {
  if (!error) {
    return "reason unknown";
  }
  for (const FileReason &known : kFileReasons) {
    if (error == known.condition) {
      return known.words;
    }
  }
  return lowerFirst(error.message());
}

} // namespace

std::string portOpenReason(int errnoValue) {
  if (errnoValue == EACCES || errnoValue == EPERM) {
    return "permission denied — " + dialoutHint();
  }
  for (const PortReason &known : kPortReasons) {
    if (known.errnoValue == errnoValue) {
      return known.words;
    }
  }
  return lowerFirst(std::generic_category().message(errnoValue));
}

std::string describePortFailure(const std::string &device, int errnoValue) {
  return sentence("The port " + device + " could not be opened: " + portOpenReason(errnoValue));
}

std::string fileFailureReason(std::error_code error) {
  return fileReason(error);
}

std::string notSavedText(const StringTable &strings, const std::filesystem::path &path,
                         std::error_code error) {
  std::string text = strings.text(sid::kFileNotSaved) + path.string();
  return error ? text + " (" + fileReason(error) + ")" : text;
}

std::string describeFileFailure(const std::filesystem::path &path, std::error_code error) {
  return sentence("The file " + path.string() +
                  " could not be read or written: " + fileReason(error));
}

} // namespace tarnwick
