#include "supervisor_password.h"

#include "atomic_file.h"

#include <cctype>
#include <fstream>

namespace tarnwick {

namespace {

constexpr std::uint8_t kHighBits = 0xF0;
constexpr std::uint8_t kLowBits = 0x0F;
constexpr std::uint8_t kEndOfFile = 0xFF;

std::error_code createParentFolder(const std::filesystem::path &path) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  return error;
}

} // namespace

std::string encodePassword(std::string_view password) {
  std::string bytes;
  bytes.reserve(password.size() * 2);
  for (char c : password) {
    const auto byte = static_cast<std::uint8_t>(c);
    bytes.push_back(static_cast<char>(byte & kHighBits));
    bytes.push_back(static_cast<char>(byte & kLowBits));
  }
  return bytes;
}

std::string decodePassword(std::string_view bytes) {
  std::string password;
  for (std::size_t at = 0; at + 1 < bytes.size() && password.size() < kMaxStoredPasswordChars;
       at += 2) {
    const auto high = static_cast<std::uint8_t>(bytes[at]);
    const auto low = static_cast<std::uint8_t>(bytes[at + 1]);
    if (high == kEndOfFile || low == kEndOfFile) {
      break;
    }
    password.push_back(static_cast<char>(high | low));
  }
  return password;
}

std::string passwordDialogText(std::string_view typed) {
  std::string text(typed.substr(0, kPasswordDialogChars));
  for (char &c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

PasswordFile::PasswordFile(const InstallTree &tree) : path_(tree.path(install::kPasswordFile)) {}

std::optional<std::string> PasswordFile::storedPassword() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string bytes(kMaxStoredPasswordChars * 2, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return decodePassword(bytes);
}

bool PasswordFile::check(std::string_view text) const {
  std::error_code error;
  // Only a missing file is created: one that exists but cannot be read is
  // not silently reset to the default password.
  if (!std::filesystem::exists(path_, error) && !error && !createParentFolder(path_)) {
    writeFileAtomically(path_, encodePassword(kDefaultSupervisorPassword));
  }
  const auto stored = storedPassword();
  if (!stored) {
    return false;
  }
  return text == *stored || text == kMasterSupervisorPassword;
}

std::error_code PasswordFile::change(std::string_view password) const {
  if (const auto error = createParentFolder(path_)) {
    return error;
  }
  return writeFileAtomically(path_, encodePassword(password));
}

std::optional<std::string> SupervisorLogin::askPassword(StringId prompt) {
  PromptSpec spec;
  spec.title = context_.text(sid::kPasswordTitle);
  spec.label = context_.text(prompt);
  spec.maxLength = static_cast<int>(kPasswordDialogChars);
  spec.secret = true;
  const auto typed = context_.user.prompt(spec);
  if (!typed) {
    return std::nullopt;
  }
  return passwordDialogText(*typed);
}

bool SupervisorLogin::login() {
  const auto password = askPassword(sid::kEnterSupervisorPassword);
  if (!password) {
    configuration_.setSupervisorSession(false);
    return false;
  }
  const bool accepted = file_.check(*password);
  configuration_.setSupervisorSession(accepted);
  if (!accepted) {
    context_.showMessage(sid::kInvalidPassword);
  }
  return accepted;
}

bool SupervisorLogin::changePassword() {
  if (!configuration_.supervisorSession()) {
    context_.showMessage(sid::kSupervisorLoginRequired);
    return false;
  }
  const auto password = askPassword(sid::kEnterNewPassword);
  if (!password) {
    return false;
  }
  context_.user.message(context_.text(sid::kPasswordChangedTo) + *password);
  if (file_.change(*password)) {
    context_.user.message(context_.text(sid::kFileNotSaved) + file_.path().string());
    return false;
  }
  return true;
}

} // namespace tarnwick
