// The message texts by resource id: the built-in English texts, overridden
// one by one by a language pack.
#pragma once

#include "string_ids.h"

#include <map>
#include <string>

namespace tarnwick {

class StringTable {
public:
  StringTable(); // the built-in English texts

  // The text of id; empty when the id is unknown.
  const std::string &text(StringId id) const;
  bool has(StringId id) const;
  void set(StringId id, std::string text);

private:
  std::map<StringId, std::string> texts_;
};

} // namespace tarnwick
