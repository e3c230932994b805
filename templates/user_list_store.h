// The favorite user lists: slot 0 is the built-in "All" (every glossary
// label, sorted by text); slots 1 to 99 are the sub-folders of
// "\FavGlossary\" in the stable folder order (folder_listing.h). A list's
// position in listNames() is the position stored in ".utl" files.
#pragma once

#include "atomic_write.h"
#include "glossary.h"
#include "user_list_files.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

enum class CreateListResult { Created, Exists, InvalidName, Full, Failed };

struct CreatedList {
  CreateListResult status = CreateListResult::Failed;
  SaveResult saved; // why it failed, for Failed

  bool operator==(CreateListResult other) const { return status == other; }
};

struct UserList {
  std::string name;
  std::vector<GlossaryRef> labels; // at most 88
};

// One entry of a description list download: a label of the list with its
// linked descriptions, or a fill entry, whose one value the receiver takes
// for every place of its table.
struct DescriptionEntry {
  static constexpr GlossaryRef kFillHeader = 0xFF00;
  GlossaryRef header = 0;                          // the label's reference
  std::array<GlossaryRef, kMaxLabelLinks> codes{}; // its descriptions; 0 where unused
  GlossaryRef fill = 0;                            // a fill entry's value
  bool isFill() const { return header == kFillHeader; }
};

// The labels of "All": every glossary label but the control entries, sorted
// by text.
std::vector<GlossaryRef> allLabelsOf(const Glossary &glossary);

class UserListStore {
public:
  static constexpr std::size_t kMaxLists = 99;
  static constexpr std::string_view kAll = "All";
  static constexpr std::string_view kNew = "*New";
  static constexpr std::size_t kMaxNameLength = 5; // the Name dialog's limit

  // favoriteFolder is "<install>\FavGlossary".
  UserListStore(const Glossary &glossary, std::filesystem::path favoriteFolder);

  void setGlossary(const Glossary &glossary) { glossary_ = &glossary; }
  const Glossary &glossary() const { return *glossary_; }
  const std::filesystem::path &folder() const { return folder_; }

  // Rebuilds every slot from the glossary and the folders. A list whose
  // ".fvg" cannot be read is empty; the lists after it still load.
  void load();

  // "All" first, then the user lists.
  std::vector<std::string> listNames() const;
  std::size_t size() const { return lists_.size(); }
  // 0xFF when no list has that name (exact name first, then any case).
  std::uint8_t positionOf(std::string_view name) const;
  // "All" for a position at or beyond the number of lists.
  std::string nameAt(std::size_t position) const;
  bool contains(std::string_view name) const { return positionOf(name) != 0xFF; }

  const UserList *find(std::string_view name) const;
  // The label texts of a list; references without a text are skipped.
  std::vector<std::string> labelsOf(std::string_view name) const;
  std::vector<GlossaryItem> labelItemsOf(std::string_view name) const;
  // Replaces a user list's labels in memory (at most 88 are kept); false for
  // "All" and unknown names.
  bool setLabels(std::string_view name, std::vector<GlossaryRef> labels);

  // Creates the folder and an empty ".fvg", then reloads.
  CreatedList create(const std::string &name);
  // Writes every user list's ".fvg"; the first that could not be written
  // fails the result, the others are still written.
  SaveResult saveAll();

  // The links of a list ("All" included), one row per label of the list; a
  // missing file is created empty.
  LabelLinks loadLinks(std::string_view name);
  // Fails with "no such file" for an unknown list.
  SaveResult saveLinks(std::string_view name, const LabelLinks &links);
  // The description list download's entries for a list: one per label with
  // linked descriptions, in list order, as "LabelTermData" keeps them. Those
  // files hold no fill values, so no fill entry comes from here.
  std::vector<DescriptionEntry> descriptionEntries(std::string_view name);

  static bool isReservedName(std::string_view name);
  // Not reserved, not empty, at most 5 characters, and a plain folder name.
  static bool isUsableName(std::string_view name);

private:
  std::filesystem::path fvgPath(const std::string &name) const;
  std::filesystem::path linksPath(std::string_view name) const;

  const Glossary *glossary_;
  std::filesystem::path folder_;
  std::vector<UserList> lists_; // slot 0 is "All"
};

} // namespace tarnwick
