// A working folder with the demo glossaries, favorite user lists and
// templates, an application on it with a scripted user, and the templates
// session the marker utility works on; plus ways to type and choose in the
// pages' boxes as a user does.
#pragma once

#include "demo_templates.h"
#include "gui_helpers.h"
#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"
#include "temp_dir.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::testing {

// The demo data written once per process (each file is flushed to disk, which
// is slow) and copied into every rig's folder.
inline const std::filesystem::path &demoTemplatesSeed() {
  static const TempDir seed;
  static const bool written = writeDemoTemplatesData(seed.path());
  EXPECT_TRUE(written);
  return seed.path();
}

struct MarkerRig {
  explicit MarkerRig(UserPort *realUser = nullptr)
      : app(folder.path(), port, clock,
            realUser != nullptr ? *realUser : static_cast<UserPort &>(user)) {
    std::filesystem::copy(demoTemplatesSeed(), folder.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    app.start();
  }

  std::filesystem::path at(const std::string &relative) const { return folder.path() / relative; }
  std::vector<std::uint8_t> bytes(const std::string &relative) const {
    std::ifstream in(at(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  TempDir folder;
  VirtualClock clock{0};
  sim::SimPort port{clock};
  ScriptedUser user;
  Session app;
  Session *session = &app; // the templates state the marker utility works on
};

// Replaces the text of an editable box by typing and ends it with Return.
inline void type(QComboBox &box, const QString &text) {
  box.lineEdit()->selectAll();
  QTest::keyClick(box.lineEdit(), Qt::Key_Delete);
  QTest::keyClicks(box.lineEdit(), text);
  QTest::keyClick(box.lineEdit(), Qt::Key_Return);
}

// Picks the entry from the box's open list and confirms it, one choice as a
// user makes it with the mouse; true when the list took the choice and closed.
inline bool choose(QComboBox &box, const QString &text) {
  const int wanted = box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (wanted < 0) {
    return false;
  }
  box.showPopup();
  QAbstractItemView *view = box.view();
  view->setCurrentIndex(box.model()->index(wanted, box.modelColumn()));
  QTest::keyClick(view, Qt::Key_Return);
  return !view->isVisible();
}

inline QStringList itemsOf(const QComboBox &box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) {
    items << box.itemText(i);
  }
  return items;
}

inline QStringList itemsOf(const QListWidget &list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) {
    items << list.item(i)->text();
  }
  return items;
}

// Selects the entries with Ctrl+clicks, as a user picks several.
inline bool select(QListWidget &list, const QStringList &texts) {
  list.clearSelection();
  for (const QString &text : texts) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
      return false;
    }
    list.scrollToItem(found.front());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list.visualItemRect(found.front()).center());
  }
  return static_cast<int>(list.selectedItems().size()) == texts.size();
}

} // namespace tarnwick::testing
