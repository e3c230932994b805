#include "configuration_editor.h"

#include "error_reason.h"

#include "configuration_tables.h"
#include "model_catalogue.h"
#include "port_settings.h"
#include "receiver_identity.h"

#include <cctype>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::size_t kUnitsSelection = 0;
constexpr std::size_t kDateSelection = 1;
constexpr std::size_t kLanguageSelection = 2;

std::optional<std::size_t> selectionSlot(ListId list) {
  switch (list) {
  case ListId::Units:
    return kUnitsSelection;
  case ListId::Date:
    return kDateSelection;
  case ListId::Language:
    return kLanguageSelection;
  default:
    return std::nullopt;
  }
}

bool isUserList(ListId list) {
  return list == ListId::LocateUser || list == ListId::ToneUser;
}

// The number a text begins with, as the dialog converts it: blanks, a sign,
// then digits; 0 when there are none.
int leadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
    ++at;
  }
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
    ++at;
  }
  int value = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    value = value * 10 + (text[at] - '0');
  }
  return negative ? -value : value;
}

int firstEnabled(const SettingList &list) {
  for (int entry = 0; entry < list.count(); ++entry) {
    if (list.at(entry).state == SettingState::Enabled) {
      return entry;
    }
  }
  return -1;
}

} // namespace

std::string ConfigurationEditor::listTitle(ListId list, const StringTable &strings) {
  const Page page = pageOf(list);
  if (page == Page::Language) {
    return std::string(kLanguageTitle);
  }
  std::string title = strings.text(kTabTitles[static_cast<std::size_t>(page)]);
  if (list == ListId::Units || list == ListId::Date) {
    return title + ": " + std::string(list == ListId::Units ? kUnitsTitle : kDateTitle);
  }
  if (page == Page::MarkerTypes) {
    return title;
  }
  const auto columns = frequencyLists(page);
  for (std::size_t column = 0; column < columns.size(); ++column) {
    if (columns[column] == list) {
      return title + ": " + std::string(kFrequencyColumns[column]);
    }
  }
  return title;
}

ConfigurationEditor::Page ConfigurationEditor::pageOf(ListId list) {
  switch (list) {
  case ListId::Units:
  case ListId::Date:
    return Page::UnitsDate;
  case ListId::MarkerTypes:
    return Page::MarkerTypes;
  case ListId::LocateActive:
  case ListId::LocatePower:
  case ListId::LocatePassive:
  case ListId::LocateAux:
  case ListId::LocateUser:
    return Page::LocateFrequencies;
  case ListId::ToneActive:
  case ListId::TonePower:
  case ListId::TonePassive:
  case ListId::ToneAux:
  case ListId::ToneUser:
    return Page::ToneFrequencies;
  case ListId::Language:
    break;
  }
  return Page::Language;
}

std::array<ListId, 5> ConfigurationEditor::frequencyLists(Page page) {
  if (page == Page::ToneFrequencies) {
    return {ListId::ToneActive, ListId::TonePower, ListId::TonePassive, ListId::ToneAux,
            ListId::ToneUser};
  }
  return {ListId::LocateActive, ListId::LocatePower, ListId::LocatePassive, ListId::LocateAux,
          ListId::LocateUser};
}

bool ConfigurationEditor::Snapshot::enabled(int controlId) const {
  switch (controlId) {
  case kSendConfigButton:
    return sendEnabled && !busy && !closed;
  case kChangePasswordButton:
  case kSupervisorLogoutButton:
    return supervisor && !busy && !closed;
  case kModelBox:
  case kNewButton:
  case kOpenButton:
  case kSaveButton:
  case kSaveAsButton:
  case kSupervisorLoginButton:
  case kCheckReceiverModelButton:
    return !busy && !closed;
  default:
    return true;
  }
}

bool ConfigurationEditor::Snapshot::pageValid(Page page) const {
  switch (page) {
  case Page::MarkerTypes:
    return markerTypesValid;
  case Page::LocateFrequencies:
  case Page::ToneFrequencies:
    return frequenciesValid;
  default:
    return true;
  }
}

ConfigurationEditor::ConfigurationEditor(AppContext &context, InstallTree tree,
                                         ReceiverConfiguration &configuration,
                                         CountrySource country)
    : context_(context), tree_(std::move(tree)), configuration_(configuration),
      country_(std::move(country)), supervisor_(context, configuration, PasswordFile(tree_)),
      send_(context), configFolder_(tree_.path(install::kConfig)) {}

ConfigurationEditor::~ConfigurationEditor() {
  configuration_.setSupervisorSession(false);
}

void ConfigurationEditor::start() {
  status_ = context_.text(sid::kConfigureReceiverStart);
  caption_ = context_.text(sid::kNewConfigurationCaption);
  fileName_ = std::string(kUntitledName);
  filePath_.clear();
  sendEnabled_ = false;
  applyModel(kDefaultModel);
  keepBaseline();
}

void ConfigurationEditor::keepBaseline() {
  baseline_ = {configuration_.model(), pages_};
}

bool ConfigurationEditor::unsavedChanges() const {
  return configuration_.model() != baseline_.model || pages_ != baseline_.pages;
}

void ConfigurationEditor::setStatus(std::string text) {
  status_ = std::move(text);
  sendStarted_ = false; // the status line shows this rather than the last send's
}

ConfigurationEditor::Snapshot ConfigurationEditor::snapshot() const {
  Snapshot view;
  view.caption = caption_;
  view.fileName = fileName_;
  view.filePath = filePath_;
  const ModelIndex model = configuration_.model();
  view.model = model;
  view.modelSelection = model < static_cast<ModelIndex>(kModelCount) ? static_cast<int>(model) : -1;
  view.markerTypesValid = validity_.markerTypes;
  view.frequenciesValid = validity_.frequencies;
  view.lists = pages_;
  view.unitsSelection = selections_[kUnitsSelection];
  view.dateSelection = selections_[kDateSelection];
  view.languageSelection = selections_[kLanguageSelection];
  view.pageModified = modified_;
  view.modified = anyModified();
  view.unsavedChanges = unsavedChanges();
  view.supervisor = configuration_.supervisorSession();
  view.inputFrozen = frozen_;
  view.busy = busy_.load();
  view.sendEnabled = sendEnabled_;
  view.closed = closed_;
  const auto sending = send_.snapshot();
  view.status = sendStarted_ && sending.status ? *sending.status : status_;
  if (std::string checking = modelCheck_.statusText(); !checking.empty()) {
    view.status = std::move(checking);
  }
  view.progressVisible = sending.progressVisible;
  view.progressMax = sending.progressMax;
  view.progressPosition = sending.progressPosition;
  return view;
}

void ConfigurationEditor::onTimer() {
  sendEnabled_ = !anyModified();
}

void ConfigurationEditor::selectModel(int position) {
  if (!acceptsInput() || position < 0 || position >= kModelCount) {
    return;
  }
  applyModel(static_cast<ModelIndex>(position));
}

// Filling the pages counts as a change: the pages no longer show what was
// last saved or opened, so "Send config" stays off until the next save.
void ConfigurationEditor::applyModel(ModelIndex index) {
  configuration_.setModel(index);
  markAllModified();
  const auto validity = pageValidity(index);
  if (!validity) {
    return; // the lists and pages stay as they are
  }
  validity_ = *validity;
  configuration_.rebuildDefaults();
  fillPagesFromDefaults();
}

void ConfigurationEditor::fillPagesFromDefaults() {
  SettingLists lists;
  for (ListId id : allLists()) {
    listOf(lists, id) = configuration_.defaultList(id);
  }
  setPages(lists);
}

void ConfigurationEditor::loadPages() {
  setPages(configuration_.current());
}

void ConfigurationEditor::setPages(const SettingLists &lists) {
  pages_ = lists;
  for (ListId id : {ListId::Units, ListId::Date, ListId::Language}) {
    setSelection(id, firstEnabled(listOf(pages_, id)));
  }
}

// A radio group or drop-down: the chosen entry is Enabled, the others Disabled.
void ConfigurationEditor::setSelection(ListId list, int entry) {
  SettingList &entries = listOf(pages_, list);
  if (entry >= entries.count()) {
    return;
  }
  selections_[*selectionSlot(list)] = entry;
  if (entry < 0) {
    return;
  }
  for (int i = 0; i < entries.count(); ++i) {
    entries.at(i).state = i == entry ? SettingState::Enabled : SettingState::Disabled;
  }
}

void ConfigurationEditor::commitPages() {
  configuration_.copyCurrentIn(pages_);
}

void ConfigurationEditor::markAllModified() {
  modified_.fill(true);
}

void ConfigurationEditor::clearModified() {
  modified_.fill(false);
}

bool ConfigurationEditor::anyModified() const {
  for (bool modified : modified_) {
    if (modified) {
      return true;
    }
  }
  return false;
}

bool ConfigurationEditor::listClickable(ListId list) const {
  switch (pageOf(list)) {
  case Page::MarkerTypes:
    return validity_.markerTypes;
  case Page::LocateFrequencies:
  case Page::ToneFrequencies:
    return validity_.frequencies;
  default:
    return false; // radio buttons and the drop-down
  }
}

void ConfigurationEditor::clickEntry(ListId list, int entry) {
  if (!acceptsInput() || !listClickable(list) || !listOf(pages_, list).has(entry)) {
    return;
  }
  markModified(pageOf(list));
  if (isUserList(list)) {
    clickUserFrequency(list, entry);
    return;
  }
  SettingState &state = listOf(pages_, list).at(entry).state;
  const SettingState before = state;
  const bool supervisor = configuration_.supervisorSession();
  switch (state) {
  case SettingState::Disabled:
    state = SettingState::Enabled;
    break;
  case SettingState::Enabled:
    state = supervisor ? SettingState::Masked : SettingState::Disabled;
    break;
  case SettingState::Masked:
    if (supervisor) {
      state = SettingState::Disabled;
    } else {
      context_.showMessage(sid::kLoginAsSupervisor);
    }
    break;
  case SettingState::Unavailable:
    if (list == ListId::MarkerTypes) {
      const std::string country = country_ ? country_().name : CountryChoice{}.name;
      context_.user.message(context_.text(sid::kFrequencyNotAvailable) + country);
    }
    break;
  }
  noteLockChange(list, entry, before);
}

// A supervisor's click that locks or unlocks an entry says so.
void ConfigurationEditor::noteLockChange(ListId list, int entry, SettingState before) {
  const SettingEntry &now = listOf(pages_, list).at(entry);
  if (before == now.state ||
      (before != SettingState::Masked && now.state != SettingState::Masked)) {
    return;
  }
  const std::string name = entryDisplayName(context_.strings, list, entry, now.name);
  setStatus(context_.strings.format(
      now.state == SettingState::Masked ? sid::kEntryLocked : sid::kEntryUnlocked, {name}));
}

void ConfigurationEditor::clickUserFrequency(ListId list, int slot) {
  SettingState &state = listOf(pages_, list).at(slot).state;
  const bool supervisor = configuration_.supervisorSession();
  switch (state) {
  case SettingState::Enabled:
    state = SettingState::Disabled; // the frequency stays
    break;
  case SettingState::Masked:
    if (!supervisor) {
      context_.showMessage(sid::kLoginAsSupervisor);
      break;
    }
    enterUserFrequency(list, slot, state);
    noteLockChange(list, slot, SettingState::Masked);
    break;
  case SettingState::Disabled:
    enterUserFrequency(list, slot, state);
    break;
  case SettingState::Unavailable:
    break;
  }
}

void ConfigurationEditor::enterUserFrequency(ListId list, int slot, SettingState state) {
  SettingList &entries = listOf(pages_, list);
  PromptSpec spec;
  spec.label = context_.text(state == SettingState::Masked ? sid::kFrequencyOutOfRange
                                                           : sid::kEnterFrequency);
  spec.initial = slotIsSet(entries, slot) ? entries.at(slot).name : std::string{};
  spec.maxLength = kMaxUserFrequencyChars;
  const auto typed = context_.user.prompt(spec);
  if (!typed) {
    entries.at(slot).state = SettingState::Disabled;
    return;
  }
  // The dialog refuses typing past its maximum; a longer answer is cut alike.
  const int value = leadingInteger(std::string_view(*typed).substr(0, kMaxUserFrequencyChars));
  if (value < kMinUserFrequency || value > kMaxUserFrequency) {
    context_.showMessage(sid::kFrequencyOutOfRange);
    entries.at(slot).state = SettingState::Disabled;
    return;
  }
  for (ListId shared : {ListId::LocateUser, ListId::ToneUser}) {
    SettingList &slots = listOf(pages_, shared);
    if (slots.has(slot)) {
      slots.at(slot).name = std::to_string(value);
    }
  }
  entries.at(slot).state = SettingState::Enabled;
}

void ConfigurationEditor::selectUnits(int entry) {
  if (acceptsInput()) {
    setSelection(ListId::Units, entry);
    markModified(Page::UnitsDate);
  }
}

void ConfigurationEditor::selectDateFormat(int entry) {
  if (acceptsInput()) {
    setSelection(ListId::Date, entry);
    markModified(Page::UnitsDate);
  }
}

void ConfigurationEditor::selectLanguage(int entry) {
  if (acceptsInput()) {
    setSelection(ListId::Language, entry);
    markModified(Page::Language);
  }
}

void ConfigurationEditor::newConfiguration() {
  if (!acceptsInput()) {
    return;
  }
  applyModel(kDefaultModel);
  fileName_ = std::string(kUntitledName);
  filePath_.clear();
  caption_ = context_.text(sid::kNewConfigurationCaption);
  sendEnabled_ = false;
  keepBaseline();
}

bool ConfigurationEditor::openConfiguration() {
  if (!acceptsInput()) {
    return false;
  }
  std::error_code error;
  tree_.folder(install::kConfig, error);
  FileSpec spec;
  spec.filter = context_.text(sid::kConfigurationOpenFilter);
  spec.folder = configFolder_.string();
  const auto chosen = context_.user.openFile(spec);
  if (!chosen || chosen->empty()) {
    return false;
  }
  return openFile(inConfigFolder(*chosen));
}

bool ConfigurationEditor::openFile(const std::filesystem::path &path) {
  if (!acceptsInput()) {
    return false;
  }
  frozen_ = true;
  const auto result = readConfigurationFile(path, configuration_);
  frozen_ = false;
  if (result.status != ConfigurationReadResult::Status::Read) {
    return false; // the dialog keeps its state
  }
  if (result.conversionError) {
    reportNotSaved(path, result.conversionError);
  }
  if (const auto validity = pageValidity(configuration_.model())) {
    validity_ = *validity;
  }
  loadPages();
  fileName_ = path.filename().string();
  caption_ = fileName_;
  savedOrOpened(path);
  return true;
}

bool ConfigurationEditor::save() {
  if (!acceptsInput()) {
    return false;
  }
  commitPages();
  if (fileName_ == kUntitledName) {
    return saveAs();
  }
  // In place: the file that was opened or saved, and only while it exists.
  std::error_code error;
  if (filePath_.empty() || !std::filesystem::exists(filePath_, error)) {
    return false;
  }
  return writeTo(filePath_);
}

bool ConfigurationEditor::saveAs() {
  if (!acceptsInput()) {
    return false;
  }
  std::error_code error;
  tree_.folder(install::kConfig, error);
  FileSpec spec;
  spec.filter = context_.text(sid::kConfigurationSaveFilter);
  spec.folder = configFolder_.string();
  spec.defaultName = std::string(kProposedName);
  const auto chosen = context_.user.saveFile(spec);
  return chosen && saveAsFile(inConfigFolder(*chosen));
}

bool ConfigurationEditor::saveAsFile(std::filesystem::path path) {
  if (!acceptsInput()) {
    return false;
  }
  commitPages();
  std::string name = path.filename().string();
  if (name.empty()) {
    return false;
  }
  if (equalIgnoringCase(name, "untitled") || equalIgnoringCase(name, kUntitledName)) {
    context_.showMessage(sid::kEnterConfigurationName);
    return false;
  }
  if (!endsWithIgnoringCase(name, ".cfg")) {
    name += ".cfg";
    path += ".cfg";
  }
  std::error_code error;
  if (std::filesystem::exists(path, error) &&
      context_.user.ask(context_.text(sid::kOverwriteExistingFile), Buttons::YesNo) !=
          Answer::Yes) {
    return false;
  }
  if (!writeTo(path)) {
    return false;
  }
  fileName_ = name;
  caption_ = name;
  return true;
}

bool ConfigurationEditor::writeTo(const std::filesystem::path &path) {
  if (std::error_code error = writeConfigurationFile(path, configuration_)) {
    reportNotSaved(path, error);
    return false;
  }
  saveError_.clear();
  savedOrOpened(path);
  return true;
}

void ConfigurationEditor::savedOrOpened(const std::filesystem::path &path) {
  filePath_ = path;
  clearModified();
  sendEnabled_ = true;
  keepBaseline();
}

std::filesystem::path ConfigurationEditor::inConfigFolder(const std::string &chosen) {
  const std::filesystem::path path(chosen);
  return path.is_relative() ? configFolder_ / path : path;
}

void ConfigurationEditor::reportNotSaved(const std::filesystem::path &path, std::error_code error) {
  saveError_ = error;
  context_.user.message(notSavedText(context_.strings, path, error));
}

bool ConfigurationEditor::supervisorLogin() {
  if (!acceptsInput() || !supervisor_.login()) {
    return false;
  }
  setStatus(context_.text(sid::kSupervisorLoggedIn));
  return true;
}

bool ConfigurationEditor::supervisorLogout() {
  if (!acceptsInput() || !configuration_.supervisorSession()) {
    return false;
  }
  configuration_.setSupervisorSession(false);
  setStatus(context_.text(sid::kSupervisorLoggedOut));
  return true;
}

bool ConfigurationEditor::changePassword() {
  return acceptsInput() && supervisor_.changePassword();
}

bool ConfigurationEditor::ModelCheck::begin() {
  model_.reset();
  applied_ = false;
  if (!editor_.acceptsInput() || editor_.busy_.exchange(true)) {
    return false;
  }
  if (!ensurePortOpen(editor_.context_, EnsureOpenForm::Second)) {
    editor_.busy_.store(false);
    return false;
  }
  return true;
}

void ConfigurationEditor::ModelCheck::run(const CancelToken &cancel) {
  model_ = editor_.queryReceiverModel(cancel, status_);
  status_.set({});
  editor_.busy_.store(false);
}

void ConfigurationEditor::ModelCheck::onTimer() {
  if (model_ && !editor_.closed_ && editor_.mayTakeReceiverModel(*model_)) {
    editor_.applyModel(*model_);
    editor_.tookReceiverModel(*model_);
    applied_ = true;
  }
}

// Selecting the model replaces every setting with its defaults: with
// unsaved changes the user decides.
bool ConfigurationEditor::mayTakeReceiverModel(ModelIndex model) {
  if (!unsavedChanges()) {
    return true;
  }
  const std::string question =
      context_.strings.format(sid::kModelCheckLosesChanges, {modelName(model)});
  return context_.user.ask(question, Buttons::YesNo) == Answer::Yes;
}

// The pages now hold the receiver's model's defaults, not the file's.
void ConfigurationEditor::tookReceiverModel(ModelIndex model) {
  fileName_ = std::string(kUntitledName);
  filePath_.clear();
  caption_ = context_.strings.format(sid::kModelFromReceiverCaption, {modelName(model)});
}

std::optional<ModelIndex> ConfigurationEditor::queryReceiverModel(const CancelToken &cancel,
                                                                  SharedText &status) {
  Console console(context_, &cancel);
  IdentityQuery query;
  query.statusBoundMs = cmd::kVersionStatusBoundMs;
  status.set(context_.text(sid::kCheckingConnection));
  if (const Outcome alive = console.CheckAlive(query.aliveBoundMs); !succeeded(alive)) {
    endExchange(context_, alive, sid::kErrorCommunicating);
    return std::nullopt;
  }
  status.set(context_.text(sid::kReadingReceiverIdentity));
  const auto identity = readIdentity(console, query);
  if (identity) {
    if (const auto known = findModel(identity->modelCode)) {
      context_.activity.identified(std::string(known->name), identity->softwareVersion);
    }
  }
  const int code = identity ? identity->modelCode : -1;
  if (code == kCodeWithoutEditor20 || code == kCodeWithoutEditor21) {
    context_.user.message(modelNameForCode(code) + std::string(kCodeSeparator) +
                          context_.text(sid::kModelNotConfigurable));
    return std::nullopt;
  }
  return identity ? modelForCode(code) : std::nullopt;
}

bool ConfigurationEditor::checkReceiverModel(const CancelToken &cancel) {
  return runToCompletion(modelCheck_, context_.portLease, cancel) == ToolRun::Ran &&
         modelCheck_.applied();
}

bool ConfigurationEditor::startSend() {
  if (!acceptsInput() || !sendEnabled_) {
    return false;
  }
  if (!send_.prepare({configuration_.model(), configuration_.current()}) || !send_.begin()) {
    return false;
  }
  sendStarted_ = true;
  busy_.store(true);
  sendPrepared_.store(true);
  return true;
}

SendConfiguration::Result ConfigurationEditor::runSend(const CancelToken &cancel) {
  if (!sendPrepared_.exchange(false)) {
    return SendConfiguration::Result::Busy;
  }
  send_.run(cancel);
  busy_.store(false);
  return send_.snapshot().result.value_or(SendConfiguration::Result::Busy);
}

SendConfiguration::Result ConfigurationEditor::sendConfiguration(const CancelToken &cancel) {
  if (!acceptsInput() || !sendEnabled_) {
    return SendConfiguration::Result::Busy;
  }
  switch (runToCompletion(sendTool_, context_.portLease, cancel)) {
  case ToolRun::Refused:
    return SendConfiguration::Result::Busy;
  case ToolRun::Ended:
    return SendConfiguration::Result::PortNotOpen;
  case ToolRun::Ran:
    break;
  }
  return send_.snapshot().result.value_or(SendConfiguration::Result::Busy);
}

void ConfigurationEditor::exit() {
  configuration_.setSupervisorSession(false);
  closed_ = true;
}

} // namespace tarnwick
