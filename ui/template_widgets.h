// Small helpers shared by the template and user list pages: glossary texts
// are single-byte (Latin-1) characters, widgets speak Unicode; lists are
// refilled only when their entries change, so a choice or a scroll position
// survives a refresh.
#pragma once

#include "string_table.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QWidget;

namespace tarnwick::ui {

QString fromLatin1Text(const std::string &text);
std::string toLatin1Text(const QString &text);
// Names of files and folders (UTF-8).
QStringList fromNames(const std::vector<std::string> &names);

// Replaces the entries when they differ; signals are not emitted.
void setComboItems(QComboBox &box, const QStringList &items);
// The same with each entry's own value (its name) as its data, for entries
// shown in other words than their names.
void setComboItems(QComboBox &box, const QStringList &items, const QStringList &values);

// Return in a page's edit boxes commits the edit: no button of the page may
// take it as a click.
void noDefaultButtons(QWidget &page);

// A button whose tool is not part of this version of the program.
void markNotAvailable(QPushButton &button, const StringTable *strings);

} // namespace tarnwick::ui
