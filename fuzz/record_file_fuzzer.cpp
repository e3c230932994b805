// The record-file reader on arbitrary bytes, for each record size it reads:
// no read past the bytes, a bounded list, and what it reads writes back and
// reads again the same.
#include "demo_templates.h"
#include "record_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const Glossary glossary = demoEnglishGlossary();
  const std::span<const std::uint8_t> bytes(data, size);
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
