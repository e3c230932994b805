#include "country_list.h"

namespace tarnwick {

namespace {

constexpr std::string_view kCountryMarker = "[COUNTRY]";
constexpr std::size_t kLineLimit = 249;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class Reader {
public:
  explicit Reader(std::string_view text) : text_(text) {}

  // The next whitespace-separated word; false at the end.
  bool word(std::string_view &out) {
    while (at_ < text_.size() && isSpace(text_[at_])) {
      ++at_;
    }
    if (at_ == text_.size()) {
      return false;
    }
    const std::size_t start = at_;
    while (at_ < text_.size() && !isSpace(text_[at_])) {
      ++at_;
    }
    out = text_.substr(start, at_ - start);
    return true;
  }

  // The rest of the current line, up to and including its line feed; false
  // when nothing is left.
  bool line(std::string &out) {
    if (at_ == text_.size()) {
      return false;
    }
    const auto end = text_.find('\n', at_);
    std::string_view line = text_.substr(at_, end == std::string_view::npos ? end : end - at_);
    at_ = end == std::string_view::npos ? text_.size() : end + 1;
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    out.assign(line.substr(0, kLineLimit));
    return true;
  }

  void skipLine() {
    std::string ignored;
    line(ignored);
  }

private:
  std::string_view text_;
  std::size_t at_ = 0;
};

} // namespace

std::vector<CountryEntry> parseCountryList(std::string_view bytes) {
  std::vector<CountryEntry> entries;
  Reader reader(bytes);
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
    if (!reader.line(entry.name)) {
      break;
    }
    if (reader.line(entry.settings) && reader.line(entry.listImage)) {
      reader.line(entry.picture);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

} // namespace tarnwick
