#include "transfer_saved_data_page.h"

#include "dialog_font.h"
#include "marker_records_dialog.h"
#include "string_ids.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tarnwick::ui {

TransferSavedDataPage::TransferSavedDataPage(Session &session, QWidget *parent)
    : QWidget(parent), session_(session) {
  setObjectName(QStringLiteral("transferSavedData"));
  const std::pair<StringId, RecordKind> buttons[] = {
      {sid::kGetReadMarkerData, RecordKind::ReadMarkers},
      {sid::kGetProgrammedMarkerData, RecordKind::ProgrammedMarkers},
      {sid::kGetCableDataRecords, RecordKind::CableData},
  };
  auto *layout = new QVBoxLayout(this);
  layout->addStretch();
  for (const auto &[id, kind] : buttons) {
    auto *button = makeButton(this, id, QString::fromStdString(session_.text(id)));
    button->setAutoDefault(false);
    button->setMinimumWidth(dialogUnits(*button, 200, 0).width());
    connect(button, &QPushButton::clicked, this, [this, kind = kind] { openRecords(kind); });
    layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addSpacing(dialogUnits(*this, 0, 8).height());
  }
  layout->addStretch();
}

void TransferSavedDataPage::openRecords(RecordKind kind) {
  MarkerRecordsDialog dialog(session_, kind, this);
  emit recordsDialogOpened(&dialog);
  dialog.exec();
}

} // namespace tarnwick::ui
