// The supervisor password: the password file "\Cfg\cfgpass.en", the login and
// the password change of the configuration editor.
//
// The file holds two bytes per character: the character with its low four
// bits cleared, then with its high four bits cleared ("A", 0x41, is 0x40
// 0x01). No header, no terminator.
#pragma once

#include "app_context.h"
#include "install_tree.h"
#include "receiver_configuration.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnwick {

// The password a new password file gets: ten upper-case letters.
inline constexpr std::string_view kDefaultSupervisorPassword = "QUARTZLOCK";
// Accepted at every login besides the stored one: five upper-case letters, a
// blank, two upper-case letters.
inline constexpr std::string_view kMasterSupervisorPassword = "HELIX TW";

inline constexpr std::size_t kMaxStoredPasswordChars = 101;
inline constexpr std::size_t kPasswordDialogChars = 19; // OK takes at most these

// The password dialog (resource 268); its caption is string kPasswordTitle.
inline constexpr int kPasswordDialogId = 268;

std::string encodePassword(std::string_view password);
// Pair by pair until a pair is incomplete or either byte is 0xFF; each
// character is the first byte OR the second. At most 101 characters.
std::string decodePassword(std::string_view bytes);
// What the password dialog returns for a typed text: its first 19
// characters, letters in upper case.
std::string passwordDialogText(std::string_view typed);

class PasswordFile {
public:
  explicit PasswordFile(std::filesystem::path path) : path_(std::move(path)) {}
  explicit PasswordFile(const InstallTree &tree);

  // Whether text is the stored or the master password. A missing file is
  // first created with the default password; when it cannot be, every check
  // fails, the master password's too.
  bool check(std::string_view text) const;
  // Replaces the stored password (an empty one gives an empty file).
  std::error_code change(std::string_view password) const;

  const std::filesystem::path &path() const { return path_; }

private:
  std::optional<std::string> storedPassword() const;

  std::filesystem::path path_;
};

// The editor's two buttons. Both reach the user through the context.
class SupervisorLogin {
public:
  SupervisorLogin(AppContext &context, ReceiverConfiguration &configuration, PasswordFile file)
      : context_(context), configuration_(configuration), file_(std::move(file)) {}

  // "Supervisor Login": OK with the right password logs in; a wrong one
  // logs out with "Invalid Password."; Cancel logs out.
  bool login();
  // "Change Password": only for a logged-in supervisor. Returns whether the
  // file was rewritten.
  bool changePassword();

private:
  std::optional<std::string> askPassword(StringId prompt);

  AppContext &context_;
  ReceiverConfiguration &configuration_;
  PasswordFile file_;
};

} // namespace tarnwick
