// Pseudo-terminal pairs and a byte relay between two of them: the stand-in for
// a serial cable in the library's tests, demo and benchmark.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillport::peer {

// A master with its slave path. A keeper descriptor on the slave stays open so
// the master does not read as hung up while nobody else has the slave open.
class PtyPair {
public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair &) = delete;
  PtyPair &operator=(const PtyPair &) = delete;

  int master() const { return master_; }
  const std::string &slavePath() const { return slavePath_; }

  // Opens another descriptor on the slave in raw mode (caller closes it).
  int openSlaveRaw() const;
  // Drops the keeper, so that closing every other slave descriptor hangs up.
  void releaseKeeper();
  // Closes the master: the slave side sees the line go away.
  void closeMaster();
  // Reads and writes on the master return at once instead of waiting.
  void setMasterNonBlocking();

  bool writeAll(const void *data, std::size_t length) const;
  bool writeAll(const std::vector<std::uint8_t> &bytes) const {
    return writeAll(bytes.data(), bytes.size());
  }
  // One byte from the master, or -1 when none arrives within timeoutMs.
  int readByte(int timeoutMs) const;
  // Exactly count bytes, or fewer when the line stays silent for timeoutMs.
  std::vector<std::uint8_t> readBytes(std::size_t count, int timeoutMs) const;
  // Everything that arrives until the line has been quiet for quietMs.
  std::vector<std::uint8_t> readUntilQuiet(int quietMs) const;

private:
  int master_ = -1;
  int keeper_ = -1;
  std::string slavePath_;
};

} // namespace quillport::peer
