#include "download_dialogs.h"
#include "forwarding_port.h"
#include "marker_rig.h"
#include "marker_utility_window.h"
#include "user_list_page.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace tarnwick::ui {
namespace {

using testing::choose;
using testing::control;
using testing::MarkerRig;
using testing::ModalResponder;
using testing::waitFor;

constexpr const char *kDevice = "/dev/simA";
constexpr int kWaitMs = 20000;

// Passes every call to the simulator; once stall is set, reads find nothing
// and take no virtual time, so a wait only ends when it is cancelled.
class StallingPort final : public ForwardingPort {
public:
  explicit StallingPort(PortApi &inner) : ForwardingPort(inner) {}
  std::atomic<bool> stalled{false};
  std::string stallAfter;

  int writeByte(int c) override {
    note(std::string(1, static_cast<char>(c)));
    return inner_.writeByte(c);
  }
  int writeToPort(const void *buffer, int length) override {
    note(std::string(static_cast<const char *>(buffer), static_cast<std::size_t>(length)));
    return inner_.writeToPort(buffer, length);
  }
  char readChar(int *count) override {
    if (stall_.load()) {
      stalled.store(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      *count = 0;
      return 0;
    }
    return inner_.readChar(count);
  }

private:
  void note(const std::string &bytes) {
    written_ += bytes;
    if (written_.ends_with(stallAfter)) {
      stall_.store(true);
    }
  }
  std::atomic<bool> stall_{false};
  std::string written_; // on the worker
};

// The marker utility on the demo templates, with a receiver on an open port.
struct DownloadRig : MarkerRig {
  explicit DownloadRig(sim::Faults faults = {})
      : receiver(port.addReceiver(kDevice, {}, std::move(faults))) {
    port.setBaudRate(38400);
    port.openPort(kDevice);
    app.context().portState.markOpen(kDevice, 38400);
    window.show();
  }

  const sim::Downloads &received() const { return receiver.downloads(); }
  void click(QWidget &parent, int id) {
    QTest::mouseClick(control<QPushButton>(parent, id), Qt::LeftButton);
  }

  sim::Receiver &receiver;
  MarkerUtilityWindow window{*session};
};

// What the modal download dialog showed once its download had ended.
struct Seen {
  QString objectName;
  QString status;
  bool visible = false;
  bool ended = false;
};

// Handles the next modal dialog: waits for its download to end, notes what it
// shows, and closes it unless it closed itself.
std::unique_ptr<ModalResponder> watchDownload(Seen &seen, QWidget *except) {
  return std::make_unique<ModalResponder>(
      [&seen](QWidget &modal) {
        auto *dialog = qobject_cast<DownloadDialog *>(&modal);
        if (dialog == nullptr) {
          return;
        }
        seen.objectName = dialog->objectName();
        seen.ended = waitFor(
            [dialog] { return !dialog->isVisible() || dialog->snapshot().result.has_value(); },
            kWaitMs);
        // A success is followed by the pause before the dialog closes itself.
        waitFor([dialog] { return !dialog->isVisible() || !dialog->downloading(); }, kWaitMs);
        QApplication::processEvents();
        seen.visible = dialog->isVisible();
        seen.status = control<QLabel>(*dialog, DownloadDialog::kStatusLine)->text();
        if (dialog->isVisible()) {
          dialog->reject();
        }
      },
      except);
}

TEST(DownloadDialogs, theGlossaryDownloadStartsByItselfFromTheMarkerUtility) {
  DownloadRig rig;
  Seen seen;
  const auto responder = watchDownload(seen, &rig.window);
  rig.click(rig.window, MarkerUtilityWindow::kGlossaryDownloadButton);
  ASSERT_TRUE(responder->handled());
  EXPECT_TRUE(seen.ended);
  EXPECT_EQ(seen.objectName, "238");
  EXPECT_TRUE(seen.visible); // the glossary dialog stays open after success
  EXPECT_EQ(seen.status, "Download complete!");
  DownloadDialog &dialog = *rig.window.glossaryDownload();
  EXPECT_EQ(dialog.windowTitle(), "Glossary Download");
  EXPECT_EQ(dialog.snapshot().progressMax, GlossaryDownload::kProgressSteps);
  EXPECT_EQ(rig.received().groups().size(), 20U);
  EXPECT_EQ(rig.received().glossaryVersion(), "11");
  EXPECT_TRUE(rig.received().errors().empty());

  // Opened again, the same dialog downloads again.
  Seen again;
  const auto second = watchDownload(again, &rig.window);
  rig.click(rig.window, MarkerUtilityWindow::kGlossaryDownloadButton);
  ASSERT_TRUE(second->handled());
  EXPECT_EQ(rig.window.glossaryDownload(), &dialog);
  EXPECT_EQ(again.status, "Download complete!");
}

struct ListCase {
  const char *name;
  int sendButton;
  QString dialog;
  void (*fault)(sim::DownloadFaults &);
  bool closes;
  QString status; // the status line's start
};

class ListDownload : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListDownload, closesAfterSuccessAndStaysOpenWithTheFailure) {
  const ListCase &row = GetParam();
  sim::Faults faults;
  if (row.fault != nullptr) {
    row.fault(faults.downloads);
  }
  DownloadRig rig(faults);
  UserListPage &page = *rig.window.userListPage();
  ASSERT_TRUE(choose(*control<QComboBox>(page, UserListEditor::kListBox), "Gas"));
  Seen seen;
  const auto responder = watchDownload(seen, &rig.window);
  rig.click(page, row.sendButton);
  if (row.closes) {
    // The click returned: the dialog closed itself, maybe before the watcher saw it.
    EXPECT_FALSE(seen.visible);
    EXPECT_TRUE(rig.user.messages().empty());
    const sim::Downloads &received = rig.received();
    EXPECT_FALSE(received.lists().empty() && received.tables().empty());
    return;
  }
  ASSERT_TRUE(responder->handled());
  EXPECT_TRUE(seen.ended);
  EXPECT_EQ(seen.objectName, row.dialog);
  EXPECT_TRUE(seen.visible);
  EXPECT_TRUE(seen.status.startsWith(row.status)) << seen.status.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DownloadDialogs, ListDownload,
    ::testing::Values(ListCase{"userList", UserListEditor::kSendButton, "236", nullptr, true,
                               "Download complete!"},
                      ListCase{"userListDataNotAcknowledged", UserListEditor::kSendButton, "236",
                               [](sim::DownloadFaults &f) { f.noAckForListData = 0; }, false,
                               "Problem in download"},
                      ListCase{"descriptions", UserListPage::kSendLinksButton, "239", nullptr, true,
                               "Download complete!"},
                      ListCase{"descriptionEntryNotAcknowledged", UserListPage::kSendLinksButton,
                               "239", [](sim::DownloadFaults &f) { f.noAckForEntry = 0; }, false,
                               "Problem in download after list :"}),
    [](const auto &caseInfo) { return std::string(caseInfo.param.name); });

TEST(DownloadDialogs, aSentListReachesTheReceiverUnderItsName) {
  DownloadRig rig;
  UserListPage &page = *rig.window.userListPage();
  ASSERT_TRUE(choose(*control<QComboBox>(page, UserListEditor::kListBox), "Gas"));
  Seen seen;
  const auto responder = watchDownload(seen, &rig.window);
  rig.click(page, UserListEditor::kSendButton);
  ASSERT_EQ(rig.received().lists().size(), 1U);
  EXPECT_EQ(rig.received().lists().front().name, "Gas");
  EXPECT_FALSE(rig.received().lists().front().codes.empty());
}

TEST(DownloadDialogs, closingDuringTheDownloadEndsItAndSaysSo) {
  DownloadRig rig;
  StallingPort stalling(rig.port);
  stalling.stallAfter = "gdata\r"; // the first item's ACK never comes, nor time passes
  AppContext context(rig.folder.path(), stalling, rig.clock, rig.user);
  context.portState.markOpen(kDevice, 38400);
  DownloadDialog &dialog =
      *makeGlossaryDownloadDialog(context, rig.app.templates().glossary, &rig.window);
  dialog.show();
  ASSERT_TRUE(dialog.downloading());
  ASSERT_TRUE(waitFor([&] { return stalling.stalled.load(); }, kWaitMs));
  const QLabel &figures = *control<QLabel>(dialog, DownloadDialog::kFiguresLine);
  ASSERT_TRUE(waitFor([&] { return figures.text().contains(" items/s, "); }, kWaitMs));
  EXPECT_TRUE(control<QPushButton>(dialog, 1156)->isEnabled());
  EXPECT_FALSE(control<QPushButton>(dialog, 1175)->isEnabled());
  EXPECT_FALSE(control<QPushButton>(dialog, 1)->isEnabled());
  dialog.reject();
  EXPECT_FALSE(dialog.downloading());
  EXPECT_EQ(dialog.snapshot().result, DownloadResult::Cancelled);
  EXPECT_EQ(control<QLabel>(dialog, DownloadDialog::kStatusLine)->text(),
            "Download canceled by user...");
  EXPECT_EQ(rig.user.messages().back(), "Download canceled by user...");
}

} // namespace
} // namespace tarnwick::ui
