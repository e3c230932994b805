// The Configure Receiver dialog: the model box, the four tab pages with their
// list controls, the file and supervisor buttons, Check Receiver Model and
// Send config. It shows the ConfigurationEditor's snapshot and calls its
// actions. Sending and Check Receiver Model talk to the receiver on a worker
// so the window stays responsive; closing the dialog cancels their waits.
#pragma once

#include "app_context.h"
#include "configuration_editor.h"
#include "country_marker_mask.h"
#include "install_tree.h"
#include "receiver_configuration.h"
#include "tool_runner.h"
#include "ui_text.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLayout;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace tarnwick {
class Session;
}

namespace tarnwick::ui {

class SettingListView;

class ConfigureReceiverDialog final : public QDialog {
  Q_OBJECT
public:
  using Editor = ConfigurationEditor;
  static constexpr std::string_view kInitialCaption = Editor::kUntitledName;

  ConfigureReceiverDialog(AppContext &context, InstallTree tree,
                          ReceiverConfiguration &configuration, CountrySource country,
                          QWidget *parent = nullptr);
  ~ConfigureReceiverDialog() override;

  const Editor &editor() const { return editor_; }
  bool workerRunning() const { return runner_.running(); }
  // The editor's timer (every Editor::kTimerMs while the dialog is open);
  // tests tick it themselves.
  void tickTimer();
  // The result of the last send through the dialog; nothing before one ended.
  std::optional<SendConfiguration::Result> lastSendResult() const { return lastSendResult_; }

  QTabWidget *tabs() const { return tabs_; }
  SettingListView *listView(ListId list) const;

  // Closing in any way (Exit, the close box, Escape) first asks whether to
  // stop a send that is running and whether to save unsaved changes (Yes /
  // No / Cancel); then it cancels a running exchange and ends the supervisor
  // session.
  void done(int result) override;

signals:
  // A send or a model check has ended and the dialog shows its outcome.
  void workFinished();

private:
  enum class Work { None, Send, CheckModel };

  void buildControls();
  QWidget *makeTopRow();
  QLayout *makeSideColumn();
  QLayout *makeStatusRow();
  QWidget *makeUnitsDatePage();
  QWidget *makeMarkerTypesPage();
  QWidget *makeFrequencyPage(Editor::Page page);
  QWidget *makeLegend();
  SettingListView *addListView(QWidget *page, ListId list, const QString &title);
  QLabel *addNotValidText(QWidget *page);
  QPushButton *addButton(int id, void (ConfigureReceiverDialog::*action)());

  QWidget *makeSupervisorBanner();
  void refresh();
  void refreshPages(const Editor::Snapshot &view, bool idle);
  void refreshButtons(const Editor::Snapshot &view);
  void onTimer();
  bool mayClose();

  void onModelChosen(int position);
  void onEntryClicked(ListId list, int entry);
  void onNew();
  void onOpen();
  void onSave();
  void onSaveAs();
  void onSupervisorLogin();
  void onSupervisorLogout();
  void onChangePassword();
  void onCheckReceiverModel();
  void onSendConfig();
  void onExit();

  void startWork(Work work, Tool &tool);
  void onWorkFinished();

  AppContext &context_;
  DialogTexts texts_;
  Editor editor_;
  ToolRunner runner_;
  QTimer timer_;
  QComboBox *modelBox_ = nullptr;
  QTabWidget *tabs_ = nullptr;
  std::map<ListId, SettingListView *> views_;
  QLabel *markerTypesNotValid_ = nullptr;
  std::array<QLabel *, 2> frequenciesNotValid_{};
  std::array<QWidget *, 2> frequencyLists_{};
  QButtonGroup *units_ = nullptr;
  QButtonGroup *date_ = nullptr;
  std::map<int, QPushButton *> buttons_;
  QProgressBar *progress_ = nullptr;
  QLabel *status_ = nullptr;
  QWidget *supervisorBanner_ = nullptr;

  Work work_ = Work::None;
  std::optional<SendConfiguration::Result> lastSendResult_;
};

// What the main screen's "&Configure Receiver" opens: the dialog over the one
// configuration of the run, created on first use, for the country selected
// on the main screen.
std::function<void(QWidget &parent)> configureReceiverOpener(Session &session);

} // namespace tarnwick::ui
