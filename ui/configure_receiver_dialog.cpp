#include "configure_receiver_dialog.h"

#include "dialog_font.h"
#include "session.h"
#include "setting_list_view.h"
#include "setting_state_icons.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <utility>

namespace tarnwick::ui {

namespace {

using Page = ConfigurationEditor::Page;

constexpr int kWidthDlu = 377;
constexpr int kHeightDlu = 306;
constexpr int kMarkerListWidth = 190;
constexpr int kListRows = SettingList::kMaxEntries;

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct RadioGroup {
  ListId list;
  int title;      // dialog text items
  int firstEntry; // the entries' texts follow in order
  int count;
};

constexpr RadioGroup kUnitsGroup{ListId::Units, item::kUnitsGroup, item::kFirstUnit, 3};
constexpr RadioGroup kDateGroup{ListId::Date, item::kDateGroup, item::kFirstDateFormat, 2};

QButtonGroup *makeRadioGroup(QWidget *page, QVBoxLayout *column, const RadioGroup &group,
                             const DialogTexts &texts) {
  auto *box = new QGroupBox(texts(group.title), page);
  box->setObjectName(fromView(listWord(group.list)));
  auto *buttons = new QButtonGroup(box);
  auto *layout = new QVBoxLayout(box);
  for (int entry = 0; entry < group.count; ++entry) {
    auto *radio = new QRadioButton(texts(group.firstEntry + entry), box);
    radio->setObjectName(fromView(listWord(group.list)) + QString::number(entry));
    buttons->addButton(radio, entry);
    layout->addWidget(radio);
  }
  column->addWidget(box);
  return buttons;
}

// None checked when the editor has no selection, which an exclusive group
// cannot show.
void checkRadio(QButtonGroup &group, int selected) {
  group.setExclusive(false);
  for (QAbstractButton *button : group.buttons()) {
    button->setChecked(group.id(button) == selected);
  }
  group.setExclusive(true);
}

void setButtonsEnabled(QButtonGroup &group, bool enabled) {
  for (QAbstractButton *button : group.buttons()) {
    button->setEnabled(enabled);
  }
}

} // namespace

ConfigureReceiverDialog::ConfigureReceiverDialog(AppContext &context, InstallTree tree,
                                                 ReceiverConfiguration &configuration,
                                                 CountrySource country, QWidget *parent)
    : QDialog(parent), context_(context), texts_(&context.strings, dialog::kConfigureReceiver),
      editor_(context, std::move(tree), configuration, std::move(country)), runner_(context) {
  connect(&runner_, &ToolRunner::tick, this, &ConfigureReceiverDialog::refresh);
  connect(&runner_, &ToolRunner::finished, this, &ConfigureReceiverDialog::onWorkFinished);
  setObjectName(QStringLiteral("configureReceiver"));
  setWindowTitle(fromView(kInitialCaption));
  buildControls();
  editor_.start();
  refresh();
  resize(dialogUnits(*this, kWidthDlu, kHeightDlu).expandedTo(sizeHint()));
  connect(&timer_, &QTimer::timeout, this, &ConfigureReceiverDialog::onTimer);
  timer_.start(Editor::kTimerMs);
}

ConfigureReceiverDialog::~ConfigureReceiverDialog() {
  runner_.stop();
}

SettingListView *ConfigureReceiverDialog::listView(ListId list) const {
  const auto found = views_.find(list);
  return found == views_.end() ? nullptr : found->second;
}

namespace {

// A widget that keeps its place in the layout while hidden, so showing it
// does not move the controls around it.
void keepPlaceWhenHidden(QWidget &widget) {
  QSizePolicy policy = widget.sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget.setSizePolicy(policy);
  widget.hide();
}

} // namespace

void ConfigureReceiverDialog::buildControls() {
  tabs_ = new QTabWidget(this);
  setResourceId(*tabs_, Editor::kTabs);
  const std::array<QWidget *, Editor::kTabCount> pages = {
      makeUnitsDatePage(), makeMarkerTypesPage(), makeFrequencyPage(Page::LocateFrequencies),
      makeFrequencyPage(Page::ToneFrequencies)};
  for (std::size_t tab = 0; tab < pages.size(); ++tab) {
    tabs_->addTab(pages[tab], texts_.string(Editor::kTabTitles[tab]));
  }
  auto *middle = new QHBoxLayout;
  auto *left = new QVBoxLayout;
  left->addWidget(tabs_, 1);
  left->addWidget(makeLegend());
  middle->addLayout(left, 1);
  middle->addLayout(makeSideColumn());

  progress_ = new QProgressBar(this);
  setResourceId(*progress_, Editor::kProgressBar);
  progress_->setTextVisible(false);
  keepPlaceWhenHidden(*progress_);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(makeSupervisorBanner());
  layout->addWidget(makeTopRow());
  layout->addLayout(middle, 1);
  layout->addWidget(progress_);
  layout->addLayout(makeStatusRow());
}

QLayout *ConfigureReceiverDialog::makeSideColumn() {
  addButton(Editor::kNewButton, &ConfigureReceiverDialog::onNew);
  addButton(Editor::kOpenButton, &ConfigureReceiverDialog::onOpen);
  addButton(Editor::kSaveButton, &ConfigureReceiverDialog::onSave);
  addButton(Editor::kSaveAsButton, &ConfigureReceiverDialog::onSaveAs);
  addButton(Editor::kSupervisorLoginButton, &ConfigureReceiverDialog::onSupervisorLogin);
  addButton(Editor::kSupervisorLogoutButton, &ConfigureReceiverDialog::onSupervisorLogout);
  addButton(Editor::kChangePasswordButton, &ConfigureReceiverDialog::onChangePassword);
  addButton(Editor::kCheckReceiverModelButton, &ConfigureReceiverDialog::onCheckReceiverModel);

  auto *side = new QVBoxLayout;
  for (int id :
       {Editor::kNewButton, Editor::kOpenButton, Editor::kSaveButton, Editor::kSaveAsButton}) {
    side->addWidget(buttons_[id]);
  }
  side->addSpacing(16);
  side->addWidget(buttons_[Editor::kSupervisorLoginButton]);
  side->addWidget(buttons_[Editor::kSupervisorLogoutButton]);
  side->addWidget(buttons_[Editor::kChangePasswordButton]);
  side->addSpacing(16);
  side->addWidget(buttons_[Editor::kCheckReceiverModelButton]);
  side->addStretch(1);
  return side;
}

QLayout *ConfigureReceiverDialog::makeStatusRow() {
  status_ = makeValueField(this, Editor::kStatusLine, QString());
  status_->setWordWrap(true);
  status_->setMinimumHeight(2 * status_->fontMetrics().height() + 6);
  addButton(Editor::kSendConfigButton, &ConfigureReceiverDialog::onSendConfig);
  addButton(Editor::kExitButton, &ConfigureReceiverDialog::onExit);
  auto *row = new QHBoxLayout;
  row->addWidget(status_, 1);
  row->addWidget(buttons_[Editor::kSendConfigButton]);
  row->addWidget(buttons_[Editor::kExitButton]);
  return row;
}

QWidget *ConfigureReceiverDialog::makeTopRow() {
  auto *row = new QWidget(this);
  modelBox_ = new QComboBox(row);
  setResourceId(*modelBox_, Editor::kModelBox);
  modelBox_->setFont(boldDialogFont());
  for (int index = 0; index < kModelCount; ++index) {
    modelBox_->addItem(fromView(modelName(static_cast<ModelIndex>(index))));
  }
  modelBox_->setMaxVisibleItems(kModelCount);
  connect(modelBox_, &QComboBox::currentIndexChanged, this,
          &ConfigureReceiverDialog::onModelChosen);
  auto *label = new QLabel(texts_(item::kModelBoxLabel), row);
  label->setBuddy(modelBox_);
  auto *layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label);
  layout->addWidget(modelBox_);
  layout->addStretch(1);
  return row;
}

QWidget *ConfigureReceiverDialog::makeUnitsDatePage() {
  auto *page = new QWidget(tabs_);
  page->setObjectName(QStringLiteral("unitsDatePage"));
  auto *groups = new QHBoxLayout;
  auto *unitsColumn = new QVBoxLayout;
  auto *dateColumn = new QVBoxLayout;
  units_ = makeRadioGroup(page, unitsColumn, kUnitsGroup, texts_);
  date_ = makeRadioGroup(page, dateColumn, kDateGroup, texts_);
  unitsColumn->addStretch(1);
  dateColumn->addStretch(1);
  groups->addLayout(unitsColumn);
  groups->addLayout(dateColumn);
  groups->addStretch(1);
  auto *layout = new QVBoxLayout(page);
  layout->addLayout(groups);
  layout->addStretch(1);
  connect(units_, &QButtonGroup::idClicked, this, [this](int entry) {
    editor_.selectUnits(entry);
    refresh();
  });
  connect(date_, &QButtonGroup::idClicked, this, [this](int entry) {
    editor_.selectDateFormat(entry);
    refresh();
  });
  return page;
}

QWidget *ConfigureReceiverDialog::makeMarkerTypesPage() {
  auto *page = new QWidget(tabs_);
  page->setObjectName(QStringLiteral("markerTypesPage"));
  auto *layout = new QVBoxLayout(page);
  SettingListView *view = addListView(page, ListId::MarkerTypes, QString());
  view->fitRows(kMarkerTypeCount, kMarkerListWidth);
  markerTypesNotValid_ = addNotValidText(page);
  layout->addWidget(view);
  layout->addWidget(markerTypesNotValid_);
  layout->addStretch(1);
  return page;
}

QWidget *ConfigureReceiverDialog::makeFrequencyPage(Page which) {
  auto *page = new QWidget(tabs_);
  const bool locate = which == Page::LocateFrequencies;
  page->setObjectName(locate ? QStringLiteral("locateFrequenciesPage")
                             : QStringLiteral("toneFrequenciesPage"));
  auto *lists = new QWidget(page);
  auto *row = new QHBoxLayout(lists);
  row->setContentsMargins(0, 0, 0, 0);
  const auto ids = Editor::frequencyLists(which);
  for (std::size_t column = 0; column < ids.size(); ++column) {
    const QString title = texts_(item::kFirstFrequencyColumn + static_cast<int>(column));
    SettingListView *view = addListView(lists, ids[column], title);
    // The column is as wide as its title needs when that is more.
    view->fitRows(kListRows,
                  std::max(SettingListView::kColumnWidth, view->header()->sectionSizeHint(0)));
    row->addWidget(view, 0, Qt::AlignTop);
  }
  row->addStretch(1);
  QLabel *notValid = addNotValidText(page);
  const std::size_t slot = locate ? 0 : 1;
  frequencyLists_[slot] = lists;
  frequenciesNotValid_[slot] = notValid;
  auto *layout = new QVBoxLayout(page);
  layout->addWidget(lists);
  layout->addWidget(notValid);
  layout->addStretch(1);
  return page;
}

// What the three pictures mean, under the pages: a key to read, set apart
// in a sunken panel, with "=" between each picture and its words, so that
// nothing in it looks like a box to tick.
QWidget *ConfigureReceiverDialog::makeLegend() {
  auto *legend = new QFrame(this);
  legend->setObjectName(QStringLiteral("legend"));
  legend->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  legend->setFocusPolicy(Qt::NoFocus);
  QPalette muted = legend->palette();
  muted.setColor(QPalette::WindowText, muted.color(QPalette::Disabled, QPalette::WindowText));
  auto *layout = new QHBoxLayout(legend);
  layout->setContentsMargins(8, 3, 8, 3);
  auto *heading = new QLabel(texts_(item::kLegendHeading), legend);
  heading->setPalette(muted);
  layout->addWidget(heading);
  for (const SettingState state :
       {SettingState::Enabled, SettingState::Disabled, SettingState::Masked}) {
    auto *picture = new QLabel(legend);
    picture->setPixmap(QPixmap::fromImage(settingStateImage(state)));
    auto *words =
        new QLabel(texts_.format(item::kLegendEntry, {texts_(stateTextItem(state))}), legend);
    words->setObjectName(QStringLiteral("legendText"));
    words->setPalette(muted);
    layout->addSpacing(10);
    layout->addWidget(picture);
    layout->addWidget(words);
  }
  layout->addStretch(1);
  return legend;
}

// Shown across the top while a supervisor is logged in.
QWidget *ConfigureReceiverDialog::makeSupervisorBanner() {
  auto *banner = new QLabel(texts_(item::kSupervisorBanner), this);
  banner->setObjectName(QStringLiteral("supervisorState"));
  banner->setAlignment(Qt::AlignCenter);
  banner->setFont(boldDialogFont());
  banner->setAutoFillBackground(true);
  banner->setMargin(4);
  QPalette warning = banner->palette();
  warning.setColor(QPalette::Window, QColor(0xf6, 0xc3, 0x43));
  warning.setColor(QPalette::WindowText, QColor(0x3a, 0x26, 0x00));
  banner->setPalette(warning);
  banner->hide();
  supervisorBanner_ = banner;
  return banner;
}

SettingListView *ConfigureReceiverDialog::addListView(QWidget *page, ListId list,
                                                      const QString &title) {
  auto *view = new SettingListView(list, title, page, &context_.strings);
  views_[list] = view;
  connect(view, &SettingListView::entryClicked, this, &ConfigureReceiverDialog::onEntryClicked);
  return view;
}

QLabel *ConfigureReceiverDialog::addNotValidText(QWidget *page) {
  auto *text = new QLabel(QString::fromStdString(context_.text(sid::kConfigurationNotValid)), page);
  text->setObjectName(QStringLiteral("notValid"));
  text->setFont(boldDialogFont());
  text->setWordWrap(true);
  text->hide();
  return text;
}

QPushButton *ConfigureReceiverDialog::addButton(int id, void (ConfigureReceiverDialog::*action)()) {
  auto *button = makeButton(this, id, texts_(id));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, action);
  buttons_[id] = button;
  return button;
}

void ConfigureReceiverDialog::refresh() {
  const Editor::Snapshot view = editor_.snapshot();
  setWindowTitle(QString::fromStdString(view.caption));
  {
    const QSignalBlocker block(modelBox_);
    modelBox_->setCurrentIndex(view.modelSelection);
  }
  const bool idle = !view.busy && !view.inputFrozen && !workerRunning();
  refreshPages(view, idle);
  refreshButtons(view);
  progress_->setRange(0, view.progressMax);
  progress_->setValue(view.progressPosition);
  progress_->setVisible(view.progressVisible);
  status_->setText(QString::fromStdString(view.status));
  supervisorBanner_->setVisible(view.supervisor);
}

void ConfigureReceiverDialog::refreshPages(const Editor::Snapshot &view, bool idle) {
  for (auto &[list, listView] : views_) {
    listView->showEntries(listOf(view.lists, list));
    listView->setEnabled(idle);
  }
  views_.at(ListId::MarkerTypes)->setVisible(view.markerTypesValid);
  markerTypesNotValid_->setVisible(!view.markerTypesValid);
  for (std::size_t page = 0; page < frequencyLists_.size(); ++page) {
    frequencyLists_[page]->setVisible(view.frequenciesValid);
    frequenciesNotValid_[page]->setVisible(!view.frequenciesValid);
  }
  checkRadio(*units_, view.unitsSelection);
  checkRadio(*date_, view.dateSelection);
  setButtonsEnabled(*units_, idle);
  setButtonsEnabled(*date_, idle);
}

void ConfigureReceiverDialog::refreshButtons(const Editor::Snapshot &view) {
  for (auto &[id, button] : buttons_) {
    // Exit stays available: it is how a long wait is given up.
    const bool free = !workerRunning() || id == Editor::kExitButton;
    button->setEnabled(free && view.enabled(id));
  }
  modelBox_->setEnabled(!workerRunning() && view.enabled(Editor::kModelBox));
}

void ConfigureReceiverDialog::tickTimer() {
  onTimer();
}

void ConfigureReceiverDialog::onTimer() {
  editor_.onTimer();
  refresh();
}

void ConfigureReceiverDialog::onModelChosen(int position) {
  editor_.selectModel(position);
  refresh();
}

void ConfigureReceiverDialog::onEntryClicked(ListId list, int entry) {
  editor_.clickEntry(list, entry);
  refresh();
}

void ConfigureReceiverDialog::onNew() {
  editor_.newConfiguration();
  refresh();
}

void ConfigureReceiverDialog::onOpen() {
  editor_.openConfiguration();
  refresh();
}

void ConfigureReceiverDialog::onSave() {
  editor_.save();
  refresh();
}

void ConfigureReceiverDialog::onSaveAs() {
  editor_.saveAs();
  refresh();
}

void ConfigureReceiverDialog::onSupervisorLogin() {
  editor_.supervisorLogin();
  refresh();
}

void ConfigureReceiverDialog::onSupervisorLogout() {
  editor_.supervisorLogout();
  refresh();
}

void ConfigureReceiverDialog::onChangePassword() {
  editor_.changePassword();
  refresh();
}

void ConfigureReceiverDialog::onCheckReceiverModel() {
  const Editor::Snapshot view = editor_.snapshot();
  if (workerRunning() || view.inputFrozen || !view.enabled(Editor::kCheckReceiverModelButton)) {
    return;
  }
  startWork(Work::CheckModel, editor_.modelCheck());
}

// The port is chosen on the interface thread; the lines go out on the
// runner's worker.
void ConfigureReceiverDialog::onSendConfig() {
  if (workerRunning()) {
    return;
  }
  startWork(Work::Send, editor_.sendTool());
}

void ConfigureReceiverDialog::onExit() {
  accept();
}

void ConfigureReceiverDialog::startWork(Work work, Tool &tool) {
  work_ = work;
  // Stopping a send half-way leaves the receiver half configured: closing asks.
  const StringId stopQuestion = work == Work::Send ? sid::kStopWhileSending : 0;
  if (!runner_.start(tool, stopQuestion)) {
    // Ended on the interface thread (finished has been handled) or refused.
    work_ = Work::None;
  }
  refresh();
}

void ConfigureReceiverDialog::onWorkFinished() {
  const Work finished = std::exchange(work_, Work::None);
  if (finished == Work::Send) {
    lastSendResult_ = editor_.sending().snapshot().result;
  }
  refresh();
  emit workFinished();
}

bool ConfigureReceiverDialog::mayClose() {
  if (!runner_.mayStop()) {
    return false;
  }
  runner_.stop();
  const Editor::Snapshot view = editor_.snapshot();
  if (!view.unsavedChanges || view.closed) {
    return true;
  }
  const std::string question = context_.text(sid::kSaveChangesTo) + view.fileName + " ?";
  switch (context_.user.ask(question, Buttons::YesNoCancel)) {
  case Answer::Yes: {
    const bool saved = editor_.save();
    refresh();
    return saved;
  }
  case Answer::No:
    return true;
  case Answer::Cancel:
  case Answer::Ok:
    break;
  }
  return false;
}

void ConfigureReceiverDialog::done(int result) {
  if (!mayClose()) {
    return;
  }
  runner_.stop();
  timer_.stop();
  editor_.exit();
  QDialog::done(result);
}

std::function<void(QWidget &parent)> configureReceiverOpener(Session &session) {
  return [&session](QWidget &parent) {
    ConfigureReceiverDialog dialog(session.context(), session.tree(), session.configuration(),
                                   session.countrySource(), &parent);
    dialog.exec();
  };
}

} // namespace tarnwick::ui
