// Text boxes with a length limit: typing (or pasting) past the limit is
// refused as a whole, so the box never holds more than it may, and a counter
// says how many characters are left.
#pragma once

#include "string_table.h"

#include <QString>

#include <functional>

class QLabel;
class QLineEdit;

namespace tarnwick::ui {

// How many characters of a box's text count against its limit; by default
// all of them.
using CountedLength = std::function<int(const QString &text)>;

// "%1 characters left" in the user interface's language.
QString charactersLeftText(const StringTable *strings, int left);

// Limits edit to maxLength counted characters. shown receives the counter's
// text whenever the text changes (and once now).
void limitLength(QLineEdit &edit, int maxLength, std::function<void(const QString &)> shown,
                 const StringTable *strings, CountedLength counted = {});
// The same with a label as the counter.
void limitLength(QLineEdit &edit, int maxLength, QLabel &counter, const StringTable *strings,
                 CountedLength counted = {});

// The length of a file name without its folder and without the extension ext
// (any case), or the part of ext typed so far.
int fileNameLength(const QString &text, const QString &ext);

} // namespace tarnwick::ui
