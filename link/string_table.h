// The message texts by resource id: the built-in English texts, overridden
// one by one by a language pack. A pack also carries the dialogs' own texts
// (captions, control texts, column titles, ...) by dialog and item, as a
// translated resource library carries its dialogs; the front end that draws
// the dialogs holds their English texts.
#pragma once

#include "string_ids.h"

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A text of a dialog: its caption (item 0), the text of one of its controls
// (item: the control's resource id) or another of its texts (items from
// 9000 up, allocated per dialog). A pack writes it "dialog.item".
struct DialogTextId {
  int dialog = 0;
  int item = 0;
  bool operator==(const DialogTextId &) const = default;
  // (<compare> would not pass Qt's moc in the headers that include this.)
  friend bool operator<(const DialogTextId &a, const DialogTextId &b) {
    return a.dialog != b.dialog ? a.dialog < b.dialog : a.item < b.item;
  }
};

// text with "%1" ... "%9" replaced by args in order; a placeholder without
// its argument stays as it is.
std::string formatText(std::string_view text, std::initializer_list<std::string_view> args);

class StringTable {
public:
  StringTable(); // the built-in English texts

  // The text of id; empty when the id is unknown.
  const std::string &text(StringId id) const;
  bool has(StringId id) const;
  void set(StringId id, std::string text);
  // Every id of the table, ascending.
  std::vector<StringId> ids() const;

  // The text of id with its placeholders filled (see formatText).
  std::string format(StringId id, std::initializer_list<std::string_view> args) const;

  // The pack's text for a dialog text; null when the pack has none (the
  // dialog then shows its English text).
  const std::string *dialogText(DialogTextId id) const;

  // Replaces the texts a language pack carries (see parseLanguagePack); string
  // ids the table does not know are ignored, dialog texts are all kept.
  // Returns how many texts were taken.
  std::size_t applyLanguagePack(std::string_view pack);

  std::size_t size() const { return texts_.size(); }
  // How many texts are built in; more than size() when two share an id.
  static std::size_t builtInCount();

private:
  std::map<StringId, std::string> texts_;
  std::map<DialogTextId, std::string> dialogTexts_;
};

struct PackEntry {
  StringId id = 0; // the string id, or the item of a dialog text
  std::string text;
  int dialog = 0; // 0: a string of the table; else the dialog of a dialog text
};

// A language pack is UTF-8 text, one "id<TAB>text" line per entry, where id
// is a string id ("61283") or a dialog text ("240.1109", "240.0"). In a text,
// "\n", "\t" and "\\" stand for a line feed, a tab and a backslash. Blank
// lines, lines beginning with "#" and malformed lines are skipped; a leading
// byte-order mark and a CR before each LF are ignored. Later lines win.
// "\r" stands for a carriage return.
std::vector<PackEntry> parseLanguagePack(std::string_view pack);
// The pack text of entries, in their order; parseLanguagePack reads it back.
std::string formatLanguagePack(const std::vector<PackEntry> &entries);

} // namespace tarnwick
