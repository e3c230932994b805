// Reading the receiver's record uploads: the binary block that answers "rc"
// and "pc", and the cable records read with "er". The pieces that parse are
// pure so that the fuzzers run the same code on any bytes.
#pragma once

#include "console.h"
#include "record_layout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

// The four bytes before the records: count and record size, big-endian.
struct MarkerBlockHeader {
  std::uint16_t count = 0;
  std::uint16_t recordBytes = 0;
};
MarkerBlockHeader markerBlockHeader(std::span<const std::uint8_t, 4> bytes);

// The box shown when a record byte does not arrive: "Index-> i\nData->\n",
// then each byte received for the record in decimal and a space, "\n" after
// every eighth.
std::string missingByteDiagnostic(std::size_t index, std::span<const std::uint8_t> received);

// The count of "er 54874 2 1": first × 256 + second.
inline std::size_t cableCount(int high, int low) {
  return static_cast<std::size_t>(high) * 256 + static_cast<std::size_t>(low);
}

// How a read ended.
struct UploadRead {
  Outcome outcome = Outcome::Ok;
  std::size_t announced = 0; // records the receiver said it would send
  std::size_t received = 0;  // complete records passed on
  std::string diagnostic;    // the missing-byte text, when a byte did not come
};

// Told the count once it is known, then each record (160 or 192 bytes) in order.
struct UploadSink {
  std::function<void(std::size_t count)> announced;
  std::function<void(std::vector<std::uint8_t> record)> record;
};

// The reply to "rc"/"pc" after its echo: the header, then each record as a
// MarkerRecord (64-byte records widened, others padded or cut to 160).
UploadRead readMarkerUpload(Console &console, const UploadSink &sink);
// The reply to "er 54880 <count × 192> 1" after its echo.
UploadRead readCableUpload(Console &console, std::size_t count, const UploadSink &sink);

// The same parsing over bytes already received (the fuzzers' entry points):
// the records as far as the bytes reach.
std::vector<std::vector<std::uint8_t>> decodeMarkerUpload(std::span<const std::uint8_t> reply);
std::vector<std::vector<std::uint8_t>> decodeCableUpload(std::span<const std::uint8_t> reply,
                                                         std::size_t count);

} // namespace tarnwick
