#include "country_list.h"

#include "text_cursor.h"

namespace tarnwick {

namespace {

constexpr std::string_view kCountryMarker = "[COUNTRY]";
constexpr std::size_t kLineLimit = 249;

// A line of the file, cut to the length the list keeps.
bool readLine(TextCursor &cursor, std::string &out) {
  std::string_view line;
  if (!cursor.line(line)) {
    return false;
  }
  out.assign(line.substr(0, kLineLimit));
  return true;
}

} // namespace

std::vector<CountryEntry> parseCountryList(std::string_view bytes) {
  std::vector<CountryEntry> entries;
  TextCursor reader(bytes);
  std::string_view word;
  while (reader.word(word)) {
    if (word.front() == '#') {
      reader.skipLine();
      continue;
    }
    if (word.substr(0, kCountryMarker.size()) != kCountryMarker) {
      continue;
    }
    reader.skipLine();
    CountryEntry entry;
    if (!readLine(reader, entry.name)) {
      break;
    }
    if (readLine(reader, entry.settings) && readLine(reader, entry.listImage)) {
      readLine(reader, entry.picture);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

} // namespace tarnwick
