// marker_records_screenshots: pulls the demo receiver's read markers into the
// record dialog on a fresh demo tree under a display and saves a picture of
// the dialog with a few rows selected.
//   xvfb-run -s "-screen 0 1280x900x24" marker_records_screenshots OUTPUT_FOLDER
#include "demo_tree.h"
#include "marker_records_dialog.h"
#include "record_sets.h"
#include "record_table_model.h"
#include "scripted_user.h"
#include "session.h"
#include "sim_port.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include <cstdio>

using namespace tarnwick;

int main(int argc, char **argv) {
  QApplication qt(argc, argv);
  const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(output);
  const std::filesystem::path tree = std::filesystem::path(output.toStdString()) / "tree";
  const demo::DemoTreeResult created = demo::createDemoTree(tree);
  if (created.error) {
    std::fprintf(stderr, "%s\n", created.what.c_str());
    return 1;
  }
  ScriptedUser user;
  VirtualClock clock{0};
  sim::SimPort port{clock};
  Session app(tree, port, clock, user);
  app.start();
  sim::Receiver &receiver = port.addReceiver("/dev/ttyUSB0");
  receiver.records().store(
      sim::RecordSet::ReadMarkers,
      sim::readStoredRecords((tree / "Receiver" / "ReadMarkers.rmrx").string()));
  port.setBaudRate(38400);
  port.openPort("/dev/ttyUSB0");
  app.context().portState.markOpen("/dev/ttyUSB0", 38400);
  user.queueAnswer(Answer::No);
  user.queueSaveFile((tree / "Survey").string());

  ui::MarkerRecordsDialog dialog(app, RecordKind::ReadMarkers);
  dialog.show();
  QObject::connect(&dialog, &ui::MarkerRecordsDialog::transferFinished, [&] {
    QItemSelectionModel &selection = *dialog.table()->selectionModel();
    for (const int row : {3, 4, 9}) {
      selection.select(dialog.model()->index(row, 0),
                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QTimer::singleShot(400, [&] {
      const QString path = output + QStringLiteral("/marker_records.png");
      dialog.grab().save(path);
      std::printf("%s\n", qPrintable(path));
      qt.quit();
    });
  });
  QTimer::singleShot(200, [&] { dialog.startTransfer(); });
  return qt.exec();
}
