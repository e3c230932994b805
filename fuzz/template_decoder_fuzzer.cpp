// The template decoder on arbitrary bytes (marker memory, record user data,
// the body of ".utl" files), over the demo glossary.
#include "demo_templates.h"
#include "template_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const Glossary glossary = demoEnglishGlossary();
  const std::span<const std::uint8_t> bytes(data, size);
  for (const TemplateKind kind : {TemplateKind::Marker, TemplateKind::Trace}) {
    const DecodedTemplate decoded = decodeTemplate(glossary, bytes, kind);
    if (decoded.width != 7 && decoded.width != 8) {
      std::abort();
    }
    for (const TemplateRow &row : decoded.rows) {
      if (row.label.size() > kMaxLabelLength) {
        std::abort(); // literal labels carry at most 8 characters, glossary labels too
      }
    }
    // What was decoded can be measured and written again.
    const TemplateEncoding again =
        encodeTemplate(glossary, decoded.rows, decoded.width, decoded.dateOrder, kind);
    if (kind == TemplateKind::Marker && again.bytes.size() > kMarkerTemplateBytes) {
      std::abort();
    }
    measureTemplate(glossary, decoded.rows, decoded.width);
  }
  return 0;
}
