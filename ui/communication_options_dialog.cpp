#include "communication_options_dialog.h"

#include "dialog_font.h"
#include "error_reason.h"
#include "port_settings.h"
#include "ui_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>

namespace tarnwick::ui {

namespace {

QComboBox *makeList(QWidget *parent, int resourceId) {
  auto *list = new QComboBox(parent);
  setResourceId(*list, resourceId);
  list->setFont(boldDialogFont());
  return list;
}

bool contains(const std::vector<std::string> &list, const std::string &value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The item of a reason the dialog words itself; 0 for the system's words.
int reasonItem(int error) {
  switch (error) {
  case EACCES:
  case EPERM:
    return item::kReasonPermission;
  case EBUSY:
    return item::kReasonBusy;
  case EIO:
    return item::kReasonInputOutput;
  case ENOENT:
  case ENODEV:
  case ENXIO:
    return item::kReasonGone;
  default:
    return 0;
  }
}

} // namespace

QString portRefusalReason(const StringTable *strings, int error) {
  const DialogTexts texts(strings, dialog::kCommunicationOptions);
  const int reason = reasonItem(error);
  const bool translated = reason != 0 && strings != nullptr &&
                          strings->dialogText({dialog::kCommunicationOptions, reason}) != nullptr;
  if (!translated) {
    return QString::fromStdString(portOpenReason(error));
  }
  if (reason == item::kReasonPermission) {
    return texts.format(reason, {texts.string(sid::kDialoutGroupHint)});
  }
  return texts(reason);
}

CommunicationOptionsDialog::CommunicationOptionsDialog(const PortListing &listing,
                                                       const StringTable *strings, QWidget *parent)
    : QDialog(parent), portList_(makeList(this, kPortListId)),
      rateList_(makeList(this, kRateListId)), refused_(new QLabel(this)) {
  const DialogTexts texts(strings, dialog::kCommunicationOptions);
  setObjectName(controlName(kCommunicationOptionsDialogId));
  setWindowTitle(texts(item::kCaption));
  for (const std::string &port : listing.ports) {
    const QString device = QString::fromStdString(port);
    portList_->addItem(
        contains(listing.simulated, port) ? texts.format(item::kSimulatedPort, {device}) : device,
        device);
  }
  for (const std::string &rate : listing.rates) {
    rateList_->addItem(QString::fromStdString(rate));
  }
  // Device paths are long; the list must show them whole.
  portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  portList_->setMinimumContentsLength(12);
  if (portList_->count() > 0) {
    portList_->setCurrentIndex(0);
  }
  const int rateIndex = rateList_->findText(QString::fromStdString(listing.selectedRate));
  rateList_->setCurrentIndex(rateIndex >= 0 ? rateIndex : 0);

  QStringList refusedLines;
  if (!listing.refused.empty()) {
    refusedLines << texts(item::kRefusedHeading);
  } else if (listing.ports.empty()) {
    refusedLines << texts(item::kNoPortsListed);
  }
  for (const RefusedPort &port : listing.refused) {
    refusedLines << texts.format(item::kRefusedPort, {QString::fromStdString(port.device),
                                                      portRefusalReason(strings, port.error)});
  }
  refused_->setObjectName(QStringLiteral("refusedPorts"));
  refused_->setText(refusedLines.join(QLatin1Char('\n')));
  refused_->setWordWrap(true);
  refused_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  refused_->setVisible(!refusedLines.isEmpty());

  auto *grid = new QGridLayout;
  grid->addWidget(new QLabel(texts(item::kPortLabel), this), 0, 0);
  grid->addWidget(portList_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(texts(item::kRateLabel), this), 1, 0);
  grid->addWidget(rateList_, 1, 1);
  grid->addWidget(new QLabel(texts(item::kBpsLabel), this), 1, 2);
  grid->setColumnStretch(1, 1);

  auto *ok = makeButton(this, item::kOk, texts(item::kOk));
  auto *cancel = makeButton(this, item::kCancel, texts(item::kCancel));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(refused_);
  layout->addStretch();
  layout->addLayout(buttons);
  setMinimumWidth(dialogUnits(*this, 167, 98).width());
}

CommunicationOptionsDialog::CommunicationOptionsDialog(const std::vector<std::string> &ports,
                                                       const std::vector<std::string> &rates,
                                                       const std::string &selectedRate,
                                                       QWidget *parent)
    : CommunicationOptionsDialog(PortListing{ports, rates, selectedRate, {}, {}}, nullptr, parent) {
}

PortChoice CommunicationOptionsDialog::choice() const {
  return {portList_->currentData().toString().toStdString(),
          rateList_->currentText().toStdString()};
}

QString CommunicationOptionsDialog::refusedText() const {
  return refused_->text();
}

std::optional<PortChoice> CommunicationOptionsDialog::choose(const PortListing &listing,
                                                             const StringTable *strings,
                                                             QWidget *parent) {
  CommunicationOptionsDialog dialog(listing, strings, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.choice();
}

std::optional<PortChoice> CommunicationOptionsDialog::choose(const std::vector<std::string> &ports,
                                                             const std::vector<std::string> &rates,
                                                             const std::string &selectedRate,
                                                             QWidget *parent) {
  return choose(PortListing{ports, rates, selectedRate, {}, {}}, nullptr, parent);
}

} // namespace tarnwick::ui
