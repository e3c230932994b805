// Reads settings texts word by word and line by line, the way the country
// files are read: words split at white space, lines at line feeds.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarnwick {

class TextCursor {
public:
  explicit TextCursor(std::string_view text) : text_(text) {}

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

  // The rest of the current line without its line feed (and a carriage
  // return before it); false when nothing is left.
  bool line(std::string_view &out) {
    if (at_ == text_.size()) {
      return false;
    }
    const auto end = text_.find('\n', at_);
    out = text_.substr(at_, end == std::string_view::npos ? end : end - at_);
    at_ = end == std::string_view::npos ? text_.size() : end + 1;
    if (!out.empty() && out.back() == '\r') {
      out.remove_suffix(1);
    }
    return true;
  }

  void skipLine() {
    const auto end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end + 1;
  }

private:
  static bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

} // namespace tarnwick
