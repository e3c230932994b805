// The record upload parsers on arbitrary reply bytes: the "rc"/"pc" block
// and the long "er" reply of the cable records, each record then decoded.
#include "demo_templates.h"
#include "record_row.h"
#include "record_upload.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const Glossary glossary = demoEnglishGlossary();
  const std::span<const std::uint8_t> reply(data, size);
  for (const auto &record : decodeMarkerUpload(reply)) {
    if (record.size() != kMarkerRecordBytes) {
      std::abort();
    }
    (void)decodeMarkerRecord(record, glossary);
  }
  const std::size_t count = size == 0 ? 0 : data[0] % 4;
  const auto cable = decodeCableUpload(reply.subspan(size == 0 ? 0 : 1), count);
  if (cable.size() > count) {
    std::abort();
  }
  for (const auto &record : cable) {
    if (record.size() != kCableRecordBytes) {
      std::abort();
    }
    (void)decodeCableRecord(record, glossary);
  }
  return 0;
}
