#include "marker_records_dialog.h"

#include "dialog_font.h"
#include "edit_comments_dialog.h"
#include "glossary_files.h"
#include "positions_view.h"
#include "record_columns.h"
#include "record_table_model.h"
#include "string_ids.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <set>

namespace tarnwick::ui {

namespace {

constexpr int kWidthDlu = 520;
constexpr int kHeightDlu = 250;
constexpr int kMeasuredRows = 60;

Glossary glossaryOf(Session &session) {
  Glossary glossary;
  loadGlossaryFolder(glossary, session.glossaryFolder());
  return glossary;
}

} // namespace

MarkerRecordsDialog::MarkerRecordsDialog(Session &session, RecordKind kind, QWidget *parent)
    : QDialog(parent), session_(session), kind_(kind), list_(session.records().list(kind)),
      glossary_(glossaryOf(session)), files_(session.context(), session.records(), glossary_),
      transfer_(session.context(), session.records(), glossary_),
      runner_(session.context().portLease) {
  setObjectName(QStringLiteral("markerRecords"));
  // Every opening starts with an empty, unbound list.
  list_.reset(kind);
  connect(&runner_, &ToolRunner::tick, this, &MarkerRecordsDialog::refreshProgress);
  connect(&runner_, &ToolRunner::finished, this, &MarkerRecordsDialog::onTransferFinished);

  model_ = new RecordTableModel(list_, session.context().strings, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("records"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setShowGrid(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->hide();
  table_->setContextMenuPolicy(Qt::NoContextMenu); // the dialog's own menu takes the click
  QHeaderView *header = table_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  header->setHighlightSections(false);
  // Widening measures a sample of rows only, so a full memory stays quick.
  header->setResizeContentsPrecision(kMeasuredRows);
  fitColumns();
  connect(header, &QHeaderView::sectionClicked, this, &MarkerRecordsDialog::sortByColumn);
  connect(table_, &QTableView::doubleClicked, this, [this] {
    if (!selection().empty()) {
      editComments();
    }
  });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    showSelectionInPositions();
    updateActions();
  });

  positions_ = new PositionsView(this);
  positions_->setEmptyText(text(sid::kNoPositionsToShow));
  connect(positions_, &PositionsView::rowClicked, this,
          &MarkerRecordsDialog::selectRowFromPositions);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->addWidget(table_);
  splitter_->addWidget(positions_);
  splitter_->setStretchFactor(0, 3);
  splitter_->setStretchFactor(1, 1);

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setVisible(false);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setVisible(false);

  makeActions();
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(splitter_, 1);
  layout->addWidget(progress_);
  layout->addWidget(status_);
  layout->addWidget(makeButtons());
  resize(dialogUnits(*this, kWidthDlu, kHeightDlu).expandedTo(sizeHint()));
  splitter_->setSizes({width() * 3 / 4, width() / 4});
  updateCaption();
  updateActions();
}

MarkerRecordsDialog::~MarkerRecordsDialog() {
  runner_.stop();
}

// The column table's widths, widened where the font needs more for the
// title or the texts.
void MarkerRecordsDialog::fitColumns() {
  const auto columns = recordColumns(kind_);
  QHeaderView *header = table_->horizontalHeader();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int column = static_cast<int>(i);
    const int wanted =
        columns[i].width != kDefaultColumnWidth ? columns[i].width : header->defaultSectionSize();
    const int needed =
        model_->rowCount() > 0
            ? static_cast<const QAbstractItemView *>(table_)->sizeHintForColumn(column)
            : 0;
    header->resizeSection(column, std::max({wanted, needed, header->sectionSizeHint(column)}));
  }
}

QString MarkerRecordsDialog::text(StringId id) const {
  return QString::fromStdString(session_.text(id));
}

QWidget *MarkerRecordsDialog::makeButtons() {
  auto *row = new QWidget(this);
  copyButton_ = makeButton(row, sid::kCopyMarkerDataToFile, text(sid::kCopyMarkerDataToFile));
  connect(copyButton_, &QPushButton::clicked, this, &MarkerRecordsDialog::startTransfer);

  auto *group = new QGroupBox(text(sid::kFileOperationsGroup), row);
  group->setObjectName(QStringLiteral("fileOperations"));
  group->setFont(boldDialogFont());
  auto *files = new QHBoxLayout(group);
  const std::pair<StringId, void (MarkerRecordsDialog::*)()> buttons[] = {
      {sid::kRecordOpen, &MarkerRecordsDialog::openFile},
      {sid::kRecordSave, &MarkerRecordsDialog::saveFile},
      {sid::kRecordSaveAs, &MarkerRecordsDialog::saveFileAs},
      {sid::kRecordExport, &MarkerRecordsDialog::exportFile},
  };
  for (const auto &[id, slot] : buttons) {
    auto *button = makeButton(group, id, text(id));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    files->addWidget(button);
  }

  auto *exit = makeButton(row, sid::kRecordExit, text(sid::kRecordExit));
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, &MarkerRecordsDialog::reject);

  auto *layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(copyButton_, 0, Qt::AlignBottom);
  layout->addWidget(group);
  layout->addStretch();
  layout->addWidget(exit, 0, Qt::AlignBottom);
  return row;
}

QAction *MarkerRecordsDialog::makeAction(StringId id, void (MarkerRecordsDialog::*slot)()) {
  auto *action = new QAction(text(id), this);
  action->setObjectName(controlName(id));
  connect(action, &QAction::triggered, this, slot);
  return action;
}

void MarkerRecordsDialog::makeActions() {
  editAction_ = makeAction(sid::kEditComments, &MarkerRecordsDialog::editComments);
  copyAction_ = makeAction(sid::kRecordCopy, &MarkerRecordsDialog::copyRows);
  cutAction_ = makeAction(sid::kRecordCut, &MarkerRecordsDialog::cutRows);
  pasteAction_ = makeAction(sid::kRecordPaste, &MarkerRecordsDialog::pasteRows);
  deleteAction_ = makeAction(sid::kRecordDelete, &MarkerRecordsDialog::deleteRows);
}

void MarkerRecordsDialog::updateActions() {
  const bool idle = !transferRunning();
  const bool any = idle && !selection().empty();
  editAction_->setEnabled(any);
  copyAction_->setEnabled(any);
  cutAction_->setEnabled(any);
  deleteAction_->setEnabled(any);
  pasteAction_->setEnabled(idle && session_.records().clipboard.canPasteInto(kind_));
}

void MarkerRecordsDialog::contextMenuEvent(QContextMenuEvent *event) {
  updateActions();
  QMenu menu(this);
  menu.addAction(editAction_);
  menu.addSeparator();
  menu.addActions({copyAction_, cutAction_, pasteAction_, deleteAction_});
  menu.exec(event->globalPos());
}

RecordSelection MarkerRecordsDialog::selection() const {
  RecordSelection rows;
  if (model_->detached()) {
    return rows;
  }
  for (const QModelIndex &index : table_->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(index.row()));
  }
  return rows;
}

bool MarkerRecordsDialog::refusedWhileRunning() {
  if (transferRunning()) {
    session_.showMessage(sid::kDownloadInProgress);
    return true;
  }
  return false;
}

void MarkerRecordsDialog::refreshFromList() {
  model_->reload();
  fitColumns();
  positions_->setEntries(list_.entries());
  positions_->setSelectedRows({});
  updateCaption();
  updateActions();
}

void MarkerRecordsDialog::updateCaption() {
  QString caption = text(sid::kMarkerRecordsCaption);
  if (!model_->detached() && list_.bound()) {
    caption +=
        QStringLiteral(" - ") + QString::fromStdString(list_.caption(session_.context().strings));
  }
  setWindowTitle(caption);
}

void MarkerRecordsDialog::startTransfer() {
  if (refusedWhileRunning()) {
    return;
  }
  RecordTransfer::Request request;
  request.kind = kind_;
  if (!transfer_.prepare(request)) {
    session_.showMessage(sid::kDownloadInProgress);
    return;
  }
  // From here on the worker owns the list until the transfer ends.
  model_->setDetached(true);
  positions_->setPoints({});
  copyButton_->setEnabled(false);
  updateActions();
  if (runner_.start(transfer_)) {
    refreshProgress();
  } else if (model_->detached()) {
    // Another tool holds the port (begin() ending the transfer reports itself).
    session_.showMessage(sid::kDownloadInProgress);
    onTransferFinished();
  }
}

void MarkerRecordsDialog::refreshProgress() {
  const RecordTransfer::Snapshot snapshot = transfer_.snapshot();
  progress_->setVisible(snapshot.running && snapshot.recordsTotal > 0);
  progress_->setMaximum(static_cast<int>(std::max<std::size_t>(snapshot.recordsTotal, 1)));
  progress_->setValue(static_cast<int>(snapshot.recordsReceived));
  QString line;
  if (snapshot.running && snapshot.recordsTotal > 0) {
    line = text(sid::kRecordsProgress)
               .arg(snapshot.recordsReceived)
               .arg(snapshot.recordsTotal)
               .arg(snapshot.recordsPerSecond, 0, 'f', 1);
    if (snapshot.secondsLeft) {
      line += text(sid::kRecordsTimeLeft).arg(std::lround(*snapshot.secondsLeft));
    }
  } else if (snapshot.status) {
    line = QString::fromStdString(*snapshot.status);
  }
  status_->setText(line);
  status_->setVisible(!line.isEmpty());
}

void MarkerRecordsDialog::onTransferFinished() {
  if (!model_->detached()) {
    return;
  }
  const RecordTransfer::Snapshot snapshot = transfer_.snapshot();
  lastResult_ = snapshot.result.value_or(RecordTransfer::Result::Cancelled);
  model_->setDetached(false);
  copyButton_->setEnabled(true);
  refreshFromList();
  refreshProgress();
  progress_->setVisible(false);
  emit transferFinished(lastResult_);
}

void MarkerRecordsDialog::openFile() {
  if (!refusedWhileRunning() && files_.open(list_) == RecordFiles::Outcome::Done) {
    refreshFromList();
  }
}

void MarkerRecordsDialog::saveFile() {
  if (!refusedWhileRunning()) {
    files_.save(list_);
    updateCaption();
  }
}

void MarkerRecordsDialog::saveFileAs() {
  if (!refusedWhileRunning()) {
    files_.saveAs(list_);
    updateCaption();
  }
}

void MarkerRecordsDialog::exportFile() {
  if (!refusedWhileRunning()) {
    files_.exportCsv(list_);
  }
}

void MarkerRecordsDialog::sortByColumn(int column) {
  if (transferRunning() || column < 0) {
    return;
  }
  list_.sortByColumn(static_cast<std::size_t>(column));
  const SortState &state = list_.sortState();
  QHeaderView *header = table_->horizontalHeader();
  header->setSortIndicatorShown(true);
  header->setSortIndicator(column, state.direction == SortDirection::Ascending
                                       ? Qt::AscendingOrder
                                       : Qt::DescendingOrder);
  refreshFromList();
}

void MarkerRecordsDialog::editComments() {
  const RecordSelection rows = selection();
  if (rows.empty()) {
    return;
  }
  EditCommentsDialog dialog(session_.context().strings, this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  list_.setComment(rows, dialog.text().toStdString());
  list_.markModified();
  model_->reload();
  // The same rows stay selected, so that the new comment shows on them.
  QItemSelection kept;
  for (const std::size_t row : rows) {
    const QModelIndex index = model_->index(static_cast<int>(row), 0);
    kept.select(index, index);
  }
  table_->selectionModel()->select(kept,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  updateCaption();
}

void MarkerRecordsDialog::copyRows() {
  if (!transferRunning()) {
    session_.records().clipboard.copy(list_, selection());
    updateActions();
  }
}

void MarkerRecordsDialog::cutRows() {
  const RecordSelection rows = selection();
  if (!transferRunning() && !rows.empty()) {
    session_.records().clipboard.cut(list_, rows);
    list_.markModified();
    refreshFromList();
  }
}

void MarkerRecordsDialog::pasteRows() {
  RecordClipboard &clipboard = session_.records().clipboard;
  if (!transferRunning() && clipboard.canPasteInto(kind_)) {
    clipboard.paste(list_);
    list_.markModified();
    refreshFromList();
  }
}

void MarkerRecordsDialog::deleteRows() {
  const RecordSelection rows = selection();
  if (!transferRunning() && !rows.empty()) {
    list_.remove(rows);
    list_.markModified();
    refreshFromList();
  }
}

void MarkerRecordsDialog::showSelectionInPositions() {
  std::set<int> rows;
  for (const std::size_t row : selection()) {
    rows.insert(static_cast<int>(row));
  }
  positions_->setSelectedRows(std::move(rows));
}

void MarkerRecordsDialog::selectRowFromPositions(int row, bool extend) {
  const QModelIndex index = model_->index(row, 0);
  if (!index.isValid()) {
    return;
  }
  const auto command =
      (extend ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect) |
      QItemSelectionModel::Rows;
  table_->selectionModel()->select(index, command);
  table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  table_->scrollTo(index);
}

void MarkerRecordsDialog::reject() {
  if (transferRunning()) {
    runner_.stop();
  }
  onTransferFinished();
  if (!files_.askToSaveChanges(list_)) {
    return;
  }
  QDialog::reject();
}

} // namespace tarnwick::ui
