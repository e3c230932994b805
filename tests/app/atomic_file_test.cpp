#include "atomic_file.h"

#include "app_rig.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::TempDir;

std::vector<std::string> entriesOf(const fs::path &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Files may grow to limit bytes while it lives; writing past it fails with
// EFBIG, whatever the user's rights.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }

private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

TEST(AtomicFile, writesANewFileExactly) {
  TempDir work;
  const std::string bytes("a\0b\r\n", 5);
  EXPECT_FALSE(writeFileAtomically(work.path() / "new.cfg", bytes));
  EXPECT_EQ(fileBytes(work.path() / "new.cfg"), bytes);
  EXPECT_EQ(entriesOf(work.path()), std::vector<std::string>{"new.cfg"});
}

TEST(AtomicFile, replacesAnOldFileAndKeepsItsPermissions) {
  TempDir work;
  const auto file = work.write("old.cfg", "old contents that are longer");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::vector<std::uint8_t> bytes{1, 2, 3, 0};
  EXPECT_FALSE(writeFileAtomically(file, bytes));
  EXPECT_EQ(fileBytes(file), std::string("\x01\x02\x03\x00", 4));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(entriesOf(work.path()), std::vector<std::string>{"old.cfg"});
}

TEST(AtomicFile, aFailingWriteLeavesTheOldFileAndNoTemporary) {
  TempDir work;
  const auto file = work.write("settings.cfg", "the previous settings");
  std::error_code error;
  {
    FileSizeLimit limit(8);
    error = writeFileAtomically(file, std::string(64, 'n'));
  }
  EXPECT_EQ(error, std::error_code(EFBIG, std::generic_category()));
  EXPECT_EQ(fileBytes(file), "the previous settings");
  EXPECT_EQ(entriesOf(work.path()), std::vector<std::string>{"settings.cfg"});
}

TEST(AtomicFile, aMissingFolderIsAnError) {
  TempDir work;
  EXPECT_TRUE(writeFileAtomically(work.path() / "missing" / "x.cfg", "x"));
  EXPECT_FALSE(fs::exists(work.path() / "missing"));
}

TEST(AtomicFile, aFolderInTheWayIsNotReplaced) {
  TempDir work;
  fs::create_directories(work.path() / "x.cfg" / "inner");
  EXPECT_TRUE(writeFileAtomically(work.path() / "x.cfg", "x"));
  EXPECT_TRUE(fs::is_directory(work.path() / "x.cfg" / "inner"));
  EXPECT_EQ(entriesOf(work.path()), std::vector<std::string>{"x.cfg"});
}

TEST(AtomicFile, aVeryLongNameStillGetsATemporary) {
  TempDir work;
  const std::string name(250, 'n');
  EXPECT_FALSE(writeFileAtomically(work.path() / name, "x"));
  EXPECT_EQ(fileBytes(work.path() / name), "x");
}

} // namespace
} // namespace tarnwick
