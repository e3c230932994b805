#include "atomic_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// A name no other writer of this process or another uses at the same time.
fs::path temporaryName(const fs::path &target) {
  static std::atomic<unsigned> counter{0};
  // Short enough for the folder's name limit whatever the target's length.
  const std::string name = "." + target.filename().string().substr(0, 200) + ".tmp-" +
                           std::to_string(::getpid()) + "-" + std::to_string(counter++);
  return target.parent_path() / name;
}

int createTemporary(const fs::path &target, fs::path &temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = temporaryName(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  return -1;
}

std::error_code writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return lastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// The replaced file keeps its permissions.
void keepMode(int fd, const fs::path &target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);
  }
}

// Makes the rename itself durable.
void syncFolder(const fs::path &folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

std::error_code fillAndClose(int fd, const fs::path &target, std::string_view bytes) {
  keepMode(fd, target);
  std::error_code error = writeAll(fd, bytes);
  if (!error && ::fsync(fd) != 0) {
    error = lastError();
  }
  if (::close(fd) != 0 && !error) {
    error = lastError();
  }
  return error;
}

} // namespace

std::error_code writeFileAtomically(const fs::path &path, std::string_view bytes) {
  fs::path temporary;
  const int fd = createTemporary(path, temporary);
  if (fd < 0) {
    return lastError();
  }
  std::error_code error = fillAndClose(fd, path, bytes);
  if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) {
    error = lastError();
  }
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  syncFolder(path.parent_path());
  return {};
}

std::error_code writeFileAtomically(const fs::path &path, std::span<const std::uint8_t> bytes) {
  return writeFileAtomically(
      path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

} // namespace tarnwick
