// The Configure Receiver dialog apart from its controls: the model box, the
// four pages and their lists, the file buttons, the supervisor buttons,
// Check Receiver Model and Send config. A front end shows snapshot() and
// calls the actions; the user is reached through the context's UserPort.
//
// Every action runs on the interface thread, except the run() of its two
// tools (Check Receiver Model, Send config), which may run on a worker while
// the interface keeps calling snapshot() and onTimer(); the other actions are
// refused meanwhile.
#pragma once

#include "app_context.h"
#include "cancel_token.h"
#include "configuration_file.h"
#include "country_marker_mask.h"
#include "install_tree.h"
#include "receiver_configuration.h"
#include "send_configuration.h"
#include "supervisor_password.h"

#include <array>
#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnwick {

class ConfigurationEditor {
public:
  // Controls of the dialog (377 x 306 dialog units).
  static constexpr int kModelBox = 1002;
  static constexpr int kTabs = 1118;
  static constexpr int kNewButton = 1121;
  static constexpr int kOpenButton = 1126;
  static constexpr int kSaveButton = 1124;
  static constexpr int kSaveAsButton = 1158;
  static constexpr int kSendConfigButton = 1123;
  static constexpr int kExitButton = 1;
  static constexpr int kSupervisorLoginButton = 1206;
  // Not in the resource layout: ends a supervisor session on purpose.
  static constexpr int kSupervisorLogoutButton = 1207;
  static constexpr int kChangePasswordButton = 1210;
  static constexpr int kCheckReceiverModelButton = 1252;
  static constexpr int kProgressBar = 1096;
  static constexpr int kStatusLine = 1097;
  static constexpr int kNameDialogId = 235;
  // State pictures of Disabled, Enabled and Masked (Unavailable has none).
  static constexpr std::array<int, 3> kStateIcons = {265, 266, 267};
  static constexpr int kTimerMs = 200;

  static constexpr std::string_view kUntitledName = "untitled.cfg";
  static constexpr std::string_view kProposedName = "config1.cfg";
  // The file dialogs' filters: strings kConfigurationOpenFilter and
  // kConfigurationSaveFilter.
  static constexpr std::string_view kCodeSeparator = " - "; // "8330M - <204>"

  // The pages in tab order; the language page is built but never a tab.
  enum class Page { UnitsDate, MarkerTypes, LocateFrequencies, ToneFrequencies, Language };
  static constexpr int kPageCount = 5;
  static constexpr int kTabCount = 4;
  static Page pageOf(ListId list);
  // The tab titles' string ids, in tab order.
  static constexpr std::array<StringId, kTabCount> kTabTitles = {
      sid::kTabUnitsAndDate, sid::kTabMarkerTypes, sid::kTabLocateFrequencies,
      sid::kTabToneFrequencies};
  // The five lists of a frequency page, in column order, with their titles.
  static std::array<ListId, 5> frequencyLists(Page page);
  static constexpr std::array<std::string_view, 5> kFrequencyColumns = {
      "Active", "Power", "Passive", "Aux", "User frequency"};
  static constexpr std::string_view kUnitsTitle = "Units";
  static constexpr std::string_view kDateTitle = "Date Format";
  static constexpr std::string_view kLanguageTitle = "Language"; // the page that is never a tab
  // A list as the dialog titles it: its tab, then its column or group.
  static std::string listTitle(ListId list, const StringTable &strings);

  struct Snapshot {
    std::string caption;
    std::string fileName;           // "untitled.cfg" until saved or opened
    std::filesystem::path filePath; // empty until saved or opened
    int modelSelection = -1;        // position in the model box; -1: none shown
    ModelIndex model = kDefaultModel;
    bool markerTypesValid = true; // else the page shows the "not valid" text
    bool frequenciesValid = true; // both frequency pages
    SettingLists lists;           // what the pages show (names and states)
    int unitsSelection = -1;      // the checked radio button; -1: none
    int dateSelection = -1;
    int languageSelection = -1;
    std::array<bool, kPageCount> pageModified{};
    bool modified = false; // any page
    // The pages or the model differ from what was last started, opened or
    // saved: closing would lose them.
    bool unsavedChanges = false;
    bool supervisor = false;
    bool inputFrozen = false;
    bool busy = false; // a send or a model check is running
    bool sendEnabled = false;
    std::string status;
    bool progressVisible = false;
    int progressMax = SendConfiguration::kProgressSteps;
    int progressPosition = 0;
    bool closed = false;

    // Whether the control (by id) is enabled.
    bool enabled(int controlId) const;
    bool pageValid(Page page) const;
  };

  ConfigurationEditor(AppContext &context, InstallTree tree, ReceiverConfiguration &configuration,
                      CountrySource country);
  // Leaving the editor ends the supervisor session.
  ~ConfigurationEditor();
  ConfigurationEditor(const ConfigurationEditor &) = delete;
  ConfigurationEditor &operator=(const ConfigurationEditor &) = delete;

  // Dialog start: model 9 with its defaults, "New Configuration".
  void start();
  Snapshot snapshot() const;
  // Every 200 ms: "Send config" is enabled exactly while no page is modified.
  void onTimer();

  // The model box's selection changed (a position among its 35 names).
  void selectModel(int position);
  // The model change for any index (also those the box does not list).
  void applyModel(ModelIndex index);

  // A click on an entry of a list control; units, date and language are
  // chosen with the selections below instead.
  void clickEntry(ListId list, int entry);
  void selectUnits(int entry);
  void selectDateFormat(int entry);
  void selectLanguage(int entry);

  void newConfiguration();
  // The open dialog, then openFile().
  bool openConfiguration();
  // Reads a file as Open does; false (nothing changed) when it cannot.
  bool openFile(const std::filesystem::path &path);
  bool save();
  // The save dialog, then saveAsFile().
  bool saveAs();
  // Save As to a chosen path: "untitled" refused, ".cfg" added, an existing
  // file overwritten only when the user says Yes.
  bool saveAsFile(std::filesystem::path path);
  // Why the file of the last "could not be saved" message was not written;
  // empty again once a save writes its file.
  const std::error_code &saveError() const { return saveError_; }

  bool supervisorLogin();
  // Ends a supervisor session; false when none was open.
  bool supervisorLogout();
  bool changePassword();

  // Check Receiver Model as a tool: the port step (interface thread), the
  // receiver's model (worker), then its selection (onTimer()).
  Tool &modelCheck() { return modelCheck_; }
  // The whole check on this thread; true when a model was selected.
  bool checkReceiverModel(const CancelToken &cancel);

  // Send config as a tool: the port step and the configuration taken
  // (interface thread), then the sending (worker). startSend() refuses while
  // "Send config" is disabled.
  Tool &sendTool() { return sendTool_; }
  bool startSend();
  SendConfiguration::Result runSend(const CancelToken &cancel);
  // Both on this thread; Busy when "Send config" is disabled or another tool
  // holds the port.
  SendConfiguration::Result sendConfiguration(const CancelToken &cancel);
  SendConfiguration &sending() { return send_; }
  const SendConfiguration &sending() const { return send_; }

  // Exit: ends the supervisor session.
  void exit();

  const std::filesystem::path &configFolder() const { return configFolder_; }

private:
  class ModelCheck final : public Tool {
  public:
    explicit ModelCheck(ConfigurationEditor &editor) : editor_(editor) {}
    bool begin() override;
    void run(const CancelToken &cancel) override;
    // Selects the receiver's model; with unsaved changes only when the user
    // says Yes.
    void onTimer() override;
    std::string statusText() const override { return status_.get(); }
    bool applied() const { return applied_; }

  private:
    ConfigurationEditor &editor_;
    std::optional<ModelIndex> model_; // written by run(), read by onTimer()
    bool applied_ = false;
    SharedText status_;
  };
  class SendTool final : public Tool {
  public:
    explicit SendTool(ConfigurationEditor &editor) : editor_(editor) {}
    bool begin() override { return editor_.startSend(); }
    void run(const CancelToken &cancel) override { editor_.runSend(cancel); }
    std::string statusText() const override {
      return editor_.send_.snapshot().status.value_or(std::string());
    }

  private:
    ConfigurationEditor &editor_;
  };

  // What the pages were when last started, opened or saved.
  struct Baseline {
    ModelIndex model = kDefaultModel;
    SettingLists pages;
  };

  std::optional<ModelIndex> queryReceiverModel(const CancelToken &cancel, SharedText &status);
  bool mayTakeReceiverModel(ModelIndex model);
  void tookReceiverModel(ModelIndex model);
  void keepBaseline();
  bool unsavedChanges() const;
  void setStatus(std::string text);
  void noteLockChange(ListId list, int entry, SettingState before);
  bool acceptsInput() const { return !frozen_ && !busy_.load() && !closed_; }
  void fillPagesFromDefaults();
  void loadPages();
  void commitPages();
  void setPages(const SettingLists &lists);
  void markModified(Page page) { modified_[static_cast<std::size_t>(page)] = true; }
  void markAllModified();
  void clearModified();
  bool anyModified() const;
  bool listClickable(ListId list) const;
  void clickUserFrequency(ListId list, int slot);
  void enterUserFrequency(ListId list, int slot, SettingState state);
  void setSelection(ListId list, int entry);
  bool writeTo(const std::filesystem::path &path);
  void savedOrOpened(const std::filesystem::path &path);
  std::filesystem::path inConfigFolder(const std::string &chosen);
  void reportNotSaved(const std::filesystem::path &path, std::error_code error);

  AppContext &context_;
  InstallTree tree_;
  ReceiverConfiguration &configuration_;
  CountrySource country_;
  SupervisorLogin supervisor_;
  SendConfiguration send_;
  std::filesystem::path configFolder_;

  std::string caption_;
  std::string fileName_{kUntitledName};
  std::filesystem::path filePath_;
  std::error_code saveError_;
  std::string status_;
  SettingLists pages_;
  std::array<int, 3> selections_{-1, -1, -1}; // units, date, language
  PageValidity validity_;
  std::array<bool, kPageCount> modified_{};
  bool sendEnabled_ = false;
  bool frozen_ = false;
  bool closed_ = false;
  bool sendStarted_ = false;
  std::atomic<bool> busy_{false};
  std::atomic<bool> sendPrepared_{false}; // startSend() took the configuration
  Baseline baseline_;
  ModelCheck modelCheck_{*this};
  SendTool sendTool_{*this};
};

} // namespace tarnwick
