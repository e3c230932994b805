// Language packs translate every text: the check that lists what a pack
// lacks, and the demo's German pack leaving no English on the main screen
// and in Configure Receiver.
#include "configuration_tables.h"
#include "configure_receiver_dialog.h"
#include "demo_language_pack.h"
#include "main_screen_window.h"
#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"
#include "temp_dir.h"
#include "ui_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tarnwick::ui {
namespace {

using testing::TempDir;

std::string withoutLine(const std::string &pack, const std::string &key) {
  std::string out;
  std::size_t at = 0;
  while (at < pack.size()) {
    const std::size_t end = pack.find('\n', at);
    const std::string line = pack.substr(at, end == std::string::npos ? end : end - at + 1);
    if (!line.starts_with(key + "\t")) {
      out += line;
    }
    at = end == std::string::npos ? pack.size() : end + 1;
  }
  return out;
}

std::vector<std::string> keysOf(const std::vector<MissingText> &missing) {
  std::vector<std::string> keys;
  for (const MissingText &text : missing) {
    keys.push_back(packKey(text.dialog, text.item));
  }
  return keys;
}

TEST(LanguagePackCheck, theDemosGermanPackLacksNoText) {
  EXPECT_EQ(keysOf(missingTexts(demo::germanLanguagePack())), std::vector<std::string>{});
}

// The check finds a string, a caption and a control's text left out, and an
// empty pack lacks everything the English pack holds.
TEST(LanguagePackCheck, listsTheIdsAPackLeavesOut) {
  const std::string complete = demo::germanLanguagePack();
  for (const std::string key : {"61283", "240.0", "901.1207"}) {
    EXPECT_EQ(keysOf(missingTexts(withoutLine(complete, key))), std::vector<std::string>{key});
  }
  EXPECT_EQ(missingTexts("").size(), parseLanguagePack(englishLanguagePack()).size());
}

QString withoutMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text.trimmed();
}

bool hasLetters(const QString &text) {
  return text.contains(QRegularExpression(QStringLiteral("[A-Za-z\\x{00C0}-\\x{024F}]{2,}")));
}

// Every text a window shows: its title, labels, buttons, group titles, tabs,
// list entries, column titles and tool tips, hidden pages included.
QStringList textsOf(const QWidget &window) {
  QStringList texts{window.windowTitle()};
  for (const QWidget *widget : window.findChildren<QWidget *>()) {
    texts << widget->toolTip();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
      texts << label->text();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
      texts << button->text();
    } else if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
      texts << group->title();
    } else if (const auto *tabs = qobject_cast<const QTabWidget *>(widget)) {
      for (int tab = 0; tab < tabs->count(); ++tab) {
        texts << tabs->tabText(tab);
      }
    } else if (const auto *box = qobject_cast<const QComboBox *>(widget)) {
      for (int entry = 0; entry < box->count(); ++entry) {
        texts << box->itemText(entry);
      }
    } else if (const auto *tree = qobject_cast<const QTreeWidget *>(widget)) {
      texts << tree->headerItem()->text(0);
      for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        texts << tree->topLevelItem(row)->text(0) << tree->topLevelItem(row)->toolTip(0);
      }
    }
  }
  QStringList shown;
  for (const QString &text : texts) {
    if (hasLetters(text)) {
      shown << withoutMnemonic(text);
    }
  }
  return shown;
}

// A German installation: the demo's pack, "German" saved as the language.
struct GermanRig {
  GermanRig() {
    folder.write("Cfg/UI_LangConfigSave.cfg", "German\n");
    folder.write("Software/Resources/German Language.strings", demo::germanLanguagePack());
    folder.write("Cfg/CountryFreqMask.cfg",
                 "[COUNTRY]\nDeutschland\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\nde.bmp\n"
                 "de_big.bmp\n");
    app.start();
    const auto entries = parseLanguagePack(demo::germanLanguagePack());
    for (const PackEntry &entry : entries) {
      german.push_back(QString::fromStdString(entry.text));
    }
    for (const MissingText &text : missingTexts({})) {
      const QString english = withoutMnemonic(QString::fromStdString(text.english));
      const std::string *dialogText = app.context().strings.dialogText({text.dialog, text.item});
      const std::string translated = text.dialog == 0        ? app.context().strings.text(text.item)
                                     : dialogText != nullptr ? *dialogText
                                                             : text.english;
      if (hasLetters(english) && translated != text.english) {
        translatedAway.insert(english);
      }
    }
  }

  // Whether text is a German text of the pack, its placeholders filled.
  bool isGerman(const QString &text) const {
    for (const QString &pattern : german) {
      QStringList pieces;
      for (const QString &piece :
           withoutMnemonic(pattern).split(QRegularExpression(QStringLiteral("%\\d")))) {
        pieces << QRegularExpression::escape(piece);
      }
      const QString expression = pieces.join(QStringLiteral(".*"));
      if (QRegularExpression(QStringLiteral("^") + expression + QStringLiteral("$"),
                             QRegularExpression::DotMatchesEverythingOption)
              .match(text)
              .hasMatch()) {
        return true;
      }
    }
    return false;
  }

  // No English the pack translates, and nothing that is neither German nor
  // the data shown (country, model and frequency names).
  void expectNoEnglish(const QWidget &window, const std::set<QString> &data) const {
    for (const QString &text : textsOf(window)) {
      EXPECT_EQ(translatedAway.count(text), 0U) << "English left: " << text.toStdString();
      EXPECT_TRUE(isGerman(text) || data.count(text) != 0)
          << "not from the pack: " << text.toStdString();
    }
  }

  TempDir folder;
  VirtualClock clock{0};
  sim::SimPort port{clock};
  ScriptedUser user;
  Session app{folder.path(), port, clock, user};
  QStringList german;
  std::set<QString> translatedAway;
};

TEST(GermanPack, leavesNoEnglishOnTheMainScreen) {
  GermanRig rig;
  ASSERT_TRUE(rig.app.languagePackLoaded());
  MainScreenWindow window(rig.app);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Vandrel Brimstel  [ Datum : 20. Okt.  2017 ] ");
  rig.expectNoEnglish(window, {"Deutschland", "German"});
}

TEST(GermanPack, leavesNoEnglishInConfigureReceiver) {
  GermanRig rig;
  ConfigureReceiverDialog dialog(rig.app.context(), rig.app.tree(), rig.app.configuration(),
                                 rig.app.countrySource());
  dialog.show();
  std::set<QString> data;
  for (int model = 0; model < kModelCount; ++model) {
    const std::string_view name = modelName(static_cast<ModelIndex>(model));
    data.insert(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  for (const SettingList &list : defaultLists(kDefaultModel)) {
    for (const SettingEntry &entry : list.entries) {
      data.insert(QString::fromStdString(entry.name)); // frequencies, "CATV", "LF"
    }
  }
  for (const char *word : {"Telephone", "Power", "Water", "Waster Water", "Communication",
                           "General Purpose", "U F1", "English", "Other"}) {
    data.erase(QString::fromLatin1(word)); // words: the pack has them
  }
  rig.expectNoEnglish(dialog, data);
  EXPECT_EQ(dialog.windowTitle(), "Neue Konfiguration");
  EXPECT_EQ(dialog.tabs()->tabText(1), "Markertypen");
}

} // namespace
} // namespace tarnwick::ui
