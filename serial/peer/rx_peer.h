// lrzsz's rx as an independent XMODEM-CRC receiver on a pseudo-terminal, and
// the sending sequence the main program uses with the library.
#pragma once

#include "pty.h"
#include "quillport_library.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quillport::peer {

struct RxOptions {
  std::string folder;   // rx writes only below its current folder
  std::string fileName; // relative name of the file to receive
  int errorsEvery = 0;  // rx --errors N: a CRC error every N bytes (0: none)
};

class RxProcess {
public:
  // Starts rx -c with the given tty as its standard input and output.
  RxProcess(const RxOptions &options, int tty);
  ~RxProcess();
  RxProcess(const RxProcess &) = delete;
  RxProcess &operator=(const RxProcess &) = delete;

  // Waits for rx to end; false when it is still running after timeoutMs.
  bool wait(int timeoutMs, int *exitStatus = nullptr);

private:
  pid_t pid_ = -1;
};

struct SendReport {
  bool startSeen = false;   // "C" arrived
  int parseResult = -1;     // fnXParseFile
  int packetCount = 0;      // fnXGetNumberOfPackets
  int byteCount = 0;        // fnXGetBytes after parsing
  std::vector<int> results; // every fnXSendPacket result, in call order
  bool allAcknowledged() const;
};

// Waits for "C", parses, sends packet 0 three times and then the rest, going
// on after a failed packet as the main program does.
SendReport sendFileAsTheProgram(const QuillportLibrary &lib, const std::string &path,
                                int startWaitMs);

// Reads a whole file; empty when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::string &path);

// True when received is original followed only by 0x1A bytes.
bool isOriginalPlusPadding(const std::vector<std::uint8_t> &original,
                           const std::vector<std::uint8_t> &received);

} // namespace quillport::peer
