#include "communication_options_dialog.h"

#include "dialog_font.h"
#include "port_settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnwick::ui {

namespace {

QComboBox *makeList(QWidget *parent, int resourceId, const std::vector<std::string> &items) {
  auto *list = new QComboBox(parent);
  setResourceId(*list, resourceId);
  list->setFont(boldDialogFont());
  for (const auto &item : items) {
    list->addItem(QString::fromStdString(item));
  }
  return list;
}

} // namespace

CommunicationOptionsDialog::CommunicationOptionsDialog(const std::vector<std::string> &ports,
                                                       const std::vector<std::string> &rates,
                                                       const std::string &selectedRate,
                                                       QWidget *parent)
    : QDialog(parent), portList_(makeList(this, kPortListId, ports)),
      rateList_(makeList(this, kRateListId, rates)) {
  setObjectName(controlName(kCommunicationOptionsDialogId));
  setWindowTitle(QString::fromUtf8(kCommunicationOptionsCaption.data(),
                                   static_cast<qsizetype>(kCommunicationOptionsCaption.size())));
  // Device paths are long; the list must show them whole.
  portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  portList_->setMinimumContentsLength(12);
  if (portList_->count() > 0) {
    portList_->setCurrentIndex(0);
  }
  const int rateIndex = rateList_->findText(QString::fromStdString(selectedRate));
  rateList_->setCurrentIndex(rateIndex >= 0 ? rateIndex : 0);

  auto *grid = new QGridLayout;
  grid->addWidget(new QLabel(tr("Comport"), this), 0, 0);
  grid->addWidget(portList_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(tr("Baud Rate"), this), 1, 0);
  grid->addWidget(rateList_, 1, 1);
  grid->addWidget(new QLabel(tr("bps"), this), 1, 2);
  grid->setColumnStretch(1, 1);

  auto *ok = makeButton(this, 1, tr("OK"));
  auto *cancel = makeButton(this, 2, tr("Cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
}

PortChoice CommunicationOptionsDialog::choice() const {
  return {portList_->currentText().toStdString(), rateList_->currentText().toStdString()};
}

std::optional<PortChoice> CommunicationOptionsDialog::choose(const std::vector<std::string> &ports,
                                                             const std::vector<std::string> &rates,
                                                             const std::string &selectedRate,
                                                             QWidget *parent) {
  CommunicationOptionsDialog dialog(ports, rates, selectedRate, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.choice();
}

} // namespace tarnwick::ui
