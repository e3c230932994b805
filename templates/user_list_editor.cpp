#include "user_list_editor.h"

#include "error_reason.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool holds(const std::vector<GlossaryRef> &refs, GlossaryRef ref) {
  return std::find(refs.begin(), refs.end(), ref) != refs.end();
}

} // namespace

UserListEditor::UserListEditor(TemplatesWorkspace &workspace, UserPort &user,
                               const StringTable &strings)
    : workspace_(workspace), user_(user), strings_(strings) {}

std::vector<GlossaryItem> UserListEditor::itemsOf(const std::vector<GlossaryRef> &refs) const {
  std::vector<GlossaryItem> items;
  for (GlossaryRef ref : refs) {
    const std::string &text = workspace_.glossary.text(ref);
    if (!text.empty()) {
      items.push_back({ref, text});
    }
  }
  return items;
}

LabelLink *UserListEditor::linkRow(GlossaryRef label) {
  const auto row = std::find_if(links_.begin(), links_.end(),
                                [label](const LabelLink &link) { return link.label == label; });
  return row == links_.end() ? nullptr : &*row;
}

UserListEditor::Snapshot UserListEditor::snapshot() const {
  Snapshot s;
  s.lists.emplace_back(UserListStore::kNew);
  for (const std::string &name : workspace_.userLists.listNames()) {
    s.lists.push_back(name);
  }
  s.list = list_;
  s.allLabels = workspace_.userLists.labelItemsOf(UserListStore::kAll);
  s.listLabels = itemsOf(labels_);
  s.linkLabel = linkLabel_;
  s.allDescriptions = workspace_.glossary.descriptionItems();
  for (const LabelLink &link : links_) {
    if (link.label == linkLabel_ && linkLabel_ != 0) {
      s.linkedDescriptions = itemsOf(link.descriptions);
      break;
    }
  }
  s.labelsEditable = !isAll();
  s.unsaved = unsaved_;
  return s;
}

bool UserListEditor::mayLeave() {
  if (!unsaved_ || warned_) {
    return true;
  }
  user_.message(strings_.text(sid::kSaveUserListChanges));
  warned_ = true;
  return false;
}

void UserListEditor::loadList(const std::string &name) {
  list_ = name;
  if (isNew()) {
    labels_.clear();
    links_.clear();
  } else {
    const UserList *list = workspace_.userLists.find(name);
    labels_ = list != nullptr ? list->labels : std::vector<GlossaryRef>{};
    links_ = workspace_.userLists.loadLinks(name);
    workspace_.state.defaultUserList = isAll() ? std::string() : name;
  }
  linkLabel_ = labels_.empty() ? 0 : labels_.front();
  unsaved_ = false;
  warned_ = false;
}

bool UserListEditor::selectList(const std::string &name) {
  if (name == list_) {
    return true;
  }
  if (!mayLeave()) {
    return false;
  }
  const std::uint8_t position = workspace_.userLists.positionOf(name);
  if (name != UserListStore::kNew && position == 0xFF) {
    return false;
  }
  loadList(name == UserListStore::kNew ? name : workspace_.userLists.nameAt(position));
  return true;
}

bool UserListEditor::addLabels(const std::vector<GlossaryRef> &labels) {
  if (isAll()) {
    return false;
  }
  bool added = false;
  for (GlossaryRef label : labels) {
    if (label == 0 || holds(labels_, label)) {
      continue;
    }
    if (labels_.size() >= kMaxListLabels) {
      user_.message(strings_.text(sid::kMaxLabelsInList) + std::to_string(kMaxListLabels));
      break;
    }
    labels_.push_back(label);
    links_.push_back({label, {}});
    added = true;
  }
  if (added) {
    unsaved_ = true;
    warned_ = false;
    if (linkLabel_ == 0) {
      linkLabel_ = labels_.front();
    }
  }
  return added;
}

void UserListEditor::removeLabels(const std::vector<GlossaryRef> &labels) {
  if (isAll()) {
    return;
  }
  const auto before = labels_.size();
  std::erase_if(labels_, [&](GlossaryRef ref) { return holds(labels, ref); });
  std::erase_if(links_, [&](const LabelLink &link) { return holds(labels, link.label); });
  if (labels_.size() != before) {
    unsaved_ = true;
    warned_ = false;
  }
  if (!holds(labels_, linkLabel_)) {
    linkLabel_ = labels_.empty() ? 0 : labels_.front();
  }
}

void UserListEditor::removeAllLabels() {
  removeLabels(labels_);
}

void UserListEditor::chooseLinkLabel(GlossaryRef label) {
  if (holds(labels_, label)) {
    linkLabel_ = label;
  }
}

bool UserListEditor::linkDescriptions(const std::vector<GlossaryRef> &descriptions) {
  if (isNew()) {
    user_.message(strings_.text(sid::kNameListBeforeLinking));
    return false;
  }
  LabelLink *row = linkRow(linkLabel_);
  if (row == nullptr) {
    return false;
  }
  bool linked = false;
  for (GlossaryRef description : descriptions) {
    if (description == 0 || holds(row->descriptions, description)) {
      continue;
    }
    if (row->descriptions.size() >= kMaxLabelLinks) {
      user_.message(strings_.text(sid::kMaxLinksForLabel) + std::to_string(kMaxLabelLinks));
      break;
    }
    row->descriptions.push_back(description);
    linked = true;
  }
  if (linked) {
    unsaved_ = true;
    warned_ = false;
  }
  return linked;
}

void UserListEditor::unlinkDescriptions(const std::vector<GlossaryRef> &descriptions) {
  LabelLink *row = linkRow(linkLabel_);
  if (row == nullptr) {
    return;
  }
  const auto before = row->descriptions.size();
  std::erase_if(row->descriptions, [&](GlossaryRef ref) { return holds(descriptions, ref); });
  if (row->descriptions.size() != before) {
    unsaved_ = true;
    warned_ = false;
  }
}

void UserListEditor::unlinkAll() {
  if (LabelLink *row = linkRow(linkLabel_)) {
    unlinkDescriptions(std::vector<GlossaryRef>(row->descriptions));
  }
}

std::optional<std::string> UserListEditor::askName() {
  PromptSpec spec;
  spec.title = strings_.text(sid::kUserListNameTitle);
  spec.label = strings_.text(sid::kEnterUserListName);
  spec.maxLength = static_cast<int>(UserListStore::kMaxNameLength);
  const auto name = user_.prompt(spec);
  if (!name) {
    return std::nullopt;
  }
  if (!UserListStore::isUsableName(*name)) {
    user_.message(strings_.text(sid::kCannotSaveWithName));
    return std::nullopt;
  }
  return name;
}

bool UserListEditor::reportCreate(const CreatedList &created, const std::string &name) {
  switch (created.status) {
  case CreateListResult::Created:
    return true;
  case CreateListResult::Exists:
    user_.message(strings_.text(sid::kUserListFileExists));
    break;
  case CreateListResult::InvalidName:
    user_.message(strings_.text(sid::kCannotSaveWithName));
    break;
  case CreateListResult::Full:
    user_.message(strings_.text(sid::kMaxUserLists) + std::to_string(UserListStore::kMaxLists));
    break;
  case CreateListResult::Failed:
    user_.message(strings_.text(sid::kFileNotSaved) +
                  (workspace_.userLists.folder() / name).string());
    break;
  }
  return false;
}

bool UserListEditor::newList() {
  if (!mayLeave()) {
    return false;
  }
  const auto name = askName();
  if (!name || !reportCreate(workspace_.userLists.create(*name), *name)) {
    return false;
  }
  loadList(workspace_.userLists.nameAt(workspace_.userLists.positionOf(*name)));
  return true;
}

bool UserListEditor::writeList(const std::string &name) {
  UserListStore &store = workspace_.userLists;
  if (name != UserListStore::kAll) {
    store.setLabels(name, labels_);
  }
  LabelLinks rows = emptyLinksFor(labels_);
  for (LabelLink &row : rows) {
    if (const LabelLink *edited = linkRow(row.label)) {
      row.descriptions = edited->descriptions;
    }
  }
  SaveResult saved = store.saveLinks(name, rows);
  saved &= store.saveAll();
  if (!saved) {
    user_.message(notSavedText(strings_, saved.path, saved.error));
    return false;
  }
  return true;
}

bool UserListEditor::save() {
  if (isNew()) {
    return saveAs();
  }
  if (!writeList(list_)) {
    return false;
  }
  unsaved_ = false;
  warned_ = false;
  return true;
}

bool UserListEditor::saveAs() {
  const auto name = askName();
  if (!name) {
    return false;
  }
  UserListStore &store = workspace_.userLists;
  if (store.contains(*name)) {
    if (user_.ask(strings_.text(sid::kUserListExistsOverwrite), Buttons::YesNo) != Answer::Yes) {
      return false;
    }
  } else {
    const CreatedList created = store.create(*name);
    if (created == CreateListResult::Exists) {
      // A folder that the store does not list (one past the 99th).
      user_.message(strings_.text(sid::kMaxUserLists) + std::to_string(UserListStore::kMaxLists));
      return false;
    }
    if (!reportCreate(created, *name)) {
      return false;
    }
  }
  const std::string stored = store.nameAt(store.positionOf(*name));
  if (!writeList(stored)) {
    return false;
  }
  list_ = stored;
  workspace_.state.defaultUserList = stored;
  unsaved_ = false;
  warned_ = false;
  return true;
}

bool UserListEditor::checkSend() {
  if (isNew() || list_.empty()) {
    user_.message(strings_.text(sid::kSelectUserListToSend));
    return false;
  }
  if (unsaved_) {
    user_.message(strings_.text(sid::kSaveUserListChanges));
    return false;
  }
  return true;
}

void UserListEditor::reloadGlossary() {
  if (!isNew() && !workspace_.userLists.contains(list_)) {
    loadList(std::string(UserListStore::kNew));
  }
}

} // namespace tarnwick
