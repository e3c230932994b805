// The Set up Favorite User List page (resource 233): shows the
// UserListEditor's snapshot and calls its actions. The page owns the editor;
// the lists it edits belong to the workspace.
#pragma once

#include "string_table.h"
#include "templates_workspace.h"
#include "ui_text.h"
#include "user_list_editor.h"
#include "user_port.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QPushButton;

namespace tarnwick::ui {

class UserListPage final : public QWidget {
  Q_OBJECT
public:
  UserListPage(TemplatesWorkspace &workspace, UserPort &user, const StringTable &strings,
               QWidget *parent = nullptr);

  static constexpr int kSendLinksButton = 1046; // sends the list's description links

  UserListEditor &logic() { return editor_; }
  // A list's name as the list box shows it ("*New" and "All" in the user
  // interface's language).
  QString shownName(const std::string &list) const;

  // After the glossary language changed: the texts follow the new glossary.
  void reloadGlossary();
  // Shows the logic's state again.
  void refresh();

signals:
  // "Send to Receiver" and its twin for the links, on a saved list.
  void sendListRequested(const std::string &list);
  void sendLinksRequested(const std::string &list);

private:
  QLayout *makeListChoice();
  QLayout *makeLabelLists();
  QLayout *makeLinkLists();
  QLayout *makeButtons(const StringTable &strings);
  void askToSend(void (UserListPage::*request)(const std::string &));
  QListWidget *makeList(int id);
  QPushButton *makeActionButton(int id, void (UserListPage::*action)());
  void chooseList(int index);
  void addSelectedLabels();
  void removeSelectedLabels();
  void removeAllLabels();
  void chooseLinkLabel(int index);
  void linkSelectedDescriptions();
  void unlinkSelectedDescriptions();
  void unlinkAll();
  void newList();
  void save();
  void saveAs();

  UserListEditor editor_;
  DialogTexts texts_;
  QComboBox *list_ = nullptr;
  QListWidget *allLabels_ = nullptr;
  QListWidget *listLabels_ = nullptr;
  QComboBox *linkLabel_ = nullptr;
  QListWidget *allDescriptions_ = nullptr;
  QListWidget *linked_ = nullptr;
  std::vector<QPushButton *> labelButtons_; // usable while the list's labels may change
};

} // namespace tarnwick::ui
