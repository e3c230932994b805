// The Glossary Download dialog apart from its controls: the glossary held in
// memory into the receiver: the twenty groups item by item, the label list
// "All", the term list and the glossary version, each acknowledged.
#pragma once

#include "glossary.h"
#include "paced_download.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarnwick {

// The order the groups go in: the label groups first.
inline constexpr std::array<int, 20> kGlossarySendOrder = {0, 1, 2,  3,  16, 17, 4,  5,  6,  7,
                                                           8, 9, 10, 11, 12, 13, 14, 15, 18, 19};

// A group's header: its code, its entry count and the signed width of an
// index into it, as a reference's low byte uses it.
struct GroupHeader {
  std::uint8_t code;
  std::uint8_t count;
  std::int8_t indexBits;
};
GroupHeader groupHeaderOf(const GlossaryGroup &group);

// One record of the term list: a tag (sent as two decimal numbers, high byte
// first) and its 16-bit values.
struct TermRecord {
  GlossaryRef tag;
  std::vector<GlossaryRef> values;
  bool operator==(const TermRecord &) const = default;
};

inline constexpr GlossaryRef kTermTableTag = 0xFF00; // every description, up to 350
inline constexpr std::size_t kTermTableValues = 350;
inline constexpr std::size_t kDateFormatValues = 16; // the date label's record

// The term list from the glossary's tables: the table of every description
// (control entries left out) in group order, then the date label's record
// with the date formats "M/D/Y" and "D/M/Y", the descriptions the lists
// never offer because the receiver fills them in for that label.
std::vector<TermRecord> glossaryTermRecords(const Glossary &glossary);

// Flush; "gn", the code, the signed index width and the count, "\r", 50 ms
// after each byte; "gdata\r" in one write; 200 ms.
PacedExchange groupHeaderExchange(const GlossaryGroup &group);
// The characters, 25 ms before each; a shorter item than the group allows is
// closed by a flush and 0x7F, 25 ms after; the ACK.
PacedExchange glossaryItemExchange(std::string_view item, int maxLength);
// "pctl ", the value count + 2 and a space, the tag's high byte and a space,
// its low byte, each in one write and 200 ms after; flush; "\r", 100 ms; ACK.
PacedExchange termHeaderExchange(const TermRecord &record);
// "tdata\r", 100 ms; 0x19 0x1E, the values, 0x19 0x1F, flush, 0x7F, 25 ms
// after every byte; ACK.
PacedExchange termDataExchange(const TermRecord &record);
// Flush; "gloss 11\r" in one write; 100 ms; ACK.
PacedExchange glossaryVersionExchange();

DownloadPlan planGlossaryDownload(const Glossary &glossary, const StringTable &strings);

class GlossaryDownload final : public PacedDownload {
public:
  static constexpr int kDialogId = 238;
  static constexpr std::string_view kCaption = "Glossary Download";
  static constexpr int kProgressSteps = 22; // the groups, the two lists, the version
  static constexpr int kOpeningTimerMs = 500;
  static constexpr int kButtonTimerMs = 200;

  GlossaryDownload(AppContext &context, const Glossary &glossary)
      : PacedDownload(context), glossary_(&glossary) {}

  // The glossary the next begin() sends (the upgrade loads another first).
  void setGlossary(const Glossary &glossary) { glossary_ = &glossary; }

protected:
  DownloadPlan makePlan() override { return planGlossaryDownload(*glossary_, context_.strings); }

private:
  const Glossary *glossary_;
};

} // namespace tarnwick
