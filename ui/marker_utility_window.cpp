#include "marker_utility_window.h"

#include "dialog_font.h"
#include "download_dialogs.h"
#include "glossary.h"
#include "help_viewer_page.h"
#include "install_path.h"
#include "install_tree.h"
#include "string_ids.h"
#include "template_editor_page.h"
#include "template_widgets.h"
#include "transfer_saved_data_page.h"
#include "ui_text.h"
#include "user_list_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tarnwick::ui {

namespace {

// Room for the lists of the user list page and the help topics.
constexpr int kWidthDlu = 480;
constexpr int kHeightDlu = 300;

} // namespace

MarkerUtilityWindow::MarkerUtilityWindow(Session &session, QWidget *parent)
    : QDialog(parent), session_(session) {
  const DialogTexts texts(&session.context().strings, dialog::kMarkerUtility);
  setObjectName(QStringLiteral("markerUtility"));
  setWindowTitle(texts(item::kCaption));
  Session &app = session_;
  TemplatesWorkspace &workspace = session_.templates();
  workspace.useSavedGlossary();

  language_ = new QComboBox(this);
  language_->setObjectName(QStringLiteral("glossaryLanguage"));
  language_->setFont(boldDialogFont());
  language_->setMinimumContentsLength(10);
  connect(language_, &QComboBox::activated, this, &MarkerUtilityWindow::chooseLanguage);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  userListPage_ = new UserListPage(workspace, app.user(), app.context().strings, tabs_);
  templatePage_ = new TemplateEditorPage(session_.templateEditor(), app.context().strings, tabs_);
  helpPage_ = new HelpViewerPage(app.tree(), app.language(), app.context().strings, tabs_);
  tabs_->addTab(userListPage_, QString::fromStdString(app.text(sid::kTabFavoriteUserList)));
  tabs_->addTab(templatePage_, QString::fromStdString(app.text(sid::kTabCreateEditTemplates)));
  transferPage_ = new TransferSavedDataPage(session_, tabs_);
  tabs_->addTab(transferPage_, QString::fromStdString(app.text(sid::kTabTransferSavedData)));
  tabs_->addTab(helpPage_, QString::fromStdString(app.text(sid::kTabHelp)));
  templatePage_->reloadGlossary();

  auto *exitButton = makeButton(this, item::kOk, texts(item::kOk));
  exitButton->setAutoDefault(false);
  connect(exitButton, &QPushButton::clicked, this, &MarkerUtilityWindow::exit);

  auto *top = new QHBoxLayout;
  top->addStretch();
  top->addWidget(new QLabel(texts(item::kGlossaryLanguageLabel), this));
  top->addWidget(language_);
  top->addWidget(makeGlossaryDownloadButton());
  auto *bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(exitButton);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(tabs_, 1);
  layout->addLayout(bottom);
  connectListDownloads();
  fillLanguages();
  resize(dialogUnits(*this, kWidthDlu, kHeightDlu).expandedTo(sizeHint()));
}

QPushButton *MarkerUtilityWindow::makeGlossaryDownloadButton() {
  auto *button = makeButton(this, kGlossaryDownloadButton,
                            QString::fromStdString(session_.text(sid::kDownloadGlossaryButton)));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, &MarkerUtilityWindow::downloadGlossary);
  return button;
}

// The dialog is kept and shown again for each download of the glossary in use.
void MarkerUtilityWindow::downloadGlossary() {
  if (glossaryDownload_ == nullptr) {
    glossaryDownload_ =
        makeGlossaryDownloadDialog(session_.context(), session_.templates().glossary, this);
  }
  glossaryDownload_->exec();
}

void MarkerUtilityWindow::connectListDownloads() {
  const auto run = [this](DownloadDialog *dialog) {
    if (dialog->exec() == QDialog::Accepted) {
      userListPage_->refresh();
    }
    delete dialog;
  };
  connect(userListPage_, &UserListPage::sendListRequested, this,
          [this, run](const std::string &list) {
            run(makeUserListDownloadDialog(session_.context(), session_.templates().userLists, list,
                                           this));
          });
  connect(userListPage_, &UserListPage::sendLinksRequested, this,
          [this, run](const std::string &list) {
            run(makeDescriptionListDownloadDialog(session_.context(),
                                                  session_.templates().userLists, list, this));
          });
}

void MarkerUtilityWindow::fillLanguages() {
  const QSignalBlocker block(language_);
  setComboItems(*language_, fromNames(session_.templates().glossaryLanguages()));
  const std::string &current = session_.templates().glossaryChoice().language;
  int selected = -1;
  for (int i = 0; i < language_->count(); ++i) {
    if (equalsIgnoringCase(language_->itemText(i).toStdString(), current)) {
      selected = i;
    }
  }
  language_->setCurrentIndex(selected);
}

void MarkerUtilityWindow::chooseLanguage(int index) {
  // No valid choice (nothing selected, fewer than two entries, past the end): English.
  const bool valid = index >= 0 && index < language_->count() && language_->count() >= 2;
  const std::string name =
      valid ? language_->itemText(index).toStdString() : std::string(install::kEnglish);
  session_.templates().useGlossaryNamed(name);
  userListPage_->reloadGlossary();
  templatePage_->reloadGlossary();
  fillLanguages();
}

void MarkerUtilityWindow::exit() {
  TemplatesWorkspace &workspace = session_.templates();
  const auto languages = workspace.glossaryLanguages();
  const bool listed =
      std::any_of(languages.begin(), languages.end(), [&](const std::string &language) {
        return equalsIgnoringCase(language, workspace.glossaryChoice().language);
      });
  // An unlisted language (a tree without glossaries) has no position to keep.
  if (!workspace.saveGlossaryLanguage() && listed) {
    session_.showMessage(
        sid::kFileNotSaved,
        resolveInstallPath(workspace.workingFolder(), install::kGlossarySelectionFile).string());
  }
  accept();
}

bool MarkerUtilityWindow::askToSave(const std::string &name, const std::function<bool()> &save) {
  const std::string question = session_.text(sid::kSaveChangesTo) + name + " ?";
  switch (session_.user().ask(question, Buttons::YesNoCancel)) {
  case Answer::Yes:
    return save();
  case Answer::No:
    return true;
  case Answer::Cancel:
  case Answer::Ok:
    break;
  }
  return false;
}

bool MarkerUtilityWindow::mayClose() {
  TemplateEditor &templates = templatePage_->logic();
  if (const auto edited = templates.snapshot(); edited.unsaved) {
    if (!askToSave(edited.templateName, [&templates] { return templates.saveAs(); })) {
      templatePage_->refresh();
      return false;
    }
    templatePage_->refresh();
  }
  UserListEditor &lists = userListPage_->logic();
  if (const auto edited = lists.snapshot(); edited.unsaved) {
    const std::string name = userListPage_->shownName(edited.list).toStdString();
    if (!askToSave(name, [&lists] { return lists.save(); })) {
      userListPage_->refresh();
      return false;
    }
    userListPage_->refresh();
  }
  return true;
}

void MarkerUtilityWindow::done(int result) {
  if (!mayClose()) {
    return;
  }
  session_.keepTemplateFolders();
  QDialog::done(result);
}

} // namespace tarnwick::ui
