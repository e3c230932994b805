// The main screen apart from its controls: the country and language lists,
// which tool buttons are usable, the pictures to paint, and what its buttons
// and its close box do. A front end shows the snapshot and calls the actions.
#pragma once

#include "app_context.h"
#include "country_list.h"
#include "country_selection.h"
#include "install_tree.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class MainScreen {
public:
  // Dialog resource 240, 472 x 348 dialog units, small icon 252.
  static constexpr int kDialogId = 240;
  static constexpr int kIconId = 252;
  static constexpr int kWidthDlu = 472;
  static constexpr int kHeightDlu = 348;
  static constexpr std::string_view kCaption = "Vandrel Brimstel  [ Date : Oct 20,  2017 ] ";

  // Controls.
  static constexpr int kCountryList = 1221;  // image combo box, drop-down list
  static constexpr int kLanguageList = 1236; // combo box, drop-down list
  static constexpr int kInitialConfiguration = 1213;
  static constexpr int kUpgradeSoftware = 1080;
  static constexpr int kLanguageConfiguration = 1226;
  static constexpr int kConfigureReceiver = 1109; // the default button
  static constexpr int kMarkerUtility = 1136;
  static constexpr int kFactoryEepromDownload = 1232; // created hidden, never shown
  static constexpr int kReceiverVersion = 1253;
  static constexpr int kExit = 1;

  struct ButtonText {
    int id;
    std::string_view text;
  };
  // The eight buttons, in tab order.
  static constexpr std::array<ButtonText, 8> kButtons = {{
      {kInitialConfiguration, "&Initial Configuration"},
      {kUpgradeSoftware, "&Upgrade Software"},
      {kLanguageConfiguration, "&Language Configuration"},
      {kConfigureReceiver, "&Configure Receiver"},
      {kMarkerUtility, "GPS/Tq &Marker Utility"},
      {kFactoryEepromDownload, "&Factory Eeprom Download"},
      {kReceiverVersion, "&Receiver Version"},
      {kExit, "E&xit"},
  }};

  // Static texts.
  static constexpr std::string_view kSelectCountryText = "Select the Country / Configuration.";
  static constexpr std::string_view kInitialConfigurationText =
      "CE Model Locators must run Intial Configuration Configured to activate Marker Locate "
      "functions. It is unlawful to operate the Unit with the frequencies that are not allowed in "
      "your country.";
  static constexpr std::string_view kConfigureReceiverText =
      "Set the units of measure, date format, marker utilities, locate frequencies, tone "
      "frequencies, and language of unit";
  static constexpr std::string_view kMarkerUtilityText =
      "Create and edit templates for programming Tq markers.  Create User Lists to gain quick "
      "access to frequently used applications.  Transfer Read/Write marker data from the receiver";
  static constexpr std::string_view kLanguageConfigurationText =
      "Program alternate language to the Receiver. English Language is downloaded automatically.";
  static constexpr std::string_view kUpgradeHintText =
      "Visit www.vandrel.example for the latest receiver software.";

  // Built-in bitmaps: a country without a loadable list image, and the
  // receiver picture when "\Cfg\FenwoMan.bmp" is missing.
  static constexpr int kBuiltInListImage = 301;
  static constexpr int kBuiltInReceiverPicture = 305;
  static constexpr int kListImageWidth = 16;
  static constexpr int kListImageHeight = 18;

  // Where the pictures are painted in a client area of width x height.
  struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };
  static Placement countryPicturePlacement(int clientWidth, int clientHeight);  // plain copy
  static Placement receiverPicturePlacement(int clientWidth, int clientHeight); // AND-ed

  struct Country {
    std::string name;
    std::filesystem::path listImage; // empty: the built-in list image
  };

  struct Control {
    int id = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
  };

  struct Snapshot {
    std::vector<Control> controls; // the eight buttons and the two lists
    std::vector<Country> countries;
    int countryIndex = -1; // -1: nothing selected
    std::vector<std::string> languages;
    int languageIndex = -1;
    // Pictures are painted only while "\Cfg" exists.
    bool paintPictures = false;
    std::filesystem::path countryPicture;  // empty: nothing to draw
    std::filesystem::path receiverPicture; // empty: the built-in picture
    bool quit = false;                     // the window has posted quit

    const Control *control(int id) const;
    bool enabled(int id) const;
    bool visible(int id) const;
  };

  // The tools the buttons open.
  enum class Tool {
    InitialConfiguration,
    UpgradeSoftware,
    LanguageConfiguration,
    ConfigureReceiver,
    MarkerUtility,
    FactoryEepromDownload,
    ReceiverVersion,
  };
  static int buttonOf(Tool tool);

  MainScreen(AppContext &context, const InstallTree &tree, CountrySelection &country);

  // Opening: the country list (or the missing-files message), the saved
  // country, the language list, the shipped versions.
  void open();
  Snapshot snapshot() const;

  // The user picked a country / a language (list positions).
  void selectCountry(int index);
  void selectLanguage(int index);

  // A tool button: whether its tool may be shown now. Upgrade Software and
  // Factory Eeprom Download first make sure the port is open (through the
  // Communication Options dialog); the others need nothing. A disabled or
  // hidden button opens nothing.
  bool mayOpen(Tool tool);

  // Exit: saves the country index and the language, then quits. Returns
  // whether both were saved (a failure has been reported).
  bool exit();
  // The close box: quits without saving either setting.
  void close();

private:
  void loadCountries();
  void restoreCountry();
  void fillLanguages();
  void applyEnableRules();
  Control &control(int id);
  std::string selectedLanguage() const;
  bool isEnabled(int id) const;

  AppContext &context_;
  const InstallTree &tree_;
  CountrySelection &country_;
  std::vector<Control> controls_;
  std::vector<CountryEntry> entries_;
  std::vector<Country> countries_;
  bool countriesLoaded_ = false;
  int countryIndex_ = -1;
  std::vector<std::string> languages_;
  int languageIndex_ = -1;
  std::string languageAtStart_{install::kEnglish};
  bool quit_ = false;
};

} // namespace tarnwick
