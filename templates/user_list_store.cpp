#include "user_list_store.h"

#include "atomic_write.h"
#include "folder_listing.h"
#include "glossary_files.h"

#include <algorithm>
#include <system_error>

namespace tarnwick {

namespace fs = std::filesystem;

std::vector<GlossaryRef> allLabelsOf(const Glossary &glossary) {
  std::vector<GlossaryItem> items = glossary.labelItems();
  std::stable_sort(items.begin(), items.end(), [](const GlossaryItem &a, const GlossaryItem &b) {
    return lessIgnoringCase(a.text, b.text);
  });
  std::vector<GlossaryRef> refs;
  for (const GlossaryItem &item : items) {
    refs.push_back(item.ref);
  }
  return refs;
}

UserListStore::UserListStore(const Glossary &glossary, fs::path favoriteFolder)
    : glossary_(&glossary), folder_(std::move(favoriteFolder)) {
  lists_.push_back({std::string(kAll), allLabelsOf(glossary)});
}

void UserListStore::load() {
  lists_.clear();
  lists_.push_back({std::string(kAll), allLabelsOf(*glossary_)});
  std::error_code error;
  fs::create_directories(folder_, error);
  for (const std::string &name : listSubfolders(folder_)) {
    if (lists_.size() > kMaxLists) {
      break;
    }
    if (isReservedName(name)) {
      continue; // a folder named like "All" would shadow the whole glossary
    }
    std::vector<std::uint8_t> bytes;
    readWholeFile(fvgPath(name), bytes);
    lists_.push_back({name, parseFvg(bytes)});
  }
}

std::vector<std::string> UserListStore::listNames() const {
  std::vector<std::string> names;
  for (const UserList &list : lists_) {
    names.push_back(list.name);
  }
  return names;
}

std::uint8_t UserListStore::positionOf(std::string_view name) const {
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (lists_[i].name == name) {
      return static_cast<std::uint8_t>(i);
    }
  }
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (equalsIgnoringCase(lists_[i].name, name)) {
      return static_cast<std::uint8_t>(i);
    }
  }
  return 0xFF;
}

std::string UserListStore::nameAt(std::size_t position) const {
  return position < lists_.size() ? lists_[position].name : std::string(kAll);
}

const UserList *UserListStore::find(std::string_view name) const {
  const std::uint8_t position = positionOf(name);
  return position == 0xFF ? nullptr : &lists_[position];
}

std::vector<GlossaryItem> UserListStore::labelItemsOf(std::string_view name) const {
  std::vector<GlossaryItem> items;
  const UserList *list = find(name);
  if (list == nullptr) {
    return items;
  }
  for (GlossaryRef ref : list->labels) {
    const std::string &text = glossary_->text(ref);
    if (!text.empty()) {
      items.push_back({ref, text});
    }
  }
  return items;
}

std::vector<std::string> UserListStore::labelsOf(std::string_view name) const {
  std::vector<std::string> texts;
  for (const GlossaryItem &item : labelItemsOf(name)) {
    texts.push_back(item.text);
  }
  return texts;
}

bool UserListStore::setLabels(std::string_view name, std::vector<GlossaryRef> labels) {
  const std::uint8_t position = positionOf(name);
  if (position == 0 || position == 0xFF) {
    return false;
  }
  if (labels.size() > kMaxListLabels) {
    labels.resize(kMaxListLabels);
  }
  lists_[position].labels = std::move(labels);
  return true;
}

bool UserListStore::isReservedName(std::string_view name) {
  return equalsIgnoringCase(name, kAll) || equalsIgnoringCase(name, kNew);
}

bool UserListStore::isUsableName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength || isReservedName(name) || name == "." ||
      name == "..") {
    return false;
  }
  constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  return std::none_of(name.begin(), name.end(), [&](char c) {
    return static_cast<unsigned char>(c) < 32 || kForbidden.find(c) != std::string_view::npos;
  });
}

CreatedList UserListStore::create(const std::string &name) {
  if (!isUsableName(name)) {
    return {CreateListResult::InvalidName, {}};
  }
  std::error_code error;
  if (contains(name) || fs::exists(folder_ / name, error)) {
    return {CreateListResult::Exists, {}};
  }
  if (lists_.size() > kMaxLists) {
    return {CreateListResult::Full, {}};
  }
  if (!fs::create_directories(folder_ / name, error)) {
    // Created by someone else meanwhile: the folder is not new.
    return {CreateListResult::Failed,
            {folder_ / name, error ? error : std::make_error_code(std::errc::file_exists)}};
  }
  SaveResult saved = saveFileInFolder(fvgPath(name), std::string_view());
  if (!saved) {
    return {CreateListResult::Failed, std::move(saved)};
  }
  load();
  return {CreateListResult::Created, std::move(saved)};
}

SaveResult UserListStore::saveAll() {
  SaveResult all;
  for (std::size_t i = 1; i < lists_.size(); ++i) {
    all &= saveFileInFolder(fvgPath(lists_[i].name), fvgBytes(lists_[i].labels));
  }
  return all;
}

fs::path UserListStore::fvgPath(const std::string &name) const {
  return folder_ / name / (name + ".fvg");
}

fs::path UserListStore::linksPath(std::string_view name) const {
  if (equalsIgnoringCase(name, kAll)) {
    return folder_ / "LabelTermData";
  }
  const UserList *list = find(name);
  return folder_ / (list != nullptr ? list->name : std::string(name)) / "LabelTermData";
}

LabelLinks UserListStore::loadLinks(std::string_view name) {
  const UserList *list = find(name);
  if (list == nullptr) {
    return {};
  }
  std::vector<std::uint8_t> bytes;
  const fs::path path = linksPath(name);
  if (!readWholeFile(path, bytes)) {
    writeFileInFolder(path, std::string_view());
  }
  return parseLabelTermData(bytes, list->labels);
}

SaveResult UserListStore::saveLinks(std::string_view name, const LabelLinks &links) {
  if (!contains(name)) {
    return {linksPath(name), std::make_error_code(std::errc::no_such_file_or_directory)};
  }
  return saveFileInFolder(linksPath(name), labelTermBytes(links));
}

std::vector<DescriptionEntry> UserListStore::descriptionEntries(std::string_view name) {
  std::vector<DescriptionEntry> entries;
  for (const LabelLink &row : loadLinks(name)) {
    if (row.label == 0 || row.descriptions.empty() || entries.size() == kMaxListLabels) {
      continue;
    }
    DescriptionEntry entry;
    entry.header = row.label;
    const std::size_t count = std::min(row.descriptions.size(), entry.codes.size());
    std::copy_n(row.descriptions.begin(), count, entry.codes.begin());
    entries.push_back(entry);
  }
  return entries;
}

} // namespace tarnwick
