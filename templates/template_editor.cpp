#include "template_editor.h"

#include "error_reason.h"

#include "folder_listing.h"
#include "template_file.h"

#include <algorithm>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// The name without ".utl", and whether it had one.
std::string templateStem(const std::string &name, bool &hadExtension) {
  hadExtension = endsWithIgnoringCase(name, kTemplateExtension);
  return hadExtension ? name.substr(0, name.size() - kTemplateExtension.size()) : name;
}

} // namespace

TemplateEditor::TemplateEditor(TemplatesWorkspace &workspace, UserPort &user,
                               const StringTable &strings)
    : workspace_(workspace), user_(user), strings_(strings), content_(workspace.glossary) {
  content_.setWidth(workspace_.width());
  refillUserLists();
  links_ = workspace_.userLists.loadLinks(userList_);
}

bool TemplateEditor::requireKind() {
  if (workspace_.state.kind == TemplateKind::None) {
    user_.message(strings_.text(sid::kSelectTemplateType));
    return false;
  }
  return true;
}

void TemplateEditor::refillUserLists() {
  userListNames_ = workspace_.userLists.listNames();
  if (!workspace_.userLists.contains(userList_)) {
    userList_ = std::string(UserListStore::kAll);
  }
}

void TemplateEditor::selectUserList(const std::string &name) {
  const std::uint8_t position = workspace_.userLists.positionOf(name);
  userList_ =
      position == 0xFF ? std::string(UserListStore::kAll) : workspace_.userLists.nameAt(position);
  links_ = workspace_.userLists.loadLinks(userList_);
  showAll_.fill(false);
}

void TemplateEditor::chooseKind(TemplateKind kind) {
  if (kind == TemplateKind::None) {
    return;
  }
  workspace_.state.kind = kind;
  clear();
}

bool TemplateEditor::clear() {
  if (!requireKind()) {
    return false;
  }
  refillUserLists();
  const std::string &preferred = workspace_.state.defaultUserList;
  selectUserList(!preferred.empty() && workspace_.userLists.contains(preferred)
                     ? preferred
                     : std::string(UserListStore::kAll));
  labels_.fill("");
  descriptions_.fill("");
  content_.setDateOrder(DateOrder::MonthDayYear);
  rebuildContent();
  measure_ = content_.measure();
  remaining_ = 100;
  unsaved_ = false;
  std::string &name = workspace_.state.nameOf(workspace_.state.kind);
  if (name.empty()) {
    name = std::string(kUntitledTemplate);
  }
  return true;
}

void TemplateEditor::chooseUserList(const std::string &name) {
  const std::string before = userList_;
  selectUserList(name);
  unsaved_ = unsaved_ || (userList_ != before && workspace_.state.kind != TemplateKind::None);
}

void TemplateEditor::chooseDateOrder(DateOrder order) {
  content_.setDateOrder(order);
}

void TemplateEditor::rebuildContent() {
  std::vector<TemplateRow> rows;
  for (std::size_t i = 0; i < kRows; ++i) {
    rows.push_back({labels_[i], descriptions_[i]});
  }
  content_.setWidth(workspace_.width());
  content_.setRows(std::move(rows));
}

void TemplateEditor::updateMemory(bool ask) {
  measure_ = content_.measure();
  if (workspace_.state.kind != TemplateKind::Marker) {
    return;
  }
  MarkerMemory &memory = workspace_.state.memory;
  if (ask) {
    memory.admit(measure_, user_, strings_);
  }
  remaining_ = memory.remainingPercent(measure_);
}

bool TemplateEditor::commitRow(std::size_t row, std::string label, std::string description,
                               DateOrder order) {
  const std::string previousLabel = labels_[row];
  const std::string previousDescription = descriptions_[row];
  const DateOrder previousOrder = content_.dateOrder();
  const int previousMeasure = measure_;
  const bool changed =
      label != previousLabel || description != previousDescription || order != previousOrder;
  labels_[row] = std::move(label);
  descriptions_[row] = std::move(description);
  content_.setDateOrder(order);
  rebuildContent();
  if (workspace_.state.kind != TemplateKind::Marker) {
    measure_ = content_.measure();
    unsaved_ = unsaved_ || changed;
    return true;
  }
  const int measure = content_.measure();
  MarkerMemory &memory = workspace_.state.memory;
  // An edit that does not grow a template already over the limit (one loaded
  // from a file) is let through, so it can be shrunk back.
  if (!memory.admit(measure, user_, strings_) && measure > previousMeasure) {
    user_.message(strings_.text(sid::kOutOfTemplateMemory));
    labels_[row] = previousLabel;
    descriptions_[row] = previousDescription;
    content_.setDateOrder(previousOrder);
    rebuildContent();
    return false;
  }
  measure_ = measure;
  remaining_ = memory.remainingPercent(measure_);
  unsaved_ = unsaved_ || changed;
  return true;
}

std::size_t TemplateEditor::labelLength(const std::string &shown) const {
  // Also while the suffix is being typed: " D/", " D/M", ...
  for (const std::string_view suffix : {kMdySuffix, kDmySuffix}) {
    for (std::size_t typed = suffix.size(); typed > 0; --typed) {
      const std::string_view part = suffix.substr(0, typed);
      if (endsWithIgnoringCase(shown, part) &&
          workspace_.glossary.isDateLabel(
              std::string_view(shown).substr(0, shown.size() - part.size()))) {
        return shown.size() - part.size();
      }
    }
  }
  return shown.size();
}

bool TemplateEditor::commitLabel(std::size_t row, const std::string &text) {
  if (row >= kRows || !requireKind()) {
    return false;
  }
  std::string label = text;
  DateOrder order = content_.dateOrder();
  for (const auto &[suffix, suffixOrder] : {std::pair{kMdySuffix, DateOrder::MonthDayYear},
                                            std::pair{kDmySuffix, DateOrder::DayMonthYear}}) {
    if (endsWithIgnoringCase(label, suffix) &&
        workspace_.glossary.isDateLabel(
            std::string_view(label).substr(0, label.size() - suffix.size()))) {
      label.resize(label.size() - suffix.size());
      order = suffixOrder;
    }
  }
  if (label.size() > kMaxLabelLength) {
    user_.message(strings_.text(sid::kLabelMaxChars));
    return false;
  }
  const bool changed = label != labels_[row];
  if (!commitRow(row, label, descriptions_[row], order)) {
    return false;
  }
  if (changed) {
    showAll_[row] = false;
  }
  return true;
}

bool TemplateEditor::commitDescription(std::size_t row, const std::string &text) {
  if (row >= kRows || !requireKind()) {
    return false;
  }
  if (text == kShowAll) {
    showAll_[row] = true;
    return false;
  }
  if (text.size() > kMaxDescriptionLength) {
    user_.message(strings_.text(sid::kDescriptionMaxChars));
    return false;
  }
  return commitRow(row, labels_[row], text, content_.dateOrder());
}

std::string TemplateEditor::shownLabel(const std::string &label) const {
  if (!workspace_.glossary.isDateLabel(label)) {
    return label;
  }
  return label +
         std::string(content_.dateOrder() == DateOrder::DayMonthYear ? kDmySuffix : kMdySuffix);
}

std::vector<std::string> TemplateEditor::descriptionChoicesFor(std::size_t row) const {
  std::vector<std::string> choices;
  if (showAll_[row]) {
    choices = workspace_.glossary.listDescriptions();
  } else if (!labels_[row].empty()) {
    const GlossaryMatch match = workspace_.glossary.findLabel(labels_[row]);
    for (const LabelLink &link : links_) {
      if (match.found() && link.label == match.ref()) {
        for (GlossaryRef ref : link.descriptions) {
          const std::string &text = workspace_.glossary.text(ref);
          if (!text.empty()) {
            choices.push_back(text);
          }
        }
        break;
      }
    }
  }
  choices.emplace_back(kShowAll);
  return choices;
}

TemplateEditor::Snapshot TemplateEditor::snapshot() const {
  Snapshot s;
  const TemplatesState &state = workspace_.state;
  s.kind = state.kind;
  s.rowsEnabled = state.kind != TemplateKind::None;
  s.memoryVisible = state.kind == TemplateKind::Marker;
  s.remainingPercent = remaining_;
  s.remainingText = s.memoryVisible ? std::to_string(remaining_) : std::string();
  s.measureBits = measure_;
  s.allowedBits = state.memory.allowedBits();
  if (state.kind != TemplateKind::None) {
    s.templateNames = listFilesWithExtension(state.folderOf(state.kind), kTemplateExtension);
    s.templateName = state.nameOf(state.kind);
  }
  s.userLists = userListNames_;
  s.userList = userList_;
  for (const std::string &label : workspace_.userLists.labelsOf(userList_)) {
    s.labelChoices.push_back(shownLabel(label));
  }
  for (std::size_t i = 0; i < kRows; ++i) {
    s.labels[i] = shownLabel(labels_[i]);
    s.descriptions[i] = descriptions_[i];
    s.descriptionChoices[i] = descriptionChoicesFor(i);
  }
  s.dateOrder = content_.dateOrder();
  s.unsaved = unsaved_;
  return s;
}

fs::path TemplateEditor::currentTemplatePath() const {
  const TemplatesState &state = workspace_.state;
  const TemplateKind kind =
      state.kind == TemplateKind::Trace ? TemplateKind::Trace : TemplateKind::Marker;
  return state.folderOf(kind) / state.nameOf(kind);
}

bool TemplateEditor::loadFrom(const fs::path &path) {
  const TemplateKind kind = workspace_.state.kind;
  const auto loaded = loadTemplate(path, kind, workspace_.glossary, workspace_.userLists);
  if (!loaded) {
    return false;
  }
  refillUserLists();
  selectUserList(loaded->userList);
  labels_.fill("");
  descriptions_.fill("");
  const auto &rows = loaded->content.rows;
  for (std::size_t i = 0; i < kRows && i < rows.size(); ++i) {
    labels_[i] = rows[i].label;
    descriptions_[i] = rows[i].description;
  }
  content_.setDateOrder(loaded->content.dateOrder);
  rebuildContent();
  unsaved_ = false;
  const StringId warning = widthWarning(loaded->content.width, workspace_.width());
  if (warning != 0) {
    user_.message(strings_.text(warning));
  }
  updateMemory(true);
  return true;
}

bool TemplateEditor::chooseTemplateName(const std::string &name) {
  if (!requireKind()) {
    return false;
  }
  const TemplateKind kind = workspace_.state.kind;
  if (!loadFrom(workspace_.state.folderOf(kind) / name)) {
    return false;
  }
  workspace_.state.nameOf(kind) = name;
  return true;
}

bool TemplateEditor::browse() {
  if (!requireKind()) {
    return false;
  }
  const TemplateKind kind = workspace_.state.kind;
  const fs::path folder = workspace_.state.folderOf(kind);
  std::error_code error;
  fs::create_directories(folder, error);
  FileSpec spec;
  spec.title = strings_.text(sid::kOpenTitle);
  spec.filter = strings_.text(sid::kTemplateOpenFilter);
  spec.folder = folder.string();
  spec.defaultName = "*.utl";
  const auto chosen = user_.openFile(spec);
  if (!chosen) {
    return false;
  }
  const fs::path path(*chosen);
  workspace_.state.nameOf(kind) = path.filename().string();
  workspace_.state.folderOf(kind) = path.parent_path();
  return loadFrom(path);
}

bool TemplateEditor::saveAs() {
  if (!requireKind()) {
    return false;
  }
  const TemplateKind kind = workspace_.state.kind;
  const fs::path folder = workspace_.state.folderOf(kind);
  std::error_code error;
  fs::create_directories(folder, error);
  FileSpec spec;
  spec.title = strings_.text(sid::kSaveAsTitle);
  spec.filter = strings_.text(sid::kTemplateSaveFilter);
  spec.folder = folder.string();
  spec.defaultName = workspace_.state.nameOf(kind);
  const auto chosen = user_.saveFileLimited(spec, static_cast<int>(kMaxNameLength),
                                            std::string(kTemplateExtension));
  return chosen && saveAsFile(*chosen);
}

bool TemplateEditor::saveAsFile(const fs::path &path) {
  if (!requireKind()) {
    return false;
  }
  const TemplateKind kind = workspace_.state.kind;
  bool hadExtension = false;
  const std::string stem = templateStem(path.filename().string(), hadExtension);
  if (stem.empty()) {
    return false;
  }
  if (stem.size() > kMaxNameLength) {
    user_.message(
        strings_.text(hadExtension ? sid::kLimitTemplateName : sid::kLimitTemplateNameEnd));
    return false;
  }
  const std::string name = stem + std::string(kTemplateExtension);
  const fs::path folder =
      path.has_parent_path() ? path.parent_path() : workspace_.state.folderOf(kind);
  const fs::path target = folder / name;
  std::error_code error;
  if (fs::exists(target, error) &&
      user_.ask(strings_.text(sid::kOverwriteExistingFile), Buttons::YesNo) != Answer::Yes) {
    return false;
  }
  rebuildContent();
  TemplateFile file;
  file.kind = kind;
  file.listPosition = workspace_.userLists.positionOf(userList_);
  file.encoded = content_.encode(kind);
  if (const SaveResult saved = saveTemplateFile(target, file); !saved) {
    user_.message(notSavedText(strings_, saved.path, saved.error));
    return false;
  }
  workspace_.state.folderOf(kind) = folder;
  workspace_.state.nameOf(kind) = name;
  unsaved_ = false;
  return true;
}

void TemplateEditor::reloadGlossary() {
  refillUserLists();
  selectUserList(userList_);
  rebuildContent();
  updateMemory(false);
}

} // namespace tarnwick
