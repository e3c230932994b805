#include "demo_tree.h"

#include "atomic_file.h"
#include "demo_bitmap.h"
#include "demo_language_pack.h"
#include "demo_records.h"
#include "demo_templates.h"
#include "eeprom_lines.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <unistd.h>

namespace tarnwick::demo {

namespace fs = std::filesystem;

namespace {

// Writes the files of the tree and remembers the first failure.
class TreeWriter {
public:
  explicit TreeWriter(fs::path root) : root_(std::move(root)) {}

  // relative: an installation path such as "\Cfg\X" (either separator).
  void file(std::string_view relative, std::string_view bytes) {
    if (failed()) {
      return;
    }
    const fs::path path = at(relative);
    fs::create_directories(path.parent_path(), result_.error);
    if (result_.error) {
      result_.what = path.parent_path().string();
      return;
    }
    result_.error = writeFileAtomically(path, bytes);
    if (result_.error) {
      result_.what = path.string();
      return;
    }
    ++result_.files;
  }

  void folder(std::string_view relative) {
    if (failed()) {
      return;
    }
    const fs::path path = at(relative);
    fs::create_directories(path, result_.error);
    if (result_.error) {
      result_.what = path.string();
    }
  }

  bool failed() const { return static_cast<bool>(result_.error); }
  DemoTreeResult result() const { return result_; }

private:
  // The tree is new, so names are taken as written: no search for other cases.
  fs::path at(std::string_view relative) const {
    fs::path path = root_;
    std::string part;
    for (const char c : relative) {
      if (c == '\\' || c == '/') {
        if (!part.empty()) {
          path /= part;
        }
        part.clear();
      } else {
        part.push_back(c);
      }
    }
    return part.empty() ? path : path / part;
  }

  fs::path root_;
  DemoTreeResult result_;
};

std::string crlfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const auto line : lines) {
    text.append(line).append("\r\n");
  }
  return text;
}

// Bytes that look like a firmware image: a short header naming it, then
// reproducible noise.
std::string syntheticImage(std::string_view name, std::size_t size) {
  std::string bytes = "TARNWICK DEMO IMAGE ";
  bytes.append(name);
  bytes.push_back('\0');
  std::seed_seq seed(name.begin(), name.end());
  std::mt19937 noise(seed);
  while (bytes.size() < size) {
    bytes.push_back(static_cast<char>(noise() & 0xFF));
  }
  bytes.resize(size);
  return bytes;
}

// ---- Settings and countries.

struct DemoCountry {
  std::string_view name;
  std::string_view pairs;     // the marker types the country permits
  std::string_view listImage; // in "\Cfg"
  std::string_view picture;
  bool drawn; // whether the demo carries its pictures
};

// "None" names images that are not there: the program's built-in list image
// stands in and no picture is painted.
constexpr std::array<DemoCountry, 8> kCountries = {{
    {"None", "TEL 0 PWR 0 GAS 0 WAT 0 WAS 0 COM 0 GP 0", "none.bmp", "none_big.bmp", false},
    {"United States of America", "TEL 1 PWR 1 GAS 1 WAT 1 WAS 1 COM 1 GP 1", "us.bmp", "us_big.bmp",
     true},
    {"Canada", "TEL 1 PWR 1 GAS 1 WAT 1 WAS 1 COM 1 GP 0", "ca.bmp", "ca_big.bmp", true},
    {"Germany", "TEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1", "de.bmp", "de_big.bmp", true},
    {"France", "TEL 1 PWR 0 GAS 1 WAT 1 WAS 0 COM 1 GP 1", "fr.bmp", "fr_big.bmp", true},
    {"Italy", "TEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 0 GP 1", "it.bmp", "it_big.bmp", true},
    {"Sweden", "TEL 1 PWR 1 GAS 0 WAT 1 WAS 1 COM 1 GP 1", "se.bmp", "se_big.bmp", true},
    {"Japan", "TEL 1 PWR 0 GAS 1 WAT 1 WAS 0 COM 1 GP 0", "jp.bmp", "jp_big.bmp", true},
}};

std::string countryFile() {
  std::string text = "# Countries and the marker types each permits.\n"
                     "# [COUNTRY], then: name / marker types / list image / picture\n";
  for (const DemoCountry &country : kCountries) {
    text.append("[COUNTRY]\n")
        .append(country.name)
        .append("\n")
        .append(country.pairs)
        .append("\n")
        .append(country.listImage)
        .append("\n")
        .append(country.picture)
        .append("\n");
  }
  return text;
}

void writeCountries(TreeWriter &tree) {
  tree.file("\\Cfg\\CountryFreqMask.cfg", countryFile());
  tree.file("\\Cfg\\CountryFreqMask_CEPWR.cfg", countryFile());
  for (const DemoCountry &country : kCountries) {
    if (!country.drawn) {
      continue;
    }
    tree.file(std::string("\\Cfg\\") + std::string(country.listImage),
              countryFlag(country.name, 16, 18).bmpBytes());
    tree.file(std::string("\\Cfg\\") + std::string(country.picture),
              countryFlag(country.name, 128, 100).bmpBytes());
  }
}

void writeSettings(TreeWriter &tree) {
  tree.file(kMarkerFile, "A demo installation of tarnwick --demo. Later runs keep it as it is; "
                         "tarnwick --demo --reset rebuilds it.\n");
  tree.file("\\Cfg\\UI_LangConfigSave.cfg", "English\n");
  const auto index = static_cast<std::uint32_t>(kDemoCountryIndex);
  const char selection[4] = {static_cast<char>(index & 0xFF), static_cast<char>(index >> 8 & 0xFF),
                             static_cast<char>(index >> 16 & 0xFF),
                             static_cast<char>(index >> 24 & 0xFF)};
  tree.file("\\Cfg\\configSave.cfg", std::string_view(selection, sizeof selection));
  // One value per slot A … H; the receiver of the demo (slot D) is current.
  tree.file("\\Cfg\\BrimstelLocatorVersion.cfg",
            crlfLines({"Locator6130_8360M_8385M=23.0", "Locator6130Kv=12.0",
                       "Locator9460_9485=31.0", "LocatorG2=40.0", "Locator8385M_IN=23.0",
                       "Locator3130_3260_3285=41.0", "Locator8330M=8.0", "RfidGlossary=3.0"}));
  for (const auto folder : {"\\Templates\\Trace", "\\MarkerRecord", "\\LocDrive", "\\FavGlossary",
                            "\\Config", "\\Language", "\\Glossary"}) {
    tree.folder(folder);
  }
}

// The German pack: every text of every dialog, so that choosing German
// shows no English.
void writeLanguagePack(TreeWriter &tree) {
  tree.file("\\Software\\Resources\\German Language.strings", germanLanguagePack());
}

// ---- Help topics.

void writeHelp(TreeWriter &tree) {
  tree.file("\\Help\\Help Headings.cfg", "# One heading per topic file, in name order\n"
                                         "Getting started\n"
                                         "Connecting the receiver\n"
                                         "Checking the receiver's software\n");
  tree.file("\\Help\\Intro.txt",
            "Getting started\r\n\r\n"
            "Pick the country or configuration of the receiver on the main screen. The tools "
            "that change a receiver are available once a country is chosen; with \"None\" only "
            "the language list, Receiver Version and Exit can be used.\r\n");
  tree.file("\\Help\\Port.txt",
            "Connecting the receiver\r\n\r\n"
            "Connect the serial cable and switch the receiver on. The first tool that talks to "
            "the receiver opens Communication Options: choose the port the cable is on and the "
            "rate (38400 bps unless the receiver was set otherwise). The port stays open until a "
            "tool loses contact with the receiver.\r\n");
  tree.file("\\Help\\Version.txt",
            "Checking the receiver's software\r\n\r\n"
            "Receiver Version shows the model and main software of the receiver beside the "
            "software versions this installation carries. Check Receiver Version asks the "
            "receiver again.\r\n");
  // The same topics for the German user interface.
  tree.file("\\Help\\German\\Help Headings.cfg", "# Eine Überschrift je Themendatei, nach Namen\n"
                                                 "Erste Schritte\n"
                                                 "Den Empfänger anschließen\n"
                                                 "Die Software des Empfängers prüfen\n");
  tree.file("\\Help\\German\\Intro.txt",
            "Erste Schritte\r\n\r\n"
            "Wählen Sie im Hauptfenster das Land bzw. die Konfiguration des Empfängers. Die "
            "Werkzeuge, die einen Empfänger ändern, stehen bereit, sobald ein Land gewählt ist; "
            "mit \"None\" lassen sich nur die Sprachliste, Empfängerversion und Beenden "
            "benutzen.\r\n");
  tree.file("\\Help\\German\\Port.txt",
            "Den Empfänger anschließen\r\n\r\n"
            "Schließen Sie das serielle Kabel an und schalten Sie den Empfänger ein. Das erste "
            "Werkzeug, das mit dem Empfänger spricht, öffnet die Kommunikationsoptionen: Wählen "
            "Sie den Anschluss des Kabels und die Baudrate (38400 bps, wenn der Empfänger nicht "
            "anders eingestellt ist). Mit Anschluss... im Hauptfenster wechseln Sie den Anschluss "
            "jederzeit.\r\n");
  tree.file("\\Help\\German\\Version.txt",
            "Die Software des Empfängers prüfen\r\n\r\n"
            "Empfängerversion zeigt Modell und Hauptsoftware des Empfängers neben den "
            "Softwareversionen dieser Installation. Empfängerversion prüfen fragt den Empfänger "
            "erneut.\r\n");
}

// ---- Software packages.

struct PackageFolder {
  std::string_view folder;
  std::string_view application;
  std::vector<std::string_view> models;
  std::vector<std::string_view> helpFiles;
  std::vector<std::string_view> configFiles;
  bool kvLanguage; // "Language.bin" in the folder itself
};

const std::vector<PackageFolder> &packageFolders() {
  static const std::vector<PackageFolder> folders = {
      {"\\Software",
       "Relrpk.bin",
       {"6130.bin", "8385M.bin", "8385MTQ.bin", "8360M.bin", "8360MTQ.bin", "8360MRMX.bin"},
       {"6130 Help.txt", "8385M Help.txt", "8385MTq Help.txt", "8360M Help.txt", "8360MTq Help.txt",
        "8360MRMX Help.txt"},
       {"USConfigData.txt"},
       false},
      {"\\KvSoftware",
       "KvRelrpk.bin",
       {"6130Kv.bin"},
       {"6130Kv Help.txt"},
       {"KvConfigData.txt"},
       true},
      {"\\SoftwareJ",
       "Relrpk.bin",
       {"9485CETq.bin", "9485ETq.bin", "9460CETq.bin", "9460ETq.bin", "9485.bin", "9485E.bin",
        "9485Tq.bin", "9460.bin", "9460E.bin", "9460Tq.bin"},
       {"9485ETq Help.txt", "9460ETq Help.txt", "9485 Help.txt", "9485E Help.txt",
        "9485Tq Help.txt", "9460 Help.txt", "9460E Help.txt", "9460Tq Help.txt"},
       {"USConfigData.txt", "EConfigData.txt"},
       false},
      {"\\SoftwareG2",
       "Relrpk.bin",
       {"6130.bin", "6130E.bin", "6130CE.bin", "8385M.bin", "8385ME.bin", "8385MTQ.bin",
        "8385METQ.bin", "8385MCTQ.bin", "8360M.bin", "8360ME.bin", "8360MTQ.bin", "8360METQ.bin",
        "8360MCTQ.bin", "8360MRMX.bin"},
       {"6130 Help.txt", "6130E Help.txt", "8385M Help.txt", "8385ME Help.txt", "8385MTq Help.txt",
        "8385METq Help.txt", "8360M Help.txt", "8360ME Help.txt", "8360MTq Help.txt",
        "8360METq Help.txt", "8360MRMX Help.txt"},
       {"USConfigData.txt", "EConfigData.txt"},
       false},
      {"\\SoftwareI",
       "Relrpk.bin",
       {"8385MTq.bin"},
       {"8385MTq Help.txt"},
       {"USConfigData.txt"},
       false},
      {"\\SoftwareL",
       "Relrpk.bin",
       {"3130CE.bin", "3130E.bin", "3130.bin", "3285TQ.bin", "3285CETQ.bin", "3285ETQ.bin",
        "3260TQ.bin", "3260CETQ.bin", "3260ETQ.bin"},
       {"3130E Help.txt", "3130 Help.txt", "3285TQ Help.txt", "3285ETQ Help.txt", "3260TQ Help.txt",
        "3260ETQ Help.txt"},
       {"USConfigData.txt", "EConfigData.txt"},
       false},
      {"\\SoftwareS",
       "Relrpk.bin",
       {"8330M.bin", "8330M_PL.bin"},
       {"8330M Help.txt", "8330M_PL Help.txt"},
       {"8330MConfigData.txt", "8330M_PLConfigData.txt"},
       false},
  };
  return folders;
}

constexpr std::size_t kApplicationBytes = 6144;
constexpr std::size_t kModelBytes = 3072;
constexpr std::size_t kLanguageBytes = 2048;
constexpr std::size_t kHelpBytes = 1536;

// EEPROM configuration lines the upgrade sends after the restart.
std::string configData(std::string_view name) {
  const std::uint8_t exportFlag = name.starts_with("E") ? 1 : 0;
  return ewLine(0x0010, {exportFlag, 0x01}) + "\n" + ewLine(0x0020, {0x00, 0x19, 0x64}) + "\n" +
         ewLine(0x0040, {0x02}) + "\n";
}

void writeLanguageFolders(TreeWriter &tree, const std::string &base) {
  tree.file(base + "\\Language\\None\\Language.bin",
            syntheticImage(base + "\\Language\\None\\Language.bin", kLanguageBytes));
  tree.file(base + "\\Language\\Spanish\\InitLanguage.cfg", "# Spanish images\n"
                                                            "[Help]\n"
                                                            "Spanish Help.bin\n"
                                                            "[Language]\n"
                                                            "Spanish.bin\n");
  tree.file(base + "\\Language\\Spanish\\Spanish.bin",
            syntheticImage(base + "\\Spanish.bin", kLanguageBytes));
  tree.file(base + "\\Language\\Chinese\\InitLanguage.cfg", "# Chinese images\n"
                                                            "[Language]\n"
                                                            "Chinese.bin\n"
                                                            "[Font]\n"
                                                            "ChineseFont.bin\n");
  tree.file(base + "\\Language\\Chinese\\Chinese.bin",
            syntheticImage(base + "\\Chinese.bin", kLanguageBytes));
  tree.file(base + "\\Language\\Chinese\\ChineseFont.bin",
            syntheticImage(base + "\\ChineseFont.bin", kHelpBytes));
}

void writePackages(TreeWriter &tree) {
  for (const PackageFolder &package : packageFolders()) {
    const std::string base(package.folder);
    tree.file(base + "\\" + std::string(package.application),
              syntheticImage(base + std::string(package.application), kApplicationBytes));
    for (const auto model : package.models) {
      tree.file(base + "\\" + std::string(model),
                syntheticImage(base + std::string(model), kModelBytes));
    }
    for (const auto help : package.helpFiles) {
      tree.file(base + "\\" + std::string(help),
                syntheticImage(base + std::string(help), kHelpBytes));
    }
    for (const auto config : package.configFiles) {
      tree.file(base + "\\" + std::string(config), configData(config));
    }
    if (package.kvLanguage) {
      tree.file(base + "\\Language.bin", syntheticImage(base + "\\Language.bin", kLanguageBytes));
    } else {
      writeLanguageFolders(tree, base);
    }
  }
}

// Whether folder may be cleared: missing, empty, or an earlier demo tree.
bool clearable(const fs::path &folder, std::error_code &error) {
  if (!fs::exists(folder, error)) {
    return !error;
  }
  if (!fs::is_directory(folder, error)) {
    return false;
  }
  return fs::is_empty(folder, error) || fs::exists(folder / kMarkerFile, error);
}

} // namespace

const std::vector<std::string> &demoCountries() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const DemoCountry &country : kCountries) {
      list.emplace_back(country.name);
    }
    return list;
  }();
  return names;
}

fs::path defaultDemoFolder() {
  if (const char *data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return fs::path(data) / "tarnwick-demo";
  }
  if (const char *home = std::getenv("HOME"); home != nullptr && *home == '/') {
    return fs::path(home) / ".local" / "share" / "tarnwick-demo";
  }
  std::error_code error;
  return fs::temp_directory_path(error) / "tarnwick-demo";
}

bool isDemoTree(const fs::path &folder) {
  std::error_code error;
  return fs::is_regular_file(folder / kMarkerFile, error);
}

DemoTreeResult ensureDemoTree(const fs::path &folder) {
  if (isDemoTree(folder)) {
    return {};
  }
  return createDemoTree(folder);
}

namespace {

// Every regular file under root, relative to it.
std::vector<fs::path> filesUnder(const fs::path &root) {
  std::vector<fs::path> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error)) {
      files.push_back(it->path().lexically_relative(root));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool sameBytes(const fs::path &a, const fs::path &b) {
  std::ifstream left(a, std::ios::binary);
  std::ifstream right(b, std::ios::binary);
  return left && right &&
         std::equal(std::istreambuf_iterator<char>(left), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(right), std::istreambuf_iterator<char>());
}

} // namespace

std::vector<fs::path> demoTreeChanges(const fs::path &folder) {
  if (!isDemoTree(folder)) {
    return {};
  }
  std::error_code error;
  const fs::path scratch =
      fs::temp_directory_path(error) / ("tarnwick-demo-fresh-" + std::to_string(::getpid()));
  fs::remove_all(scratch, error);
  const DemoTreeResult fresh = createDemoTree(scratch);
  std::vector<fs::path> changed;
  for (const fs::path &file : filesUnder(folder)) {
    if (fresh.error || !fs::exists(scratch / file, error) ||
        !sameBytes(folder / file, scratch / file)) {
      changed.push_back(file);
    }
  }
  fs::remove_all(scratch, error);
  return changed;
}

DemoTreeResult createDemoTree(const fs::path &folder) {
  DemoTreeResult result;
  if (!clearable(folder, result.error)) {
    if (!result.error) {
      result.error = std::make_error_code(std::errc::directory_not_empty);
    }
    result.what = folder.string() + " holds other files; it is not replaced by a demo tree";
    return result;
  }
  fs::remove_all(folder, result.error);
  if (result.error) {
    result.what = folder.string();
    return result;
  }
  TreeWriter tree(folder);
  tree.folder("\\");
  writeSettings(tree);
  writeCountries(tree);
  writeLanguagePack(tree);
  writeHelp(tree);
  writePackages(tree);
  result = tree.result();
  // Glossaries, favorite user lists and templates come from the code that reads them.
  if (!result.error) {
    if (const SaveResult saved = writeDemoTemplatesData(folder); !saved) {
      result.error = saved.error;
      result.what = saved.path.string();
    }
  }
  if (!result.error && !writeDemoReceiverRecords(folder)) {
    result.error = std::make_error_code(std::errc::io_error);
    result.what = "the demo receiver's records";
  }
  return result;
}

} // namespace tarnwick::demo
