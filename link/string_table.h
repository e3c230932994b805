// The message texts by resource id: the built-in English texts, overridden
// one by one by a language pack.
#pragma once

#include "string_ids.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class StringTable {
public:
  StringTable(); // the built-in English texts

  // The text of id; empty when the id is unknown.
  const std::string &text(StringId id) const;
  bool has(StringId id) const;
  void set(StringId id, std::string text);
  // Every id of the table, ascending.
  std::vector<StringId> ids() const;

  // Replaces the texts a language pack carries (see parseLanguagePack); ids
  // the table does not know are ignored. Returns how many texts were replaced.
  std::size_t applyLanguagePack(std::string_view pack);

  std::size_t size() const { return texts_.size(); }
  // How many texts are built in; more than size() when two share an id.
  static std::size_t builtInCount();

private:
  std::map<StringId, std::string> texts_;
};

struct PackEntry {
  StringId id = 0;
  std::string text;
};

// A language pack is UTF-8 text, one "id<TAB>text" line per entry. In a text,
// "\n", "\t" and "\\" stand for a line feed, a tab and a backslash. Blank
// lines, lines beginning with "#" and malformed lines are skipped; a leading
// byte-order mark and a CR before each LF are ignored. Later lines win.
// "\r" stands for a carriage return.
std::vector<PackEntry> parseLanguagePack(std::string_view pack);
// The pack text of entries, in their order; parseLanguagePack reads it back.
std::string formatLanguagePack(const std::vector<PackEntry> &entries);

} // namespace tarnwick
