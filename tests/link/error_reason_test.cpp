#include "error_reason.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tarnwick {
namespace {

const std::string kDialout =
    "Your user is not in the dialout group. Add it with \"sudo usermod -aG "
    "dialout $USER\", then log out and log in again.";

TEST(ErrorReason, eachFailureIsNamedWithWhatToDo) {
  struct Case {
    int errnoValue;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {EACCES, "permission denied — " + kDialout},
      {EPERM, "permission denied — " + kDialout},
      {EBUSY, "busy — in use by another program"},
      {EIO, "input/output error — no device answers behind it"},
      {ENOENT, "no such device"},
      {ENODEV, "no such device"},
      {ENXIO, "no such device"},
      {EINVAL, "invalid argument"}, // the system's words, lower case first
  };
  for (const Case &c : cases) {
    EXPECT_EQ(portOpenReason(c.errnoValue), c.reason) << c.errnoValue;
  }
  EXPECT_EQ(describePortFailure("/dev/ttyS1", EBUSY),
            "The port /dev/ttyS1 could not be opened: busy — in use by another program.");
  // The hint ends its own sentence: no second full stop.
  EXPECT_EQ(describePortFailure("/dev/ttyS0", EACCES),
            "The port /dev/ttyS0 could not be opened: permission denied — " + kDialout);
}

TEST(ErrorReason, fileFailuresNameTheFileAndTheReason) {
  struct Case {
    std::error_code error;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {std::error_code(EACCES, std::system_category()), "permission denied"},
      {std::make_error_code(std::errc::no_space_on_device), "the disk is full"},
      {std::make_error_code(std::errc::read_only_file_system), "the disk is read-only"},
      {std::error_code(ENOENT, std::generic_category()), "no such file or folder"},
      {std::make_error_code(std::errc::invalid_argument), "invalid argument"},
      {std::error_code(), "reason unknown"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(describeFileFailure("/w/Cfg/site.cfg", c.error),
              "The file /w/Cfg/site.cfg could not be read or written: " + c.reason + ".")
        << c.error.message();
  }
}

} // namespace
} // namespace tarnwick
