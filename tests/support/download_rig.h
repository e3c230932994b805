// The downloads to the receiver on the simulator: virtual time, a scripted
// user, a hook before every write, and what the receiver got read back as
// timed pieces.
#pragma once

#include "app_context.h"
#include "forwarding_port.h"
#include "scripted_user.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tarnwick::testing {

// Passes every call on; a hook sees each byte before it is written.
class WriteHookPort final : public ForwardingPort {
public:
  explicit WriteHookPort(PortApi &inner) : ForwardingPort(inner) {}
  std::function<void()> beforeWrite;

  int writeByte(int c) override {
    if (beforeWrite) {
      beforeWrite();
    }
    return inner_.writeByte(c);
  }
  int writeToPort(const void *buffer, int length) override {
    if (beforeWrite) {
      beforeWrite();
    }
    return inner_.writeToPort(buffer, length);
  }
};

// Bytes that arrived together, and when.
struct Piece {
  std::int64_t atMs;
  std::string bytes;
  bool operator==(const Piece &) const = default;
};

// "@675 'M'" or "@1025 'y' 7F" for failure messages.
inline void PrintTo(const Piece &piece, std::ostream *out) {
  *out << '@' << piece.atMs << ' ';
  for (const char c : piece.bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      *out << c;
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      *out << '<' << kHex[byte >> 4] << kHex[byte & 0xF] << '>';
    }
  }
}

inline std::string bytesOf(std::initializer_list<int> values) {
  std::string out;
  for (const int value : values) {
    out.push_back(static_cast<char>(value));
  }
  return out;
}

// The bytes the receiver got, those of one moment joined, with times made
// relative to the first byte of the first occurrence of from.
inline std::vector<Piece> piecesFrom(const sim::Receiver &receiver, const std::string &from) {
  std::vector<Piece> pieces;
  for (const auto &entry : receiver.transcript()) {
    if (entry.dir != sim::Direction::ToReceiver) {
      continue;
    }
    if (!pieces.empty() && pieces.back().atMs == entry.timeMs) {
      pieces.back().bytes.push_back(static_cast<char>(entry.byte));
    } else {
      pieces.push_back({entry.timeMs, std::string(1, static_cast<char>(entry.byte))});
    }
  }
  std::string joined;
  std::vector<std::size_t> starts;
  for (const Piece &piece : pieces) {
    starts.push_back(joined.size());
    joined += piece.bytes;
  }
  const std::size_t at = joined.find(from);
  std::vector<Piece> result;
  if (at == std::string::npos) {
    return result;
  }
  std::int64_t originMs = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::size_t end = starts[i] + pieces[i].bytes.size();
    if (end <= at) {
      continue;
    }
    Piece piece = pieces[i];
    if (starts[i] < at) {
      piece.bytes.erase(0, at - starts[i]);
    }
    if (result.empty()) {
      originMs = piece.atMs;
    }
    piece.atMs -= originMs;
    result.push_back(piece);
  }
  return result;
}

// The first count pieces from the first occurrence of from.
inline std::vector<Piece> piecesFrom(const sim::Receiver &receiver, const std::string &from,
                                     std::size_t count) {
  auto pieces = piecesFrom(receiver, from);
  if (pieces.size() > count) {
    pieces.resize(count);
  }
  return pieces;
}

// Pieces of one byte each, gapMs apart, from atMs on.
inline void appendPaced(std::vector<Piece> &pieces, std::int64_t atMs, const std::string &bytes,
                        std::int64_t gapMs) {
  for (const char c : bytes) {
    pieces.push_back({atMs, std::string(1, c)});
    atMs += gapMs;
  }
}

struct DownloadRig {
  static constexpr const char *kDevice = "/dev/simDL";

  DownloadRig() {
    context.portDiscovery = std::make_unique<FixedPortDiscovery>(std::vector<std::string>{kDevice});
  }

  // A receiver on the device, opened as the Communication Options dialog leaves it.
  sim::Receiver &openReceiver(sim::Faults faults = {}) {
    sim::Receiver &receiver = sim.addReceiver(kDevice, {}, std::move(faults));
    sim.setBaudRate(38400);
    sim.openPort(kDevice);
    context.portState.markOpen(kDevice, 38400);
    return receiver;
  }

  TempDir work;
  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  WriteHookPort port{sim};
  ScriptedUser user;
  AppContext context{work.path(), port, clock, user};
};

} // namespace tarnwick::testing
