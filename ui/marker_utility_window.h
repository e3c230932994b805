// The marker utility (caption "GPS/Tq Marker Utility", dialog text
// 902.0): a modal frame of tab
// pages under a glossary language selector that applies to all of them. The
// pages of this version: Set up Favorite User List, Create/Edit Templates,
// Xfer Saved data and Help.
#pragma once

#include "session.h"

#include <QDialog>

#include <functional>
#include <string>
#include <string_view>

class QComboBox;
class QPushButton;
class QTabWidget;

namespace tarnwick::ui {

class DownloadDialog;
class HelpViewerPage;
class TemplateEditorPage;
class TransferSavedDataPage;
class UserListPage;

class MarkerUtilityWindow final : public QDialog {
  Q_OBJECT
public:
  static constexpr std::string_view kCaption = "GPS/Tq Marker Utility";
  static constexpr int kGlossaryDownloadButton = 1175; // beside the language selector

  // Opening: the saved glossary language is loaded and every page follows it.
  explicit MarkerUtilityWindow(Session &session, QWidget *parent = nullptr);

  QTabWidget *tabs() const { return tabs_; }
  QComboBox *glossaryLanguage() const { return language_; }
  UserListPage *userListPage() const { return userListPage_; }
  TemplateEditorPage *templatePage() const { return templatePage_; }
  HelpViewerPage *helpPage() const { return helpPage_; }
  TransferSavedDataPage *transferPage() const { return transferPage_; }
  // The Glossary Download dialog once it was opened.
  DownloadDialog *glossaryDownload() const { return glossaryDownload_; }

  // Closing in any way (Exit, the close box, Escape) first asks whether to
  // save an edited template and an edited user list (Yes / No / Cancel), then
  // hands the folders the pages changed to the application.
  void done(int result) override;

private:
  void fillLanguages();
  void chooseLanguage(int index);
  void exit();
  bool mayClose();
  // Yes saves (false when that failed or was cancelled), No goes on, Cancel stays.
  bool askToSave(const std::string &name, const std::function<bool()> &save);
  QPushButton *makeGlossaryDownloadButton();
  void downloadGlossary();
  void connectListDownloads();

  Session &session_;
  QComboBox *language_ = nullptr;
  QTabWidget *tabs_ = nullptr;
  UserListPage *userListPage_ = nullptr;
  TemplateEditorPage *templatePage_ = nullptr;
  HelpViewerPage *helpPage_ = nullptr;
  TransferSavedDataPage *transferPage_ = nullptr;
  DownloadDialog *glossaryDownload_ = nullptr;
};

} // namespace tarnwick::ui
