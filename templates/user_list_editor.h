// The Set up Favorite User List page apart from its controls: choose a list,
// add and remove its labels, link descriptions to each label, and keep the
// lists with New, Save and Save As. "All" (the whole glossary) can have its
// links edited but not its labels. The user is reached only through UserPort.
#pragma once

#include "string_table.h"
#include "templates_workspace.h"
#include "user_port.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class UserListEditor {
public:
  static constexpr int kDialogId = 233;
  static constexpr int kListBox = 1159;           // "Favorite User List"
  static constexpr int kAllLabelsBox = 1160;      // "All Labels"
  static constexpr int kAddLabelsButton = 1143;   // ">>"
  static constexpr int kListLabelsBox = 1063;     // "Labels in your Favorite User List"
  static constexpr int kRemoveLabelButton = 1151; // "Remove"
  static constexpr int kRemoveAllLabelsButton = 1145;
  static constexpr int kLinkLabelBox = 1205;       // the label whose links are edited
  static constexpr int kAllDescriptionsBox = 1162; // "All Descriptions"
  static constexpr int kLinkButton = 1144;         // ">>"
  static constexpr int kLinkedBox = 1064;
  static constexpr int kUnlinkButton = 1152;
  static constexpr int kUnlinkAllButton = 1146;
  static constexpr int kNewButton = 1112;
  static constexpr int kSaveButton = 1111;
  static constexpr int kSaveAsButton = 3;
  static constexpr int kSendButton = 1045;

  struct Snapshot {
    std::vector<std::string> lists;               // 1159: "*New", "All", then the user lists
    std::string list;                             // 1159: the one being edited
    std::vector<GlossaryItem> allLabels;          // 1160, sorted by text
    std::vector<GlossaryItem> listLabels;         // 1063 and 1205, in list order
    GlossaryRef linkLabel = 0;                    // 1205: 0 when the list has no label
    std::vector<GlossaryItem> allDescriptions;    // 1162
    std::vector<GlossaryItem> linkedDescriptions; // 1064: those of linkLabel
    bool labelsEditable = true;                   // false for "All"
    bool unsaved = false;
  };

  UserListEditor(TemplatesWorkspace &workspace, UserPort &user, const StringTable &strings);

  Snapshot snapshot() const;

  // False when unsaved changes kept the current list (the user is told to
  // save; choosing again without further changes leaves them).
  bool selectList(const std::string &name);
  bool addLabels(const std::vector<GlossaryRef> &labels);
  void removeLabels(const std::vector<GlossaryRef> &labels);
  void removeAllLabels();
  void chooseLinkLabel(GlossaryRef label);
  bool linkDescriptions(const std::vector<GlossaryRef> &descriptions);
  void unlinkDescriptions(const std::vector<GlossaryRef> &descriptions);
  void unlinkAll();
  bool newList();
  bool save();
  bool saveAs();
  // "Send to Receiver": true when the user list download may start for list().
  bool checkSend();
  // After the glossary language changed: the texts follow the new glossary.
  void reloadGlossary();

  const std::string &list() const { return list_; }

private:
  bool isNew() const { return list_ == UserListStore::kNew; }
  bool isAll() const { return list_ == UserListStore::kAll; }
  bool mayLeave();
  void loadList(const std::string &name);
  std::optional<std::string> askName();
  bool reportCreate(const CreatedList &created, const std::string &name);
  bool writeList(const std::string &name);
  LabelLink *linkRow(GlossaryRef label);
  std::vector<GlossaryItem> itemsOf(const std::vector<GlossaryRef> &refs) const;

  TemplatesWorkspace &workspace_;
  UserPort &user_;
  const StringTable &strings_;
  std::string list_{UserListStore::kNew};
  std::vector<GlossaryRef> labels_;
  LabelLinks links_;
  GlossaryRef linkLabel_ = 0;
  bool unsaved_ = false;
  bool warned_ = false;
};

} // namespace tarnwick
