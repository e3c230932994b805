#include "template_widgets.h"

#include "text_encoding.h"
#include "ui_text.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace tarnwick::ui {

QString fromLatin1Text(const std::string &text) {
  return QString::fromStdString(latin1ToUtf8(text));
}

std::string toLatin1Text(const QString &text) {
  return utf8ToLatin1(text.toStdString());
}

QStringList fromNames(const std::vector<std::string> &names) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string &name : names) {
    list << QString::fromStdString(name);
  }
  return list;
}

void setComboItems(QComboBox &box, const QStringList &items) {
  setComboItems(box, items, items);
}

void setComboItems(QComboBox &box, const QStringList &items, const QStringList &values) {
  bool same = box.count() == items.size();
  for (int i = 0; same && i < box.count(); ++i) {
    same = box.itemText(i) == items[i] && box.itemData(i).toString() == values.value(i);
  }
  if (same) {
    return;
  }
  const QSignalBlocker block(&box);
  const QString edited = box.isEditable() ? box.currentText() : QString();
  box.clear();
  for (qsizetype i = 0; i < items.size(); ++i) {
    box.addItem(items[i], values.value(i));
  }
  if (box.isEditable()) {
    box.setEditText(edited);
  }
}

void noDefaultButtons(QWidget &page) {
  for (auto *button : page.findChildren<QPushButton *>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
}

void markNotAvailable(QPushButton &button, const StringTable *strings) {
  button.setEnabled(false);
  button.setToolTip(uiText(strings, dialog::kShared, item::kNotInThisVersion));
}

} // namespace tarnwick::ui
