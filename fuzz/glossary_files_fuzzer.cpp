// The glossary files of any content: the ".dat" records, the ".txt" lines
// and "Glossary.cfg". Entries stay inside their groups and limits, and every
// listed entry is found again by its text.
#include "glossary.h"
#include "glossary_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

using namespace tarnwick;

namespace {

void checkGlossary(const Glossary &glossary) {
  for (const GlossaryGroup &group : kGlossaryGroups) {
    for (int index = 0; index < group.count; ++index) {
      if (glossary.text(group.code, index).size() > static_cast<std::size_t>(group.maxLength)) {
        std::abort();
      }
    }
  }
  for (const GlossaryItem &item : glossary.labelItems()) {
    const GlossaryMatch match = glossary.findLabel(item.text);
    if (!match.found() || !equalsIgnoringCase(glossary.text(match.ref()), item.text)) {
      std::abort();
    }
  }
  for (const GlossaryItem &item : glossary.descriptionItems()) {
    if (!glossary.findDescription(item.text).found()) {
      std::abort();
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  Glossary glossary;
  applyPredefinedRecords(glossary, bytes, EntryKind::Label);
  applyPredefinedRecords(glossary, bytes, EntryKind::Description);
  const auto lines = splitEntryLines(text);
  glossary.setUserEntries(lines, lines);
  checkGlossary(glossary);
  const int width = parseEncodeFormat(text);
  if (width != 0 && width != 7 && width != 8) {
    std::abort();
  }
  return 0;
}
