#include "main_screen_window.h"

#include "builtin_images.h"
#include "configure_receiver_dialog.h"
#include "dialog_font.h"
#include "marker_utility_window.h"
#include "port_settings.h"
#include "receiver_version_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tarnwick::ui {

namespace {

constexpr int kPictureMargin = 8;
constexpr int kToolButtonWidth = 230;

QString fromPath(const std::filesystem::path &path) {
  return QFile::decodeName(path.c_str());
}

QLabel *makeText(QWidget *parent, const QString &text) {
  auto *label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

struct ToolRow {
  MainScreen::Tool tool;
  int description; // the dialog text beside the button
};

// The tool buttons in screen order, each with the sentence beside it.
constexpr ToolRow kToolRows[] = {
    {MainScreen::Tool::InitialConfiguration, item::kInitialConfigurationText},
    {MainScreen::Tool::UpgradeSoftware, item::kUpgradeHintText},
    {MainScreen::Tool::ConfigureReceiver, item::kConfigureReceiverText},
    {MainScreen::Tool::MarkerUtility, item::kMarkerUtilityText},
    {MainScreen::Tool::LanguageConfiguration, item::kLanguageConfigurationText},
};

constexpr MainScreen::Tool kAllTools[] = {
    MainScreen::Tool::InitialConfiguration,  MainScreen::Tool::UpgradeSoftware,
    MainScreen::Tool::LanguageConfiguration, MainScreen::Tool::ConfigureReceiver,
    MainScreen::Tool::MarkerUtility,         MainScreen::Tool::FactoryEepromDownload,
    MainScreen::Tool::ReceiverVersion,
};

QImage scaledTo(const QImage &image, int width, int height) {
  return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage countryListImage(const std::filesystem::path &file) {
  QImage image;
  if (!file.empty()) {
    image.load(fromPath(file));
  }
  if (image.isNull()) {
    return builtInListImage();
  }
  return scaledTo(image, MainScreen::kListImageWidth, MainScreen::kListImageHeight);
}

MainScreenWindow::MainScreenWindow(Session &session, QWidget *parent)
    : QDialog(parent), logic_(session.context(), session.tree(), session.country()),
      session_(session), texts_(&session.context().strings, dialog::kMainScreen) {
  setObjectName(controlName(MainScreen::kDialogId));
  setWindowTitle(texts_(item::kCaption));
  setWindowIcon(builtInIcon());
  setModal(false);
  buildControls();
  setToolOpener(Tool::ReceiverVersion, [this](QWidget &owner) {
    ReceiverVersionDialog dialog(session_.context(), &owner);
    dialog.exec();
  });
  setToolOpener(Tool::ConfigureReceiver, configureReceiverOpener(session_));
  setToolOpener(Tool::MarkerUtility, [this](QWidget &owner) {
    MarkerUtilityWindow window(session_, &owner);
    window.exec();
  });
  logic_.open();
  fillLists();
  refresh();
  fitToDialogUnits();
  connect(&statusTimer_, &QTimer::timeout, this, &MainScreenWindow::refreshStatus);
  statusTimer_.start(kStatusMs);
  refreshStatus();
}

void MainScreenWindow::buildControls() {
  for (const auto &button : MainScreen::kButtons) {
    buttons_[button.id] = makeButton(this, button.id, texts_(button.id));
  }
  buttons_[MainScreen::kConfigureReceiver]->setDefault(true);
  for (const Tool tool : kAllTools) {
    connect(buttons_[MainScreen::buttonOf(tool)], &QPushButton::clicked, this,
            [this, tool] { onButton(tool); });
  }
  connect(buttons_[MainScreen::kExit], &QPushButton::clicked, this, &MainScreenWindow::onExit);
  portButton_ = makeButton(this, item::kPortButton, texts_(item::kPortButton));
  connect(portButton_, &QPushButton::clicked, this, &MainScreenWindow::changePort);

  // The rows share the height under the pictures evenly.
  auto *rows = new QVBoxLayout;
  rows->addStretch(1);
  for (const ToolRow &toolRow : kToolRows) {
    QPushButton *button = buttons_[MainScreen::buttonOf(toolRow.tool)];
    button->setFixedWidth(kToolButtonWidth);
    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(button);
    row->addWidget(makeText(this, texts_(toolRow.description)), 1);
    rows->addLayout(row);
    rows->addStretch(1);
  }

  auto *bottom = new QHBoxLayout;
  bottom->addWidget(buttons_[MainScreen::kReceiverVersion]);
  bottom->addWidget(buttons_[MainScreen::kFactoryEepromDownload]);
  bottom->addWidget(portButton_);
  bottom->addStretch();
  bottom->addWidget(buttons_[MainScreen::kExit]);

  auto *layout = new QVBoxLayout(this);
  topArea_ = makeTopArea();
  layout->addWidget(topArea_);
  layout->addLayout(rows, 1);
  layout->addSpacing(12);
  layout->addLayout(bottom);
  layout->addWidget(makeStatusBar());
}

QStatusBar *MainScreenWindow::makeStatusBar() {
  auto *bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("statusBar"));
  bar->setSizeGripEnabled(false);
  portStatus_ = new QLabel(bar);
  receiverStatus_ = new QLabel(bar);
  activityStatus_ = new QLabel(bar);
  portStatus_->setObjectName(QStringLiteral("portStatus"));
  receiverStatus_->setObjectName(QStringLiteral("receiverStatus"));
  activityStatus_->setObjectName(QStringLiteral("activityStatus"));
  for (QLabel *panel : {portStatus_, receiverStatus_, activityStatus_}) {
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setMargin(2);
  }
  bar->addWidget(portStatus_);
  bar->addWidget(receiverStatus_);
  bar->addWidget(activityStatus_, 1);
  return bar;
}

QStringList MainScreenWindow::statusTexts() const {
  return {portStatus_->text(), receiverStatus_->text(), activityStatus_->text()};
}

void MainScreenWindow::refreshStatus() {
  const AppContext &context = session_.context();
  portStatus_->setText(
      context.portState.isOpen()
          ? texts_.format(item::kStatusPort, {QString::fromStdString(context.portState.port()),
                                              QString::number(context.portState.baud())})
          : texts_(item::kStatusNoPort));
  const auto receiver = context.activity.receiver();
  receiverStatus_->setText(
      receiver ? texts_.format(item::kStatusReceiver, {QString::fromStdString(receiver->model),
                                                       QString::number(receiver->softwareVersion)})
               : texts_(item::kStatusNoReceiver));
  const std::string waitingFor = context.activity.waitingFor();
  if (!context.activity.talking()) {
    activityStatus_->setText(texts_(item::kStatusIdle));
  } else if (waitingFor.empty()) {
    activityStatus_->setText(texts_(item::kStatusTalkingPlain));
  } else {
    activityStatus_->setText(
        texts_.format(item::kStatusTalking, {QString::fromStdString(waitingFor)}));
  }
  portButton_->setEnabled(!context.portLease.held());
}

void MainScreenWindow::changePort() {
  AppContext &context = session_.context();
  if (context.portLease.held()) {
    return; // a tool talks to the receiver
  }
  if (!context.serialLibrary.ready) {
    const auto &why = context.serialLibrary.message;
    context.user.message(why.empty() ? context.text(sid::kReceiverToolsUnavailable) : why);
    return;
  }
  const bool wasOpen = context.portState.isOpen();
  const PortChoice previous{context.portState.port(), std::to_string(context.portState.baud())};
  CommunicationOptions options(context);
  // Choosing probes every port, which closes the open one: Cancel reopens it.
  if (!options.show() && wasOpen) {
    options.accept(previous);
  }
  refreshStatus();
}

QWidget *MainScreenWindow::makeTopArea() {
  auto *area = new QWidget(this);
  countryList_ = new QComboBox(area);
  setResourceId(*countryList_, MainScreen::kCountryList);
  countryList_->setFont(boldDialogFont());
  countryList_->setIconSize(QSize(MainScreen::kListImageWidth, MainScreen::kListImageHeight));
  languageList_ = new QComboBox(area);
  setResourceId(*languageList_, MainScreen::kLanguageList);
  languageList_->setFont(boldDialogFont());
  connect(countryList_, &QComboBox::currentIndexChanged, this, [this](int index) {
    logic_.selectCountry(index);
    refresh();
  });
  connect(languageList_, &QComboBox::currentIndexChanged, this, [this](int index) {
    logic_.selectLanguage(index);
    refresh();
  });

  auto *column = new QVBoxLayout;
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(makeText(area, texts_(item::kSelectCountryText)));
  column->addWidget(countryList_);
  column->addSpacing(16);
  column->addWidget(new QLabel(texts_(item::kLanguageLabel), area));
  column->addWidget(languageList_);
  column->addStretch();
  auto *columnHolder = new QWidget(area);
  columnHolder->setObjectName(QStringLiteral("selectionColumn"));
  columnHolder->setLayout(column);

  auto *row = new QHBoxLayout(area);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(columnHolder);
  row->addStretch(); // the pictures are painted here
  return area;
}

void MainScreenWindow::fillLists() {
  const MainScreen::Snapshot snapshot = logic_.snapshot();
  const QSignalBlocker countryBlock(countryList_);
  const QSignalBlocker languageBlock(languageList_);
  countryList_->clear();
  for (const auto &country : snapshot.countries) {
    countryList_->addItem(QPixmap::fromImage(countryListImage(country.listImage)),
                          QString::fromStdString(country.name));
  }
  languageList_->clear();
  for (const auto &language : snapshot.languages) {
    // The program's own entry in the user interface's language; the others
    // are named by their packs' files.
    languageList_->addItem(language == install::kEnglish ? texts_(item::kEnglishEntry)
                                                         : QString::fromStdString(language));
  }
}

void MainScreenWindow::refresh() {
  const MainScreen::Snapshot snapshot = logic_.snapshot();
  for (const auto &control : snapshot.controls) {
    QWidget *widget = nullptr;
    if (auto found = buttons_.find(control.id); found != buttons_.end()) {
      widget = found->second;
    } else if (control.id == MainScreen::kCountryList) {
      widget = countryList_;
    } else if (control.id == MainScreen::kLanguageList) {
      widget = languageList_;
    }
    if (widget != nullptr) {
      widget->setEnabled(control.enabled);
      widget->setVisible(control.visible);
    }
  }
  for (const Tool tool : kAllTools) {
    QPushButton *button = buttons_[MainScreen::buttonOf(tool)];
    if (!hasTool(tool)) {
      button->setEnabled(false);
      button->setToolTip(
          uiText(&session_.context().strings, dialog::kShared, item::kNotInThisVersion));
    } else {
      button->setToolTip(QString());
    }
  }
  {
    const QSignalBlocker countryBlock(countryList_);
    const QSignalBlocker languageBlock(languageList_);
    countryList_->setCurrentIndex(snapshot.countryIndex);
    languageList_->setCurrentIndex(snapshot.languageIndex);
  }
  loadPictures(snapshot);
  update();
}

void MainScreenWindow::loadPictures(const MainScreen::Snapshot &snapshot) {
  if (snapshot.countryPicture != countryPicturePath_ || countryPicture_.isNull()) {
    countryPicturePath_ = snapshot.countryPicture;
    countryPicture_ = QImage();
    if (!countryPicturePath_.empty()) {
      // A picture that cannot be loaded is simply not drawn.
      countryPicture_.load(fromPath(countryPicturePath_));
    }
  }
  if (snapshot.receiverPicture != receiverPicturePath_ || !receiverPictureLoaded_) {
    receiverPicturePath_ = snapshot.receiverPicture;
    receiverPicture_ = QImage();
    if (!receiverPicturePath_.empty()) {
      receiverPicture_.load(fromPath(receiverPicturePath_));
    }
    if (receiverPicture_.isNull()) {
      receiverPicture_ = builtInReceiverPicture();
    }
    receiverPictureLoaded_ = true;
  }
}

// The dialog keeps its designed size in dialog units of this system's font,
// grown where the controls need more room; the top area leaves the pictures
// free.
void MainScreenWindow::fitToDialogUnits() {
  QSize size = dialogUnits(*this, MainScreen::kWidthDlu, MainScreen::kHeightDlu);
  const QMargins margins = layout()->contentsMargins();
  auto *column = topArea_->findChild<QWidget *>(QStringLiteral("selectionColumn"));
  for (int pass = 0; pass < 2; ++pass) {
    const auto receiver = MainScreen::receiverPicturePlacement(size.width(), size.height());
    const auto country = MainScreen::countryPicturePlacement(size.width(), size.height());
    const int picturesBottom =
        std::max(receiver.y + receiver.height, country.y + country.height) + kPictureMargin;
    topArea_->setFixedHeight(std::max(0, picturesBottom - margins.top()));
    column->setFixedWidth(std::max(120, receiver.x - kPictureMargin - margins.left()));
    size = size.expandedTo(layout()->minimumSize());
  }
  setFixedSize(size);
}

void MainScreenWindow::paintEvent(QPaintEvent *event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  const int w = width();
  const int h = height();
  if (!countryPicture_.isNull()) {
    const auto at = MainScreen::countryPicturePlacement(w, h);
    painter.drawImage(QPoint(at.x, at.y), scaledTo(countryPicture_, at.width, at.height));
  }
  const auto at = MainScreen::receiverPicturePlacement(w, h);
  painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  painter.drawImage(QPoint(at.x, at.y), scaledTo(receiverPicture_, at.width, at.height));
}

void MainScreenWindow::setToolOpener(Tool tool, ToolOpener opener) {
  if (opener) {
    openers_[tool] = std::move(opener);
  } else {
    openers_.erase(tool);
  }
  refresh();
}

void MainScreenWindow::onButton(Tool tool) {
  const auto opener = openers_.find(tool);
  if (opener == openers_.end() || !logic_.mayOpen(tool)) {
    return;
  }
  opener->second(*this);
  refresh();
}

void MainScreenWindow::onExit() {
  logic_.exit();
  quitting_ = true;
  emit quitRequested();
  hide();
}

void MainScreenWindow::closeEvent(QCloseEvent *event) {
  if (!quitting_) {
    logic_.close();
    quitting_ = true;
    emit quitRequested();
  }
  event->accept();
}

} // namespace tarnwick::ui
