#include "edit_comments_dialog.h"
#include "marker_records_dialog.h"
#include "marker_rig.h"
#include "positions_view.h"
#include "record_bytes.h"
#include "record_table_model.h"
#include "string_ids.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

using testing::Bytes;
using testing::control;
using testing::MarkerRig;
using testing::ModalResponder;
using testing::waitFor;

constexpr std::size_t kCommentColumn = 4;

Bytes markerAt(std::uint32_t serial, int utility, unsigned latitudeFraction) {
  testing::MarkerFields fields;
  fields.serial = serial;
  fields.utility = utility;
  fields.position = testing::Position{4550, latitudeFraction, 7320, 4000};
  return testing::markerRecord(fields);
}

std::vector<RecordEntry> entriesOf(const std::vector<Bytes> &records) {
  std::vector<RecordEntry> entries;
  for (const Bytes &bytes : records) {
    entries.push_back({decodeMarkerRecord(bytes, Glossary{}), bytes});
  }
  return entries;
}

QString cell(const MarkerRecordsDialog &dialog, int row, std::size_t column) {
  const RecordTableModel &model = *dialog.model();
  return model.data(model.index(row, static_cast<int>(column))).toString();
}

QStringList serials(const MarkerRecordsDialog &dialog) {
  QStringList texts;
  for (int row = 0; row < dialog.model()->rowCount(); ++row) {
    texts << cell(dialog, row, 0);
  }
  return texts;
}

QString serial(std::uint32_t value) {
  return QString::fromStdString(serialText(value));
}

// A dialog on a list already holding records, as after an Open.
struct DialogRig {
  explicit DialogRig(std::vector<Bytes> records = {markerAt(1003, 2, 10), markerAt(1001, 5, 20),
                                                   markerAt(1002, 3, 30)})
      : dialog(*rig.session, RecordKind::ReadMarkers) {
    list().load(entriesOf(records), {});
    dialog.refreshFromList();
    dialog.show();
  }
  RecordList &list() { return rig.session->records().list(RecordKind::ReadMarkers); }
  void select(std::initializer_list<int> rows) {
    QItemSelectionModel &model = *dialog.table()->selectionModel();
    model.clearSelection();
    for (const int row : rows) {
      model.select(dialog.model()->index(row, 0),
                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }

  MarkerRig rig;
  MarkerRecordsDialog dialog;
};

TEST(MarkerRecordsDialog, aTransferFromTheReceiverFillsTheTableAndThePositions) {
  MarkerRig rig;
  sim::Receiver &receiver = rig.port.addReceiver("/dev/ttyUSB0");
  rig.port.setBaudRate(38400);
  rig.port.openPort("/dev/ttyUSB0");
  rig.session->context().portState.markOpen("/dev/ttyUSB0", 38400);
  const std::vector<Bytes> records = {markerAt(2001, 2, 100), markerAt(2002, 5, 200),
                                      testing::serialRecord(2003, 3)};
  receiver.records().store(sim::RecordSet::ReadMarkers, {records, kMarkerRecordBytes});
  rig.user.queueAnswer(Answer::No); // not added to an existing file
  rig.user.queueSaveFile(rig.at("day").string());

  MarkerRecordsDialog dialog(*rig.session, RecordKind::ReadMarkers);
  dialog.show();
  bool finished = false;
  QObject::connect(&dialog, &MarkerRecordsDialog::transferFinished, [&] { finished = true; });
  control<QPushButton>(dialog, sid::kCopyMarkerDataToFile)->click();
  ASSERT_TRUE(waitFor([&] { return finished; }, 20000));
  EXPECT_EQ(dialog.lastResult(), RecordTransfer::Result::Saved);
  ASSERT_EQ(dialog.model()->rowCount(), 3);
  EXPECT_EQ(serials(dialog), (QStringList{serial(2001), serial(2002), serial(2003)}));
  EXPECT_EQ(dialog.model()->columnCount(), 13);
  EXPECT_EQ(dialog.model()->headerData(0, Qt::Horizontal).toString(), "Serial ID");
  EXPECT_EQ(dialog.table()->horizontalHeader()->sectionSize(0), 100);
  EXPECT_EQ(dialog.positions()->points().size(), 2U); // the third has no fix
  EXPECT_FALSE(dialog.progress()->isVisible());
  EXPECT_TRUE(std::filesystem::exists(rig.at("day.rmrx")));
  EXPECT_TRUE(dialog.windowTitle().endsWith("day.rmrx"));
}

TEST(MarkerRecordsDialog, theSameHeaderTwiceSortsDescending) {
  DialogRig r;
  QHeaderView &header = *r.dialog.table()->horizontalHeader();
  const QPoint serialHeader(header.sectionViewportPosition(0) + 10, header.height() / 2);
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, serialHeader);
  EXPECT_EQ(serials(r.dialog), (QStringList{serial(1001), serial(1002), serial(1003)}));
  EXPECT_EQ(header.sortIndicatorOrder(), Qt::AscendingOrder);
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, serialHeader);
  EXPECT_EQ(serials(r.dialog), (QStringList{serial(1003), serial(1002), serial(1001)}));
  EXPECT_EQ(header.sortIndicatorSection(), 0);
  EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_TRUE(r.list().modified());
}

TEST(MarkerRecordsDialog, editCommentsGivesTheTextToEverySelectedRow) {
  DialogRig r;
  r.select({0, 2});
  ASSERT_TRUE(r.dialog.editCommentsAction()->isEnabled());
  ModalResponder typeComment(
      [](QWidget &modal) {
        auto &dialog = dynamic_cast<EditCommentsDialog &>(modal);
        QTest::keyClicks(dialog.editor(), "valve box");
        control<QPushButton>(dialog, 1)->click();
      },
      &r.dialog);
  r.dialog.editCommentsAction()->trigger();
  ASSERT_TRUE(typeComment.handled());
  EXPECT_EQ(cell(r.dialog, 0, kCommentColumn), "valve box");
  EXPECT_EQ(cell(r.dialog, 1, kCommentColumn), "");
  EXPECT_EQ(cell(r.dialog, 2, kCommentColumn), "valve box");
  EXPECT_TRUE(r.list().modified());
}

TEST(MarkerRecordsDialog, pastingTwiceAppendsTwiceAndTheMenuGreysAsTheRulesSay) {
  DialogRig r;
  r.select({});
  for (QAction *action : {r.dialog.editCommentsAction(), r.dialog.copyAction(),
                          r.dialog.cutAction(), r.dialog.deleteAction(), r.dialog.pasteAction()}) {
    EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
  }
  r.select({1});
  r.dialog.copyAction()->trigger();
  r.select({});
  EXPECT_FALSE(r.dialog.copyAction()->isEnabled());
  ASSERT_TRUE(r.dialog.pasteAction()->isEnabled());
  r.dialog.pasteAction()->trigger();
  r.dialog.pasteAction()->trigger();
  EXPECT_EQ(serials(r.dialog),
            (QStringList{serial(1003), serial(1001), serial(1002), serial(1001), serial(1001)}));
  r.select({0, 4});
  r.dialog.deleteAction()->trigger();
  EXPECT_EQ(serials(r.dialog), (QStringList{serial(1001), serial(1002), serial(1001)}));
}

TEST(MarkerRecordsDialog, closingAsksToSaveChanges) {
  struct Case {
    Answer answer;
    bool staysOpen;
    bool saved;
  };
  for (const Case c : {Case{Answer::Yes, false, true}, Case{Answer::No, false, false},
                       Case{Answer::Cancel, true, false}}) {
    DialogRig r;
    r.list().markModified();
    r.rig.user.queueAnswer(c.answer);
    r.rig.user.queueSaveFile(r.rig.at("kept").string()); // unbound: Save goes to Save As
    r.dialog.close();
    EXPECT_EQ(r.dialog.isVisible(), c.staysOpen);
    EXPECT_EQ(std::filesystem::exists(r.rig.at("kept.rmrx")), c.saved);
    const auto events = r.rig.user.events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().kind, ScriptedUser::Kind::Ask);
    EXPECT_EQ(events.front().buttons, Buttons::YesNoCancel);
  }
}

TEST(MarkerRecordsDialog, aFullReceiverMemoryOpensInTheModelRowByRow) {
  constexpr std::size_t kRecords = 17'500;
  std::vector<Bytes> records;
  records.reserve(kRecords);
  for (std::size_t i = 0; i < kRecords; ++i) {
    records.push_back(markerAt(static_cast<std::uint32_t>(100000 + i), 2, i % 10000));
  }
  DialogRig r(records);
  EXPECT_EQ(r.dialog.model()->rowCount(), static_cast<int>(kRecords));
  EXPECT_EQ(cell(r.dialog, kRecords - 1, 0), serial(100000 + kRecords - 1));
  EXPECT_EQ(r.dialog.positions()->points().size(), kRecords);
  r.dialog.table()->scrollToBottom();
  QApplication::processEvents();
}

TEST(PositionsView, readsDegreesAndMinutesWithTheirHemisphere) {
  EXPECT_NEAR(*parseDegrees("45 Deg 50.1234 Min N"), 45.0 + 50.1234 / 60, 1e-9);
  EXPECT_NEAR(*parseDegrees("73 Deg 20.4 Min W"), -(73.0 + 20.4 / 60), 1e-9);
  EXPECT_FALSE(parseDegrees(""));
  EXPECT_FALSE(parseDegrees("45 Deg 50.1 Min Q"));
}

TEST(PositionsView, clickingAPointSelectsItsRow) {
  DialogRig r;
  PositionsView &view = *r.dialog.positions();
  ASSERT_EQ(view.points().size(), 3U);
  const PositionsView::Point &second = view.points()[1];
  QTest::mouseClick(&view, Qt::LeftButton, {}, view.placeOf(second).toPoint());
  EXPECT_EQ(r.dialog.selection(), (RecordSelection{static_cast<std::size_t>(second.row)}));
}

} // namespace
} // namespace tarnwick::ui
