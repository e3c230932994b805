// The Create/Edit Templates page apart from its controls: up to six
// label/description rows chosen from the glossary as narrowed by a favorite
// user list, the memory a marker template takes, and the template files of
// each kind. The user is reached only through UserPort.
#pragma once

#include "string_table.h"
#include "template_codec.h"
#include "templates_workspace.h"
#include "user_port.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TemplateEditor {
public:
  static constexpr int kDialogId = 216;
  static constexpr int kMarkerKindRadio = 1005; // "Tq Marker Templates"
  static constexpr int kTraceKindRadio = 1006;  // "Trace Templates"
  static constexpr int kTemplateNameBox = 1188;
  static constexpr int kBrowseButton = 1110;
  static constexpr int kUserListBox = 1153;
  static constexpr std::array<int, 6> kLabelBoxes = {1106, 1014, 1015, 1016, 1017, 1018};
  static constexpr std::array<int, 6> kDescriptionBoxes = {1107, 1020, 1021, 1022, 1023, 1024};
  static constexpr int kMemoryUsageText = 1248;
  static constexpr int kRemainingText = 1105;
  static constexpr int kRemainingSuffixText = 1249;
  static constexpr int kClearButton = 1112;
  static constexpr int kSaveAsButton = 3;
  static constexpr int kDownloadButton = 1193;

  static constexpr std::size_t kRows = 6;
  static constexpr std::string_view kShowAll = "*ShowAll";
  static constexpr std::string_view kMdySuffix = " M/D/Y";
  static constexpr std::string_view kDmySuffix = " D/M/Y";
  // The file dialogs' titles and filters: strings kOpenTitle, kSaveAsTitle,
  // kTemplateOpenFilter and kTemplateSaveFilter.
  static constexpr std::size_t kMaxNameLength = 15; // without ".utl"

  struct Snapshot {
    TemplateKind kind = TemplateKind::None;
    bool rowsEnabled = false;   // the twelve row boxes and the name box
    bool memoryVisible = false; // 1248, 1105, 1249: marker templates only
    std::string remainingText;  // 1105: the percentage, empty for trace templates
    int remainingPercent = 100;
    int measureBits = 0;
    int allowedBits = MarkerMemory::kStandardBits;
    std::vector<std::string> templateNames; // 1188: the ".utl" files of the kind's folder
    std::string templateName;               // 1188: the current name
    std::vector<std::string> userLists;     // 1153: "All" and every user list
    std::string userList;                   // 1153: the selected one
    std::vector<std::string> labelChoices;  // the list of every label box
    std::array<std::string, kRows> labels;  // as shown: date labels carry their suffix
    std::array<std::string, kRows> descriptions;
    std::array<std::vector<std::string>, kRows> descriptionChoices; // linked ones and "*ShowAll"
    DateOrder dateOrder = DateOrder::MonthDayYear;
    // Rows or the user list changed since the template was cleared, loaded
    // or saved.
    bool unsaved = false;
  };

  TemplateEditor(TemplatesWorkspace &workspace, UserPort &user, const StringTable &strings);

  Snapshot snapshot() const;

  // The radio buttons: enables the rows, shows or hides the memory texts,
  // clears and refills the name list from the kind's folder.
  void chooseKind(TemplateKind kind);
  // "&Clear"; false (with the "select the type" message) before a kind is chosen.
  bool clear();
  void chooseUserList(const std::string &name);
  // The order of a date label committed without its " M/D/Y" or " D/M/Y".
  void chooseDateOrder(DateOrder order);
  // Leaving a label or description box. False when the edit was refused
  // (the previous text stays) or, for "*ShowAll", when the description box
  // was refilled with every glossary description instead.
  bool commitLabel(std::size_t row, const std::string &text);
  bool commitDescription(std::size_t row, const std::string &text);
  // Choosing a name in 1188: loads it from the kind's folder.
  bool chooseTemplateName(const std::string &name);
  bool browse();
  // The save dialog, then saveAsFile().
  bool saveAs();
  // Save As to a chosen path: at most 15 characters before ".utl" (added
  // when missing), a name without a folder saved in the kind's folder, an
  // existing file replaced only when the user says Yes.
  bool saveAsFile(const std::filesystem::path &path);
  // After the glossary language changed: lists, width and measure follow it.
  void reloadGlossary();

  // How many characters of a label box's text count against the label's
  // maximum: a date label's " M/D/Y" or " D/M/Y" (or the part of it typed
  // so far) does not.
  std::size_t labelLength(const std::string &shown) const;

  const TemplateContent &content() const { return content_; }
  std::filesystem::path currentTemplatePath() const;

private:
  bool requireKind();
  void refillUserLists();
  void selectUserList(const std::string &name);
  void rebuildContent();
  void updateMemory(bool accept);
  bool commitRow(std::size_t row, std::string label, std::string description, DateOrder order);
  bool loadFrom(const std::filesystem::path &path);
  std::string shownLabel(const std::string &label) const;
  std::vector<std::string> descriptionChoicesFor(std::size_t row) const;

  TemplatesWorkspace &workspace_;
  UserPort &user_;
  const StringTable &strings_;
  TemplateContent content_;
  std::array<std::string, kRows> labels_;
  std::array<std::string, kRows> descriptions_;
  std::array<bool, kRows> showAll_{};
  std::vector<std::string> userListNames_;
  std::string userList_{UserListStore::kAll};
  LabelLinks links_;
  int measure_ = 0;
  int remaining_ = 100;
  bool unsaved_ = false;
};

} // namespace tarnwick
