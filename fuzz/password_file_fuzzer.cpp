// The password file reader on arbitrary file contents: at most 101
// characters, never past a 0xFF byte, and a stored password reads back as it
// was written.
#include "supervisor_password.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick;

namespace {

void require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const std::string password = decodePassword(bytes);
  require(password.size() <= kMaxStoredPasswordChars);
  require(password.size() * 2 <= bytes.size());
  for (std::size_t i = 0; i < password.size(); ++i) {
    require(bytes[2 * i] != '\xFF' && bytes[2 * i + 1] != '\xFF');
    require(password[i] == static_cast<char>(bytes[2 * i] | bytes[2 * i + 1]));
  }
  // Written in the file's form, whatever the dialog gives reads back whole.
  const std::string typed = passwordDialogText(bytes);
  require(typed.size() <= kPasswordDialogChars);
  require(decodePassword(encodePassword(typed)) == typed);
  return 0;
}
