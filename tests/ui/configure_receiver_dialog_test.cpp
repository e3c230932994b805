#include "configure_receiver_dialog.h"
#include "forwarding_port.h"
#include "gui_helpers.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "scripted_user.h"
#include "session.h"
#include "setting_list_view.h"
#include "sim_port.h"
#include "supervisor_password.h"
#include "temp_dir.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tarnwick::ui {
namespace {

using testing::control;
using testing::ModalResponder;
using testing::TempDir;
using testing::waitFor;
using Editor = ConfigurationEditor;
using State = SettingState;
using Words = std::vector<std::string>;

constexpr const char *kDevice = "/dev/simA";
constexpr CountryMarkerMask kEveryMarker = {true, true, true, true, true, true, true};

// Passes every call to the simulator; once stall is set, reads find nothing
// and take no virtual time, so a wait only ends when it is cancelled.
class StallingPort final : public ForwardingPort {
public:
  explicit StallingPort(PortApi &inner) : ForwardingPort(inner) {}
  std::atomic<bool> stall{false};
  std::atomic<bool> stalled{false};
  std::string stallAfter; // stall once this was written
  std::string written;    // on the thread that writes

  int writeByte(int c) override {
    written.push_back(static_cast<char>(c));
    if (!stallAfter.empty() && written.ends_with(stallAfter)) {
      stall.store(true);
    }
    return inner_.writeByte(c);
  }
  char readChar(int *count) override {
    if (stall.load()) {
      stalled.store(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      *count = 0;
      return 0;
    }
    return inner_.readChar(count);
  }
};

// The dialog over a scratch installation on the simulator's virtual time,
// with a scripted user or the real dialogs.
struct ConfigureRig {
  explicit ConfigureRig(UserPort *realUser = nullptr)
      : context(work.path(), port, clock,
                realUser != nullptr ? *realUser : static_cast<UserPort &>(user)) {
    context.portDiscovery = std::make_unique<FixedPortDiscovery>(std::vector<std::string>{kDevice});
    for (int slot = 0; slot < kVersionSlotCount; ++slot) {
      context.shippedVersions.setVersion(static_cast<VersionSlot>(slot), 23);
    }
  }

  std::unique_ptr<ConfigureReceiverDialog> open() {
    auto dialog = std::make_unique<ConfigureReceiverDialog>(
        context, InstallTree(work.path()), configuration, [this] { return country; });
    dialog->show();
    return dialog;
  }

  // A receiver with the simulator's software version 23, its port open.
  sim::Receiver &openReceiver(std::uint8_t modelCode, sim::Faults faults = {}) {
    sim::ReceiverSettings settings;
    settings.modelCode = modelCode;
    sim::Receiver &receiver = sim.addReceiver(kDevice, settings, std::move(faults));
    sim.setBaudRate(38400);
    sim.openPort(kDevice);
    context.portState.markOpen(kDevice, 38400);
    return receiver;
  }

  TempDir work;
  VirtualClock clock{1000};
  sim::SimPort sim{clock};
  StallingPort port{sim};
  ScriptedUser user;
  AppContext context;
  CountryMarkerMask mask = kEveryMarker;
  CountryChoice country{0, "Germany"};
  ReceiverConfiguration configuration{[this](bool) { return mask; }};
};

QPushButton *button(const QWidget &dialog, int id) {
  return control<QPushButton>(dialog, id);
}

void press(const QWidget &dialog, int id) {
  QPushButton *pushed = button(dialog, id);
  ASSERT_NE(pushed, nullptr);
  ASSERT_TRUE(pushed->isEnabled()) << id;
  QTest::mouseClick(pushed, Qt::LeftButton);
}

int tabOf(ListId list) {
  return static_cast<int>(Editor::pageOf(list));
}

// Shows the list's tab and clicks the entry's row as a user does.
void clickEntry(ConfigureReceiverDialog &dialog, ListId list, int row) {
  dialog.tabs()->setCurrentIndex(tabOf(list));
  SettingListView *view = dialog.listView(list);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(waitFor([&] { return view->isVisible(); }));
  QTreeWidgetItem *item = view->topLevelItem(row);
  ASSERT_NE(item, nullptr);
  const QPoint at = view->visualItemRect(item).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

State stateAt(const ConfigureReceiverDialog &dialog, ListId list, int row) {
  return dialog.listView(list)->stateAt(row);
}

QString textAt(const ConfigureReceiverDialog &dialog, ListId list, int row) {
  return dialog.listView(list)->topLevelItem(row)->text(0);
}

QString statusText(const QWidget &dialog) {
  return control<QLabel>(dialog, Editor::kStatusLine)->text();
}

bool sendEnabled(const QWidget &dialog) {
  return button(dialog, Editor::kSendConfigButton)->isEnabled();
}

void loginWith(ConfigureRig &rig, const QWidget &dialog, const std::string &password) {
  rig.user.queuePrompt(password);
  press(dialog, Editor::kSupervisorLoginButton);
}

void saveAs(ConfigureRig &rig, const QWidget &dialog, const std::string &name) {
  rig.user.queueSaveFile(name);
  press(dialog, Editor::kSaveAsButton);
}

QRadioButton *radio(const QWidget &dialog, const char *name) {
  return dialog.findChild<QRadioButton *>(QString::fromLatin1(name));
}

// Whether the list would show with its page.
bool listShown(const ConfigureReceiverDialog &dialog, ListId list) {
  return dialog.listView(list)->isVisibleTo(dialog.tabs()->widget(tabOf(list)));
}

QComboBox &modelBox(const QWidget &dialog) {
  return *control<QComboBox>(dialog, Editor::kModelBox);
}

bool notValidShown(const ConfigureReceiverDialog &dialog, int tab) {
  return !dialog.tabs()->widget(tab)->findChild<QLabel *>(QStringLiteral("notValid"))->isHidden();
}

TEST(ConfigureReceiverDialog, opensOnModelNineWithEveryPageValidAndSendConfigDisabled) {
  ConfigureRig rig;
  auto dialog = rig.open();
  EXPECT_EQ(dialog->windowTitle(), "New Configuration");
  QComboBox &models = modelBox(*dialog);
  ASSERT_EQ(models.count(), 35);
  EXPECT_EQ(models.itemText(0), "6130-Tq");
  EXPECT_EQ(models.itemText(34), "8385M-Tq/IN");
  EXPECT_EQ(models.currentText(), "8385M-Tq/U");
  QTabWidget &tabs = *dialog->tabs();
  EXPECT_EQ(tabs.objectName(), "1118");
  ASSERT_EQ(tabs.count(), 4);
  EXPECT_EQ(tabs.tabText(0), "Units And Date");
  EXPECT_EQ(tabs.tabText(1), "Marker types");
  EXPECT_EQ(tabs.tabText(2), "Locate frequencies");
  EXPECT_EQ(tabs.tabText(3), "Tone frequencies");
  for (int tab = 1; tab < 4; ++tab) {
    EXPECT_FALSE(notValidShown(*dialog, tab)) << tab;
  }
  EXPECT_TRUE(radio(*dialog, "units1")->isChecked()); // in
  EXPECT_TRUE(radio(*dialog, "date0")->isChecked());  // MM/DD/YY
  EXPECT_EQ(dialog->listView(ListId::LocateActive)->topLevelItemCount(), 5);
  EXPECT_EQ(dialog->listView(ListId::LocateActive)->headerItem()->text(0), "Active");
  SettingListView &user = *dialog->listView(ListId::ToneUser);
  EXPECT_EQ(user.headerItem()->text(0), "User frequency");
  // Every column title shows whole.
  dialog->tabs()->setCurrentIndex(3);
  ASSERT_TRUE(waitFor([&] { return user.isVisible(); }));
  EXPECT_GE(user.viewport()->width(), user.header()->sectionSizeHint(0));
  EXPECT_EQ(textAt(*dialog, ListId::LocateUser, 0), "U F1");
  EXPECT_EQ(statusText(*dialog), "Make Selection. Save Configuration. Connect PC to Receiver. "
                                 "Turn Receiver on. Press Send Config.");
  EXPECT_FALSE(sendEnabled(*dialog));
  EXPECT_TRUE(control<QProgressBar>(*dialog, Editor::kProgressBar)->isHidden());
  // It stays off on the timer until the configuration is saved.
  for (int tick = 0; tick < 3; ++tick) {
    dialog->tickTimer();
  }
  EXPECT_FALSE(sendEnabled(*dialog));
}

TEST(ConfigureReceiverDialog, clicksWithoutLoginSwitchEntriesOnAndOffButNotALockedOne) {
  ConfigureRig rig;
  auto dialog = rig.open();
  clickEntry(*dialog, ListId::MarkerTypes, 2);
  EXPECT_EQ(stateAt(*dialog, ListId::MarkerTypes, 2), State::Disabled);
  clickEntry(*dialog, ListId::MarkerTypes, 2);
  EXPECT_EQ(stateAt(*dialog, ListId::MarkerTypes, 2), State::Enabled);
  clickEntry(*dialog, ListId::TonePower, 7);
  EXPECT_EQ(stateAt(*dialog, ListId::TonePower, 7), State::Disabled);
  // The space bar clicks the current entry.
  SettingListView &power = *dialog->listView(ListId::TonePower);
  power.setFocus();
  power.setCurrentItem(power.topLevelItem(7));
  QTest::keyClick(&power, Qt::Key_Space);
  EXPECT_EQ(stateAt(*dialog, ListId::TonePower, 7), State::Enabled);

  // A supervisor locks an entry, then a failed login logs out.
  loginWith(rig, *dialog, std::string(kDefaultSupervisorPassword));
  clickEntry(*dialog, ListId::LocatePassive, 1);
  ASSERT_EQ(stateAt(*dialog, ListId::LocatePassive, 1), State::Masked);
  loginWith(rig, *dialog, "WRONG");
  EXPECT_EQ(rig.user.messages().back(), "Invalid Password.");
  EXPECT_TRUE(dialog->findChild<QLabel *>(QStringLiteral("supervisorState"))->isHidden());
  rig.user.clear();
  clickEntry(*dialog, ListId::LocatePassive, 1);
  EXPECT_EQ(stateAt(*dialog, ListId::LocatePassive, 1), State::Masked);
  EXPECT_EQ(rig.user.messages(), Words{"Please login as Supervisor"});
}

TEST(ConfigureReceiverDialog, clicksWithSupervisorLoginCycleThroughTheLock) {
  ConfigureRig rig;
  auto dialog = rig.open();
  QLabel *loggedIn = dialog->findChild<QLabel *>(QStringLiteral("supervisorState"));
  ASSERT_NE(loggedIn, nullptr);
  EXPECT_TRUE(loggedIn->isHidden());
  loginWith(rig, *dialog, std::string(kMasterSupervisorPassword));
  EXPECT_TRUE(dialog->editor().snapshot().supervisor);
  EXPECT_FALSE(loggedIn->isHidden());
  const std::vector<State> cycle = {State::Masked, State::Disabled, State::Enabled};
  for (ListId list : {ListId::MarkerTypes, ListId::LocateActive, ListId::ToneAux}) {
    for (State expected : cycle) {
      clickEntry(*dialog, list, 1);
      EXPECT_EQ(stateAt(*dialog, list, 1), expected) << listWord(list);
    }
  }
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(ConfigureReceiverDialog, radioButtonsChooseUnitsAndDate) {
  ConfigureRig rig;
  auto dialog = rig.open();
  QTest::mouseClick(radio(*dialog, "units2"), Qt::LeftButton);
  QTest::mouseClick(radio(*dialog, "date1"), Qt::LeftButton);
  const auto view = dialog->editor().snapshot();
  EXPECT_EQ(listOf(view.lists, ListId::Units).states(),
            (std::vector<State>{State::Disabled, State::Disabled, State::Enabled}));
  EXPECT_EQ(listOf(view.lists, ListId::Date).states(),
            (std::vector<State>{State::Disabled, State::Enabled}));
  EXPECT_FALSE(radio(*dialog, "units1")->isChecked());
}

TEST(ConfigureReceiverDialog, unavailableMarkerTypeNamesTheCountryAndShowsNoPicture) {
  ConfigureRig rig;
  rig.mask[5] = false; // "Communication"
  auto dialog = rig.open();
  SettingListView &markers = *dialog->listView(ListId::MarkerTypes);
  EXPECT_EQ(stateAt(*dialog, ListId::MarkerTypes, 5), State::Unavailable);
  const QImage picture = markers.topLevelItem(5)->icon(0).pixmap(16, 16).toImage();
  bool blank = true;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      blank = blank && qAlpha(picture.pixel(x, y)) == 0;
    }
  }
  EXPECT_TRUE(blank);
  clickEntry(*dialog, ListId::MarkerTypes, 5);
  EXPECT_EQ(stateAt(*dialog, ListId::MarkerTypes, 5), State::Unavailable);
  EXPECT_EQ(rig.user.messages(), Words{"This frequency is not available for Germany"});
}

TEST(ConfigureReceiverDialog, theThreeStatesHaveDifferentPictures) {
  ConfigureRig rig;
  auto dialog = rig.open();
  loginWith(rig, *dialog, std::string(kDefaultSupervisorPassword));
  clickEntry(*dialog, ListId::LocatePower, 0); // Masked
  clickEntry(*dialog, ListId::LocatePower, 1);
  clickEntry(*dialog, ListId::LocatePower, 1); // Disabled
  SettingListView &power = *dialog->listView(ListId::LocatePower);
  const auto image = [&](int row) { return power.topLevelItem(row)->icon(0).pixmap(16).toImage(); };
  ASSERT_EQ(power.stateAt(0), State::Masked);
  ASSERT_EQ(power.stateAt(1), State::Disabled);
  ASSERT_EQ(power.stateAt(2), State::Enabled);
  EXPECT_NE(image(0), image(1));
  EXPECT_NE(image(1), image(2));
  EXPECT_NE(image(0), image(2));
}

TEST(ConfigureReceiverDialog, passwordDialogHidesAndCapitalisesWhatIsTyped) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ConfigureRig rig(&user);
  auto dialog = rig.open();
  QLineEdit::EchoMode echo = QLineEdit::Normal;
  QString shown;
  ModalResponder responder(
      [&](QWidget &modal) {
        EXPECT_EQ(modal.objectName(), "268");
        EXPECT_EQ(modal.windowTitle(), "Password...");
        auto *edit = modal.findChild<QLineEdit *>(QStringLiteral("edit"));
        echo = edit->echoMode();
        QTest::keyClicks(edit, QString::fromLatin1(kDefaultSupervisorPassword.data()).toLower());
        shown = edit->displayText();
        control<QPushButton>(modal, 1)->click();
      },
      dialog.get());
  press(*dialog, Editor::kSupervisorLoginButton);
  ASSERT_TRUE(responder.handled());
  EXPECT_EQ(echo, QLineEdit::Password);
  EXPECT_FALSE(shown.contains(QLatin1Char('q'), Qt::CaseInsensitive));
  EXPECT_TRUE(dialog->editor().snapshot().supervisor);
}

TEST(ConfigureReceiverDialog, userFrequencyNameDialogRefusesAFourthDigitAndFillsBothLists) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  ConfigureRig rig(&user);
  auto dialog = rig.open();
  QString prompt;
  QString typed;
  QString pasted;
  ModalResponder responder(
      [&](QWidget &modal) {
        EXPECT_EQ(modal.objectName(), "235");
        prompt = modal.findChild<QLabel *>()->text();
        auto *edit = modal.findChild<QLineEdit *>(QStringLiteral("edit"));
        EXPECT_TRUE(edit->text().isEmpty());
        QTest::keyClicks(edit, QStringLiteral("1000"));
        typed = edit->text();
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("75"));
        edit->selectAll();
        edit->insert(QStringLiteral("1000")); // as a paste does
        pasted = edit->text();
        control<QPushButton>(modal, 1)->click();
      },
      dialog.get());
  clickEntry(*dialog, ListId::LocateUser, 1);
  ASSERT_TRUE(responder.handled());
  EXPECT_EQ(prompt, "Enter the frequency in the range 50 - 999");
  EXPECT_EQ(typed, "100");
  EXPECT_EQ(pasted, "75"); // refused whole, not cut to a frequency never meant
  EXPECT_EQ(textAt(*dialog, ListId::LocateUser, 1), "75");
  EXPECT_EQ(stateAt(*dialog, ListId::LocateUser, 1), State::Enabled);
  EXPECT_EQ(textAt(*dialog, ListId::ToneUser, 1), "75");
  EXPECT_EQ(stateAt(*dialog, ListId::ToneUser, 1), State::Disabled);

  // Switched off, the slot keeps its frequency.
  clickEntry(*dialog, ListId::LocateUser, 1);
  EXPECT_EQ(stateAt(*dialog, ListId::LocateUser, 1), State::Disabled);
  EXPECT_EQ(textAt(*dialog, ListId::LocateUser, 1), "75");
}

TEST(ConfigureReceiverDialog, userFrequencyOutOfRangeIsRefused) {
  ConfigureRig rig;
  auto dialog = rig.open();
  rig.user.queuePrompt("40");
  clickEntry(*dialog, ListId::ToneUser, 3);
  EXPECT_EQ(rig.user.messages(), Words{"Please enter a frequency in the range 50 to 999Hz"});
  EXPECT_EQ(textAt(*dialog, ListId::ToneUser, 3), "U F4");
  EXPECT_EQ(stateAt(*dialog, ListId::ToneUser, 3), State::Disabled);
}

// "Send config" follows the timer: on while nothing is modified, off within a
// tick of any click, on again after a save.
TEST(ConfigureReceiverDialog, sendConfigIsEnabledOnlyWhileNothingIsModified) {
  ConfigureRig rig;
  auto dialog = rig.open();
  saveAs(rig, *dialog, "site.cfg");
  EXPECT_EQ(dialog->windowTitle(), "site.cfg");
  EXPECT_TRUE(sendEnabled(*dialog));
  dialog->tickTimer();
  dialog->tickTimer();
  EXPECT_TRUE(sendEnabled(*dialog));

  clickEntry(*dialog, ListId::LocateAux, 0);
  EXPECT_TRUE(waitFor([&] { return !sendEnabled(*dialog); }));
  press(*dialog, Editor::kSaveButton);
  EXPECT_TRUE(sendEnabled(*dialog));
  dialog->tickTimer();
  dialog->tickTimer();
  EXPECT_TRUE(sendEnabled(*dialog));

  // A click that changes nothing in the end counts too.
  clickEntry(*dialog, ListId::MarkerTypes, 0);
  clickEntry(*dialog, ListId::MarkerTypes, 0);
  EXPECT_TRUE(waitFor([&] { return !sendEnabled(*dialog); }));
  press(*dialog, Editor::kSaveButton);
  QTest::mouseClick(radio(*dialog, "units0"), Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return !sendEnabled(*dialog); }));

  // Opening the saved file enables it; New disables it.
  rig.user.queueOpenFile("site.cfg");
  press(*dialog, Editor::kOpenButton);
  EXPECT_TRUE(sendEnabled(*dialog));
  EXPECT_EQ(stateAt(*dialog, ListId::LocateAux, 0), State::Disabled);
  press(*dialog, Editor::kNewButton);
  EXPECT_FALSE(sendEnabled(*dialog));
  EXPECT_EQ(dialog->windowTitle(), "New Configuration");
  EXPECT_EQ(stateAt(*dialog, ListId::LocateAux, 0), State::Enabled);
}

TEST(ConfigureReceiverDialog, modelBoxDecidesWhichPagesAreValid) {
  ConfigureRig rig;
  auto dialog = rig.open();
  QComboBox &models = modelBox(*dialog);
  models.setCurrentIndex(0); // 6130-Tq
  EXPECT_FALSE(notValidShown(*dialog, 1));
  EXPECT_TRUE(listShown(*dialog, ListId::MarkerTypes));
  for (int tab : {2, 3}) {
    EXPECT_TRUE(notValidShown(*dialog, tab)) << tab;
  }
  EXPECT_FALSE(listShown(*dialog, ListId::LocateActive));
  EXPECT_FALSE(listShown(*dialog, ListId::ToneUser));
  models.setCurrentIndex(2); // 8360M-E
  EXPECT_TRUE(notValidShown(*dialog, 1));
  EXPECT_FALSE(listShown(*dialog, ListId::MarkerTypes));
  for (int tab : {2, 3}) {
    EXPECT_FALSE(notValidShown(*dialog, tab)) << tab;
  }
  EXPECT_TRUE(listShown(*dialog, ListId::LocateActive));
  EXPECT_TRUE(listShown(*dialog, ListId::ToneUser));

  // A new model resets the lists to its defaults: 6 active entries ending with 133 kHz.
  clickEntry(*dialog, ListId::LocateActive, 0);
  models.setCurrentIndex(13); // 9460-Tq/CE
  EXPECT_EQ(dialog->listView(ListId::ToneActive)->topLevelItemCount(), 6);
  EXPECT_EQ(textAt(*dialog, ListId::ToneActive, 5), "133 kHz");
  EXPECT_EQ(stateAt(*dialog, ListId::ToneActive, 5), State::Disabled);
  EXPECT_EQ(stateAt(*dialog, ListId::LocateActive, 0), State::Enabled);
  EXPECT_EQ(textAt(*dialog, ListId::MarkerTypes, 1), "CE Power");
}

TEST(ConfigureReceiverDialog, sendThroughTheDialogReachesTheReceiverAndShowsTheFinalStatus) {
  ConfigureRig rig;
  sim::Receiver &receiver = rig.openReceiver(44); // 8385M-Tq/U
  auto dialog = rig.open();
  clickEntry(*dialog, ListId::LocateActive, 1);
  saveAs(rig, *dialog, "send.cfg");
  press(*dialog, Editor::kSendConfigButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(dialog->lastSendResult(), SendConfiguration::Result::Completed);
  EXPECT_EQ(statusText(*dialog), "Download completed successfully!");
  EXPECT_TRUE(control<QProgressBar>(*dialog, Editor::kProgressBar)->isHidden());
  EXPECT_EQ(receiver.lastArguments("units"), (Words{"0", "1", "0"}));
  EXPECT_EQ(receiver.lastArguments("lact"), (Words{"1", "0", "1", "1", "1", "0", "0"}));
  EXPECT_EQ(receiver.lastArguments("ludf"), (Words{"0", "0", "0", "0"}));
  EXPECT_EQ(receiver.restarts(), 1);
  EXPECT_TRUE(rig.user.messages().empty());
  EXPECT_TRUE(sendEnabled(*dialog));
  EXPECT_TRUE(button(*dialog, Editor::kOpenButton)->isEnabled());
}

TEST(ConfigureReceiverDialog, withheldAckEndsWithProblemInDownloadAndNoRestart) {
  ConfigureRig rig;
  sim::Faults faults;
  faults.noAckFor = "pcmmkr";
  sim::Receiver &receiver = rig.openReceiver(44, faults);
  auto dialog = rig.open();
  saveAs(rig, *dialog, "send.cfg");
  press(*dialog, Editor::kSendConfigButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(statusText(*dialog), "Problem in download");
  EXPECT_TRUE(control<QProgressBar>(*dialog, Editor::kProgressBar)->isHidden());
  EXPECT_FALSE(receiver.lastArguments("mkr").empty());
  EXPECT_EQ(receiver.receivedText().find("swreset"), std::string::npos);
  EXPECT_EQ(receiver.restarts(), 0);
}

TEST(ConfigureReceiverDialog, sendForAnotherModelNamesTheReceiversModel) {
  ConfigureRig rig;
  sim::Receiver &receiver = rig.openReceiver(2); // 8385M-U
  auto dialog = rig.open();
  modelBox(*dialog).setCurrentIndex(2);
  saveAs(rig, *dialog, "e.cfg");
  press(*dialog, Editor::kSendConfigButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(dialog->lastSendResult(), SendConfiguration::Result::ModelMismatch);
  ASSERT_EQ(rig.user.messages().size(), 1U);
  EXPECT_TRUE(rig.user.messages()[0].starts_with("Receiver Model (8385M-U) "));
  EXPECT_TRUE(receiver.lastArguments("units").empty());
}

TEST(ConfigureReceiverDialog, checkReceiverModelSelectsTheReportedModel) {
  ConfigureRig rig;
  rig.openReceiver(2);
  auto dialog = rig.open();
  press(*dialog, Editor::kCheckReceiverModelButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(modelBox(*dialog).currentText(), "8385M-U");
  EXPECT_TRUE(notValidShown(*dialog, 1)); // no marker types for this model
  EXPECT_TRUE(button(*dialog, Editor::kCheckReceiverModelButton)->isEnabled());
  EXPECT_TRUE(rig.user.events().empty()); // nothing unsaved: nothing asked
}

// With unsaved changes the check asks before the model's defaults replace
// them; afterwards the caption says the configuration is not the file's.
TEST(ConfigureReceiverDialog, checkReceiverModelAsksBeforeReplacingUnsavedChanges) {
  ConfigureRig rig;
  rig.openReceiver(2); // 8385M-U
  auto dialog = rig.open();
  saveAs(rig, *dialog, "site.cfg");
  QTest::mouseClick(radio(*dialog, "units0"), Qt::LeftButton);
  ASSERT_TRUE(dialog->editor().snapshot().unsavedChanges);
  const std::string question =
      "The receiver is a 8385M-U. Selecting its model sets every setting to the defaults of that "
      "model, and the changes you have not saved are lost. Select it?";

  rig.user.clear();
  rig.user.queueAnswer(Answer::No);
  press(*dialog, Editor::kCheckReceiverModelButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  ASSERT_EQ(rig.user.events().size(), 1U);
  EXPECT_EQ(rig.user.events()[0].text, question);
  EXPECT_EQ(modelBox(*dialog).currentText(), "8385M-Tq/U");
  EXPECT_TRUE(radio(*dialog, "units0")->isChecked());
  EXPECT_EQ(dialog->windowTitle(), "site.cfg");

  rig.user.queueAnswer(Answer::Yes);
  press(*dialog, Editor::kCheckReceiverModelButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(modelBox(*dialog).currentText(), "8385M-U");
  EXPECT_EQ(dialog->windowTitle(), "8385M-U defaults from the receiver - not saved");
  EXPECT_EQ(dialog->editor().snapshot().fileName, "untitled.cfg");
}

TEST(ConfigureReceiverDialog, checkReceiverModelRefusesAModelConfiguredOnTheReceiver) {
  ConfigureRig rig;
  rig.openReceiver(20);
  auto dialog = rig.open();
  press(*dialog, Editor::kCheckReceiverModelButton);
  ASSERT_TRUE(waitFor([&] { return !dialog->workerRunning(); }, 20000));
  EXPECT_EQ(rig.user.messages(),
            Words{"8330M - This model cannot be configured using Brimstel. Please use Toolbox "
                  "option in the receiver."});
  EXPECT_EQ(modelBox(*dialog).currentText(), "8385M-Tq/U");
}

// A send stuck in a wait: the window answers, the buttons wait for it, and
// closing the dialog asks whether to stop, then ends the wait at once
// without a restart.
TEST(ConfigureReceiverDialog, closingDuringASendCancelsItsWait) {
  ConfigureRig rig;
  sim::Receiver &receiver = rig.openReceiver(44);
  rig.port.stallAfter = "lact 1 1 1 1 1 0 0\r";
  auto dialog = rig.open();
  saveAs(rig, *dialog, "stuck.cfg");
  press(*dialog, Editor::kSendConfigButton);
  ASSERT_TRUE(waitFor([&] { return rig.port.stalled.load(); }, 20000));
  ASSERT_TRUE(dialog->workerRunning());
  dialog->tickTimer();
  EXPECT_EQ(statusText(*dialog), "Downloading. Please wait...");
  EXPECT_FALSE(control<QProgressBar>(*dialog, Editor::kProgressBar)->isHidden());
  EXPECT_GT(control<QProgressBar>(*dialog, Editor::kProgressBar)->value(), 0);
  for (int id : {Editor::kSendConfigButton, Editor::kOpenButton, Editor::kNewButton,
                 Editor::kSupervisorLoginButton, Editor::kCheckReceiverModelButton}) {
    EXPECT_FALSE(button(*dialog, id)->isEnabled()) << id;
  }
  EXPECT_FALSE(modelBox(*dialog).isEnabled());
  EXPECT_FALSE(dialog->listView(ListId::MarkerTypes)->isEnabled());
  ASSERT_TRUE(button(*dialog, Editor::kExitButton)->isEnabled());

  rig.user.queueAnswer(Answer::No); // keep sending
  press(*dialog, Editor::kExitButton);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->workerRunning());
  ASSERT_EQ(rig.user.events().back().kind, ScriptedUser::Kind::Ask);
  EXPECT_EQ(rig.user.events().back().text, rig.context.text(sid::kStopWhileSending));

  QElapsedTimer closing;
  closing.start();
  rig.user.queueAnswer(Answer::Yes);
  press(*dialog, Editor::kExitButton);
  EXPECT_LT(closing.elapsed(), 10000); // without the cancel the wait never ends
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(dialog->workerRunning());
  EXPECT_EQ(dialog->lastSendResult(), SendConfiguration::Result::Cancelled);
  EXPECT_EQ(receiver.receivedText().find("swreset"), std::string::npos);
  EXPECT_TRUE(rig.user.messages().empty());
}

TEST(ConfigureReceiverDialog, leavingEndsTheSupervisorSession) {
  ConfigureRig rig;
  {
    auto dialog = rig.open();
    loginWith(rig, *dialog, std::string(kDefaultSupervisorPassword));
    ASSERT_TRUE(rig.configuration.supervisorSession());
    press(*dialog, Editor::kExitButton);
    EXPECT_FALSE(rig.configuration.supervisorSession());
  }
  auto again = rig.open();
  loginWith(rig, *again, std::string(kDefaultSupervisorPassword));
  again->close(); // the close box
  EXPECT_FALSE(rig.configuration.supervisorSession());
}

// Change Password and Supervisor Logout are usable only while logged in; a
// supervisor's lock says so in the status line; Logout ends the session.
TEST(ConfigureReceiverDialog, supervisorButtonsFollowTheSession) {
  ConfigureRig rig;
  auto dialog = rig.open();
  constexpr int kLogout = Editor::kSupervisorLogoutButton;
  EXPECT_FALSE(button(*dialog, Editor::kChangePasswordButton)->isEnabled());
  EXPECT_FALSE(button(*dialog, kLogout)->isEnabled());
  loginWith(rig, *dialog, std::string(kDefaultSupervisorPassword));
  EXPECT_TRUE(button(*dialog, Editor::kChangePasswordButton)->isEnabled());
  clickEntry(*dialog, ListId::MarkerTypes, 0);
  EXPECT_EQ(stateAt(*dialog, ListId::MarkerTypes, 0), State::Masked);
  EXPECT_EQ(statusText(*dialog), "Telephone is now locked: the receiver's user cannot change it.");
  press(*dialog, kLogout);
  EXPECT_FALSE(rig.configuration.supervisorSession());
  EXPECT_TRUE(dialog->findChild<QLabel *>(QStringLiteral("supervisorState"))->isHidden());
  EXPECT_FALSE(button(*dialog, Editor::kChangePasswordButton)->isEnabled());
  EXPECT_FALSE(button(*dialog, kLogout)->isEnabled());
}

// The main screen opens the dialog for its country: Germany forbids power markers.
TEST(ConfigureReceiverDialog, mainScreenOpensItForTheSelectedCountry) {
  TempDir folder;
  folder.write("Cfg/CountryFreqMask.cfg",
               "[COUNTRY]\nGermany\nTEL 1 PWR 0 GAS 1 WAT 1 WAS 1 COM 1 GP 1\nde.bmp\nde_big.bmp\n"
               "[COUNTRY]\nFrance\nTEL 1 PWR 1 GAS 1 WAT 1 WAS 1 COM 1 GP 1\nfr.bmp\nfr_big.bmp\n");
  VirtualClock clock{0};
  sim::SimPort port{clock};
  ScriptedUser user;
  Session app(folder.path(), port, clock, user);
  app.start();
  MainScreenWindow screen(app);
  screen.show();
  ASSERT_TRUE(screen.hasTool(MainScreen::Tool::ConfigureReceiver));
  QPushButton *open = control<QPushButton>(screen, 1109);
  ASSERT_TRUE(open->isEnabled());
  user.clear();

  State power = State::Enabled;
  QString caption;
  ModalResponder first([&](QWidget &modal) {
    auto &dialog = dynamic_cast<ConfigureReceiverDialog &>(modal);
    caption = dialog.windowTitle();
    power = stateAt(dialog, ListId::MarkerTypes, 1);
    clickEntry(dialog, ListId::MarkerTypes, 1);
    press(dialog, Editor::kExitButton);
  });
  QTest::mouseClick(open, Qt::LeftButton);
  ASSERT_TRUE(first.handled());
  EXPECT_EQ(caption, "New Configuration");
  EXPECT_EQ(power, State::Unavailable);
  EXPECT_EQ(user.messages(), Words{"This frequency is not available for Germany"});
}

} // namespace
} // namespace tarnwick::ui
