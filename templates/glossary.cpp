#include "glossary.h"

#include <algorithm>

namespace tarnwick {

namespace {

char fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return fold(x) == fold(y); });
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
  const auto byte = [](char c) { return static_cast<unsigned char>(fold(c)); };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return byte(x) < byte(y); });
}

std::array<std::vector<std::string>, kGlossaryGroups.size()> Glossary::makeEmpty() {
  std::array<std::vector<std::string>, kGlossaryGroups.size()> entries;
  for (std::size_t g = 0; g < kGlossaryGroups.size(); ++g) {
    entries[g].resize(static_cast<std::size_t>(kGlossaryGroups[g].count));
  }
  return entries;
}

int Glossary::groupOf(int code) {
  for (std::size_t g = 0; g < kGlossaryGroups.size(); ++g) {
    if (kGlossaryGroups[g].code == code) {
      return static_cast<int>(g);
    }
  }
  return -1;
}

int Glossary::indexWidthOf(int code) {
  const int group = groupOf(code);
  return group < 0 ? -1 : kGlossaryGroups[static_cast<std::size_t>(group)].indexBits;
}

const std::string &Glossary::text(int code, int index) const {
  static const std::string kNone;
  const int group = groupOf(code);
  if (group < 0 || index < 0) {
    return kNone;
  }
  const auto &entries = entries_[static_cast<std::size_t>(group)];
  return static_cast<std::size_t>(index) < entries.size() ? entries[static_cast<std::size_t>(index)]
                                                          : kNone;
}

GlossaryMatch Glossary::find(std::string_view wanted, const int *order, std::size_t count) const {
  if (wanted.empty()) {
    return {};
  }
  for (std::size_t i = 0; i < count; ++i) {
    const auto group = static_cast<std::size_t>(order[i]);
    const auto &entries = entries_[group];
    for (std::size_t index = 0; index < entries.size(); ++index) {
      if (equalsIgnoringCase(entries[index], wanted)) {
        return {kGlossaryGroups[group].code,
                static_cast<std::uint8_t>(kGlossaryGroups[group].indexBits),
                static_cast<std::uint8_t>(index)};
      }
    }
  }
  return {};
}

GlossaryMatch Glossary::findLabel(std::string_view wanted) const {
  return find(wanted, kLabelGroupOrder.data(), kLabelGroupOrder.size());
}

GlossaryMatch Glossary::findDescription(std::string_view wanted) const {
  return find(wanted, kDescriptionGroupOrder.data(), kDescriptionGroupOrder.size());
}

bool Glossary::setEntry(int code, int index, std::string entry) {
  const int group = groupOf(code);
  if (group < 0 || index < 0) {
    return false;
  }
  const GlossaryGroup &info = kGlossaryGroups[static_cast<std::size_t>(group)];
  if (index >= info.count) {
    return false;
  }
  if (entry.size() > static_cast<std::size_t>(info.maxLength)) {
    entry.resize(static_cast<std::size_t>(info.maxLength));
  }
  entries_[static_cast<std::size_t>(group)][static_cast<std::size_t>(index)] = std::move(entry);
  return true;
}

void Glossary::setUserEntries(const std::vector<std::string> &labels,
                              const std::vector<std::string> &descriptions) {
  const auto fill = [this](const std::vector<std::string> &texts, int first, int second) {
    const int firstCount = kGlossaryGroups[static_cast<std::size_t>(groupOf(first))].count;
    const int secondCount = kGlossaryGroups[static_cast<std::size_t>(groupOf(second))].count;
    for (int i = 0; i < firstCount + secondCount; ++i) {
      std::string entry =
          static_cast<std::size_t>(i) < texts.size() ? texts[static_cast<std::size_t>(i)] : "";
      if (i < firstCount) {
        setEntry(first, i, std::move(entry));
      } else {
        setEntry(second, i - firstCount, std::move(entry));
      }
    }
  };
  fill(labels, 26, 27);
  fill(descriptions, 28, 29);
}

void Glossary::clear() {
  entries_ = makeEmpty();
}

bool Glossary::isControlLabel(std::string_view entry) {
  return entry.empty() || entry == "UserEdit" || entry == "Del Row";
}

bool Glossary::isControlDescription(std::string_view entry) {
  return entry.empty() || entry == "UserEdit" || entry == "Delete Row" || entry == "M/D/Y" ||
         entry == "D/M/Y";
}

std::vector<GlossaryItem> Glossary::items(EntryKind kind) const {
  std::vector<GlossaryItem> out;
  for (std::size_t g = 0; g < kGlossaryGroups.size(); ++g) {
    if (kGlossaryGroups[g].kind != kind) {
      continue;
    }
    for (std::size_t index = 0; index < entries_[g].size(); ++index) {
      const std::string &entry = entries_[g][index];
      const bool control =
          kind == EntryKind::Label ? isControlLabel(entry) : isControlDescription(entry);
      if (!control) {
        out.push_back({makeGlossaryRef(kGlossaryGroups[g].code, static_cast<int>(index)), entry});
      }
    }
  }
  return out;
}

std::vector<GlossaryItem> Glossary::labelItems() const {
  return items(EntryKind::Label);
}

std::vector<GlossaryItem> Glossary::descriptionItems() const {
  return items(EntryKind::Description);
}

namespace {

std::vector<std::string> textsOf(const std::vector<GlossaryItem> &items) {
  std::vector<std::string> texts;
  texts.reserve(items.size());
  for (const GlossaryItem &item : items) {
    texts.push_back(item.text);
  }
  return texts;
}

} // namespace

std::vector<std::string> Glossary::listLabels() const {
  return textsOf(labelItems());
}

std::vector<std::string> Glossary::listDescriptions() const {
  return textsOf(descriptionItems());
}

bool Glossary::isDateLabel(std::string_view label) const {
  const std::string &date = dateLabel();
  return !date.empty() && equalsIgnoringCase(label, date);
}

} // namespace tarnwick
