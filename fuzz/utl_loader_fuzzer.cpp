// ".utl" files of any content, read as each kind: the prefix and position
// rules, the 112-byte cap and the decoder behind them.
#include "demo_templates.h"
#include "template_file.h"
#include "user_list_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const Glossary glossary = demoEnglishGlossary();
  static const UserListStore lists(glossary, "/nonexistent/FavGlossary");
  const std::span<const std::uint8_t> bytes(data, size);
  for (const TemplateKind kind : {TemplateKind::None, TemplateKind::Marker, TemplateKind::Trace}) {
    const TemplateFile file = parseTemplateFile(bytes, kind);
    if (file.kind == TemplateKind::Marker && file.encoded.size() > kMarkerTemplateBytes) {
      std::abort();
    }
    if (kind == TemplateKind::Marker && size > 0 && file.listPosition != data[0]) {
      std::abort(); // a marker template's first byte is always its position
    }
    if (lists.nameAt(file.listPosition) != "All") {
      std::abort(); // only "All" exists here
    }
    decodeTemplate(glossary, file.encoded, file.kind);
    // Written back, the file reads the same.
    const TemplateFile again = parseTemplateFile(templateFileBytes(file), file.kind);
    if (again.listPosition != file.listPosition || again.encoded != file.encoded) {
      std::abort();
    }
  }
  return 0;
}
