// The Browse dialog (resource 241): the folder tree beside the ".utl" files
// of the folder chosen in it. The caller's browse path holds the chosen
// folder after OK and is empty after Cancel.
#pragma once

#include "folder_tree.h"
#include "string_table.h"

#include <QDialog>

#include <string>

class QListWidget;

namespace tarnwick::ui {

class FolderTreeView;

class BrowseDialog final : public QDialog {
  Q_OBJECT
public:
  // strings may be null: English texts.
  BrowseDialog(const VolumeSource &volumes, std::string &browsePath, QWidget *parent = nullptr,
               const StringTable *strings = nullptr);

  const TemplateBrowser &logic() const { return browser_; }
  FolderTreeView *treeView() const { return view_; }

  void accept() override;
  void reject() override;

private:
  void refreshFiles();

  FolderTree tree_;
  TemplateBrowser browser_;
  FolderTreeView *view_;
  QListWidget *files_;
};

} // namespace tarnwick::ui
