// Packet file transfer: the whole file is cut into CRC-16 blocks before the
// first byte goes out, so the send loop only writes ready packets. All storage
// is static; nothing is allocated during a transfer.
#include "crc16.h"
#include "port.h"
#include "quillport.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned char kSoh = 0x01; // 128-byte block
constexpr unsigned char kStx = 0x02; // 1024-byte block
constexpr unsigned char kEot = 0x04; // written once after the last ACK
constexpr unsigned char kAck = 0x06;
constexpr unsigned char kNak = 0x15; // receiver wants the packet again
constexpr unsigned char kCan = 0x18;
constexpr unsigned char kPad = 0x1A;

constexpr int kMaxPackets = 1000; // files of at most 1,024,000 bytes
constexpr int kChunkSize = 1024;
constexpr int kSmallBlock = 128;
constexpr int kHeaderSize = 3;  // start byte, block number, complement
constexpr int kTrailerSize = 2; // CRC high, CRC low
constexpr int kMaxPacketSize = kHeaderSize + kChunkSize + kTrailerSize; // 1029
constexpr int kAttemptLimit = 250;
constexpr int kCancelTries = 4;

constexpr int kSendAcknowledged = 0;
constexpr int kSendWriteFailed = 2;
constexpr int kSendCancelled = 3;

unsigned char fileData[kMaxPackets][kChunkSize];
int chunkLength[kMaxPackets + 1];
unsigned char packetTable[kMaxPackets][kMaxPacketSize];
int packetCount = 0;
int lastPacketSize = 0;
int sizeInFlight = 0;
int currentPacketNumber = 0;
int byteCounter = 0;
unsigned char sequenceByte = 1;
char storedFilePath[260];

// Reads the file into the data area. Returns the chunk count, or -1 when the
// file cannot be read or holds more than the storage takes.
int readChunks(std::FILE *file) {
  int count = 0;
  for (;;) {
    if (count == kMaxPackets) {
      unsigned char extra = 0;
      const bool tooLong = std::fread(&extra, 1, 1, file) == 1;
      return tooLong || std::ferror(file) != 0 ? -1 : count;
    }
    const std::size_t n = std::fread(fileData[count], 1, kChunkSize, file);
    chunkLength[count] = static_cast<int>(n);
    if (std::ferror(file) != 0) {
      return -1;
    }
    if (n == 0) {
      return count;
    }
    ++count;
  }
}

void buildPacket(int n, bool isLast) {
  const int length = chunkLength[n];
  const bool small = length <= kSmallBlock;
  const int blockSize = small ? kSmallBlock : kChunkSize;
  unsigned char *packet = packetTable[n];
  packet[0] = small ? kSoh : kStx;
  packet[1] = sequenceByte;
  packet[2] = static_cast<unsigned char>(255 - sequenceByte);
  sequenceByte = static_cast<unsigned char>(sequenceByte + 1);
  std::memcpy(packet + kHeaderSize, fileData[n], static_cast<std::size_t>(length));
  std::memset(packet + kHeaderSize + length, kPad, static_cast<std::size_t>(blockSize - length));
  const std::uint16_t crc =
      quillport::crc16(packet + kHeaderSize, static_cast<std::size_t>(blockSize));
  packet[kHeaderSize + blockSize] = static_cast<unsigned char>(crc >> 8);
  packet[kHeaderSize + blockSize + 1] = static_cast<unsigned char>(crc & 0xFF);
  byteCounter += blockSize;
  if (isLast) {
    lastPacketSize = kHeaderSize + blockSize + kTrailerSize;
  }
}

bool writePacket(int index) {
  return quillport::portWrite(packetTable[index], sizeInFlight);
}

unsigned char readAnswer() {
  unsigned char byte = 0;
  (void)quillport::portReadByte(&byte);
  return byte;
}

int cancelSequence() {
  for (int attempt = 1; attempt <= kCancelTries; ++attempt) {
    const unsigned char can = kCan;
    (void)quillport::portWrite(&can, 1);
    if (readAnswer() == kAck) {
      return attempt < kCancelTries ? 1 : 0;
    }
  }
  return 0;
}

} // namespace

extern "C" {

int fnXParseFile(const char *path) {
  byteCounter = 0;
  sequenceByte = 1;
  // A failed parse leaves nothing to send rather than a half-replaced file.
  packetCount = 0;
  std::FILE *file = path != nullptr ? std::fopen(path, "rb") : nullptr;
  if (file == nullptr) {
    return -1;
  }
  const int count = readChunks(file);
  std::fclose(file);
  if (count < 0) {
    return -1;
  }
  for (int n = 0; n < count; ++n) {
    buildPacket(n, n == count - 1);
  }
  packetCount = count;
  return 0;
}

void fnXResetFilePath(void) {
  storedFilePath[0] = '\0';
}

int fnXGetNumberOfPackets(void) {
  return packetCount;
}

int fnXGetCurrentPacketNumber(void) {
  return currentPacketNumber;
}

int fnXGetBytes(void) {
  return byteCounter;
}

int fnXSetBytes(int value) {
  byteCounter = value;
  return value;
}

int fnXCancel(void) {
  return cancelSequence();
}

int fnXSendPacket(int index) {
  // An index outside the parsed file has no packet; nothing is written.
  if (index < 0 || index >= packetCount) {
    return kSendWriteFailed;
  }
  const bool isLast = index == packetCount - 1;
  sizeInFlight = isLast ? lastPacketSize : kMaxPacketSize;
  currentPacketNumber = index + 1;
  if (!writePacket(index)) {
    return kSendWriteFailed;
  }
  for (int attempts = 1;; ++attempts) {
    const unsigned char answer = readAnswer();
    if (answer == kNak && !writePacket(index)) {
      return kSendWriteFailed;
    }
    if (attempts > kAttemptLimit) {
      (void)cancelSequence();
      return kSendCancelled;
    }
    if (answer == kAck) {
      if (isLast) {
        const unsigned char eot = kEot;
        if (!quillport::portWrite(&eot, 1)) {
          return kSendWriteFailed;
        }
      }
      return kSendAcknowledged;
    }
  }
}

} // extern "C"
