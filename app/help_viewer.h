// The help viewer page apart from its controls: the topics of the help
// folder (plain text files, titled by an optional headings file) and the text
// of the selected one.
#pragma once

#include "install_tree.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class StringTable;

class HelpViewer {
public:
  // Dialog resource 264, no caption, 366 x 231 dialog units.
  static constexpr int kDialogId = 264;
  static constexpr int kTitleId = 1203;     // static text, bold font
  static constexpr int kTopicListId = 1196; // list box
  static constexpr int kTextId = 1202;      // read-only rich edit
  static constexpr std::string_view kPrompt = "Select a Help Topic";
  static constexpr std::string_view kTitle = "Tq Marker Utility Help";

  struct Snapshot {
    std::filesystem::path folder;
    std::vector<std::string> topics; // as listed: headings or file names
    int selected = -1;               // -1: nothing selected
    std::string text;                // the selected topic's bytes
  };

  // language: the user-interface language at start.
  HelpViewer(const InstallTree &tree, std::string language, const StringTable &strings);

  // Opening: reads the folder and shows the first topic.
  void open();
  // Shows topic index; a file that cannot be read shows "Help not available".
  // An index outside the list changes nothing.
  void selectTopic(int index);
  Snapshot snapshot() const;

private:
  const InstallTree &tree_;
  std::string language_;
  const StringTable &strings_;
  std::filesystem::path folder_;
  std::vector<std::filesystem::path> files_; // topic files, in list order
  std::vector<std::string> topics_;
  int selected_ = -1;
  std::string text_;
};

// The help folder for the user-interface language.
std::filesystem::path helpFolderFor(const InstallTree &tree, std::string_view language);
// The topic files of folder: "*.txt" (any case), sorted by name.
std::vector<std::filesystem::path> helpTopicFiles(const std::filesystem::path &folder);
// A topic file's name without its ".txt".
std::string helpTopicName(const std::filesystem::path &file);
// "Help Headings.cfg": lines up to a line feed (249 characters count, a CR
// before the line feed dropped); empty lines and lines beginning with "#"
// are skipped; every other line is one heading, in order.
std::vector<std::string> parseHelpHeadings(std::string_view bytes);

} // namespace tarnwick
