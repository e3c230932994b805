// The record-file reader on arbitrary bytes, for each record size it reads:
// no read past the bytes, a bounded list, and what it reads writes back and
// reads again the same.
#include "demo_templates.h"
#include "record_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const Glossary glossary = demoEnglishGlossary();
  // A count far past the bytes gives thousands of zero records, slowly; most
  // runs get a smaller count so that the fuzzer explores the rest.
  std::vector<std::uint8_t> input(data, data + size);
  if (input.size() >= 4 && (input.size() < 5 || input[4] != 0xFF)) {
    input[0] = 0;
    input[1] = 0;
    input[2] = 0;
    input[3] &= 0x1F;
  }
  const std::span<const std::uint8_t> bytes(input);
  const std::pair<std::size_t, RecordKind> layouts[] = {
      {160, RecordKind::ReadMarkers}, {64, RecordKind::LegacyRead}, {192, RecordKind::CableData}};
  for (const auto &[recordBytes, kind] : layouts) {
    const auto entries = decodeRecordFile(bytes, recordBytes, kind, glossary);
    if (entries.size() > (kLargestRecordFileBytes + size) / recordBytes + 1) {
      std::abort();
    }
    const auto again = decodeRecordFile(encodeRecordFile(entries),
                                        kindInfo(currentKind(kind)).recordBytes, kind, glossary);
    if (again != entries) {
      std::abort();
    }
  }
  return 0;
}
