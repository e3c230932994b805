#include "main_screen.h"

#include "port_settings.h"
#include "settings_files.h"
#include "write_report.h"

#include <algorithm>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPackExtension = ".strings";
constexpr int kCountryPictureWidth = 128;
constexpr int kCountryPictureHeight = 100;
constexpr int kReceiverPictureSize = 198;

// The tool buttons the selected country gates.
constexpr int kGatedButtons[] = {MainScreen::kUpgradeSoftware, MainScreen::kLanguageConfiguration,
                                 MainScreen::kConfigureReceiver, MainScreen::kMarkerUtility};

// A language pack's file title cut before " Language" (or "Language").
std::string languageOfPack(const fs::path &file) {
  const std::string title = file.stem().string();
  for (const std::string_view word :
       {std::string_view(" Language"), std::string_view("Language")}) {
    const auto at = title.find(word);
    if (at != std::string::npos) {
      return title.substr(0, at);
    }
  }
  return title;
}

// A file named by a settings file, inside "\Cfg"; empty when the name is not
// a plain file name or the file is not there.
fs::path cfgPicture(const InstallTree &tree, const std::string &name) {
  if (!InstallTree::isPlainName(name)) {
    return {};
  }
  const fs::path file = tree.cfgFile(name);
  std::error_code error;
  return fs::is_regular_file(file, error) ? file : fs::path();
}

} // namespace

MainScreen::Placement MainScreen::countryPicturePlacement(int clientWidth, int clientHeight) {
  return {clientWidth * 7 / 10, clientHeight / 7, kCountryPictureWidth, kCountryPictureHeight};
}

MainScreen::Placement MainScreen::receiverPicturePlacement(int clientWidth, int clientHeight) {
  return {clientWidth * 4 / 11, clientHeight / 25, kReceiverPictureSize, kReceiverPictureSize};
}

int MainScreen::buttonOf(Tool tool) {
  switch (tool) {
  case Tool::InitialConfiguration:
    return kInitialConfiguration;
  case Tool::UpgradeSoftware:
    return kUpgradeSoftware;
  case Tool::LanguageConfiguration:
    return kLanguageConfiguration;
  case Tool::ConfigureReceiver:
    return kConfigureReceiver;
  case Tool::MarkerUtility:
    return kMarkerUtility;
  case Tool::FactoryEepromDownload:
    return kFactoryEepromDownload;
  case Tool::ReceiverVersion:
    return kReceiverVersion;
  }
  return 0;
}

const MainScreen::Control *MainScreen::Snapshot::control(int id) const {
  const auto found = std::find_if(controls.begin(), controls.end(),
                                  [id](const Control &control) { return control.id == id; });
  return found == controls.end() ? nullptr : &*found;
}

bool MainScreen::Snapshot::enabled(int id) const {
  const Control *found = control(id);
  return found != nullptr && found->enabled;
}

bool MainScreen::Snapshot::visible(int id) const {
  const Control *found = control(id);
  return found != nullptr && found->visible;
}

MainScreen::MainScreen(AppContext &context, const InstallTree &tree, CountrySelection &country)
    : context_(context), tree_(tree), country_(country) {
  controls_.push_back({kCountryList, {}, true, true});
  controls_.push_back({kLanguageList, {}, true, true});
  for (const ButtonText &button : kButtons) {
    controls_.push_back({button.id, std::string(button.text), true, true});
  }
  control(kFactoryEepromDownload).visible = false;
}

MainScreen::Control &MainScreen::control(int id) {
  return *std::find_if(controls_.begin(), controls_.end(),
                       [id](const Control &control) { return control.id == id; });
}

bool MainScreen::isEnabled(int id) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [id](const Control &control) { return control.id == id; });
  return found != controls_.end() && found->enabled;
}

void MainScreen::open() {
  loadCountries();
  if (!countriesLoaded_) {
    context_.showMessage(sid::kConfigurationFilesMissing);
    control(kInitialConfiguration).enabled = false;
    return;
  }
  restoreCountry();
  fillLanguages();
  context_.shippedVersions = ShippedVersions::readFile(tree_.workingFolder());
}

void MainScreen::loadCountries() {
  const InstallTree &tree = tree_;
  std::error_code error;
  if (!fs::is_directory(tree.path(install::kCfg), error)) {
    return;
  }
  const auto bytes = readWholeFile(tree.path(install::kCountryFile));
  if (!bytes) {
    return;
  }
  entries_ = parseCountryList(*bytes);
  countries_.clear();
  for (const CountryEntry &entry : entries_) {
    countries_.push_back({entry.name, cfgPicture(tree, entry.listImage)});
  }
  countriesLoaded_ = true;
}

void MainScreen::restoreCountry() {
  std::error_code error;
  std::int32_t index = readCountrySelection(tree_, error);
  if (error) {
    reportWrite(context_, tree_.path(install::kCountrySelectionFile), error);
  }
  // An index the list does not have selects its first entry, and the
  // selection is that entry, so the list, the rules and Exit agree.
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
    index = 0;
  }
  CountrySelection &country = country_;
  country.index = index;
  if (entries_.empty()) {
    countryIndex_ = -1;
    country.name = std::string(kNoCountry);
  } else {
    countryIndex_ = index;
    country.name = entries_[static_cast<std::size_t>(index)].name;
  }
  applyEnableRules();
}

void MainScreen::fillLanguages() {
  languages_ = {std::string(install::kEnglish)};
  for (const fs::path &pack : listFolder(tree_.path(install::kResources), kPackExtension)) {
    std::string language = languageOfPack(pack);
    if (!language.empty()) {
      languages_.push_back(std::move(language));
    }
  }
  std::error_code error;
  const std::string saved = readUiLanguage(tree_, error);
  if (error) {
    reportWrite(context_, tree_.path(install::kUiLanguageFile), error);
  }
  const auto found = std::find(languages_.begin(), languages_.end(), saved);
  languageIndex_ = found == languages_.end() ? 0 : static_cast<int>(found - languages_.begin());
  languageAtStart_ = languages_[static_cast<std::size_t>(languageIndex_)];
}

void MainScreen::applyEnableRules() {
  const std::string &name = country_.name;
  const bool none = name == kNoCountry;
  control(kInitialConfiguration).enabled = !none && name != kUnitedStates;
  for (const int id : kGatedButtons) {
    control(id).enabled = !none;
  }
}

void MainScreen::selectCountry(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
    return;
  }
  countryIndex_ = index;
  CountrySelection &country = country_;
  country.index = index;
  country.name = entries_[static_cast<std::size_t>(index)].name;
  country.changedByUser = true;
  applyEnableRules();
}

void MainScreen::selectLanguage(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= languages_.size() ||
      index == languageIndex_) {
    return;
  }
  languageIndex_ = index;
  if (languages_[static_cast<std::size_t>(index)] != languageAtStart_) {
    context_.showMessage(sid::kRestartForLanguage);
  }
}

std::string MainScreen::selectedLanguage() const {
  if (languageIndex_ < 0 || languages_.size() < 2) {
    return std::string(install::kEnglish);
  }
  return languages_[static_cast<std::size_t>(languageIndex_)];
}

bool MainScreen::mayOpen(Tool tool) {
  if (!isEnabled(buttonOf(tool))) {
    return false;
  }
  if (tool == Tool::UpgradeSoftware || tool == Tool::FactoryEepromDownload) {
    return ensurePortOpen(context_, EnsureOpenForm::Second);
  }
  return true;
}

bool MainScreen::exit() {
  bool saved = true;
  // Settings the screen never loaded (country file missing) keep their files.
  if (countriesLoaded_) {
    const InstallTree &tree = tree_;
    saved = !reportWrite(context_, tree.path(install::kCountrySelectionFile),
                         writeCountrySelection(tree, country_.index)) &&
            saved;
    saved = !reportWrite(context_, tree.path(install::kUiLanguageFile),
                         writeUiLanguage(tree, selectedLanguage())) &&
            saved;
  }
  quit_ = true;
  return saved;
}

void MainScreen::close() {
  quit_ = true;
}

MainScreen::Snapshot MainScreen::snapshot() const {
  Snapshot snapshot;
  snapshot.controls = controls_;
  snapshot.countries = countries_;
  snapshot.countryIndex = countryIndex_;
  snapshot.languages = languages_;
  snapshot.languageIndex = languageIndex_;
  snapshot.quit = quit_;
  const InstallTree &tree = tree_;
  std::error_code error;
  snapshot.paintPictures = fs::is_directory(tree.path(install::kCfg), error);
  if (snapshot.paintPictures) {
    if (countryIndex_ >= 0) {
      snapshot.countryPicture =
          cfgPicture(tree, entries_[static_cast<std::size_t>(countryIndex_)].picture);
    }
    const fs::path receiver = tree.path(install::kReceiverPicture);
    snapshot.receiverPicture = fs::is_regular_file(receiver, error) ? receiver : fs::path();
  }
  return snapshot;
}

} // namespace tarnwick
