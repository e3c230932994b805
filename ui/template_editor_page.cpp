#include "template_editor_page.h"

#include "dialog_font.h"
#include "length_limit.h"
#include "string_ids.h"
#include "template_widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <tuple>

namespace tarnwick::ui {

namespace {

using Editor = TemplateEditor;

constexpr int kWidthDlu = 319;
constexpr int kHeightDlu = 268;

QLabel *makeHeading(QWidget *parent, const QString &text) {
  auto *label = new QLabel(text, parent);
  label->setFont(boldDialogFont());
  return label;
}

// A label that keeps its place in the layout while hidden, so the page does
// not jump when the memory texts or the counters come and go.
void keepPlaceWhenHidden(QWidget &widget) {
  QSizePolicy policy = widget.sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget.setSizePolicy(policy);
}

} // namespace

TemplateEditorPage::TemplateEditorPage(TemplateEditor &editor, const StringTable &strings,
                                       QWidget *parent)
    : QWidget(parent), editor_(editor), texts_(&strings, dialog::kTemplateEditor) {
  setObjectName(controlName(Editor::kDialogId));
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(makeKindGroup());
  layout->addLayout(makeTemplateRows());
  layout->addSpacing(6);
  layout->addLayout(makeRowBoxes());
  layout->addSpacing(6);
  layout->addLayout(makeMemoryLine(strings));
  layout->addStretch(1);
  layout->addLayout(makeButtons());
  noDefaultButtons(*this);
  setMinimumSize(dialogUnits(*this, kWidthDlu, kHeightDlu));
  refresh();
}

// The boxes outlive this part of the page: one that loses the focus while
// the page goes must not commit into it.
TemplateEditorPage::~TemplateEditorPage() {
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    for (QLineEdit *edit : {labels_[row]->lineEdit(), descriptions_[row]->lineEdit()}) {
      edit->disconnect(this);
      // The counters' updates, whatever their context.
      QObject::disconnect(edit, &QLineEdit::textChanged, nullptr, nullptr);
      // A label's validator measures through this page; a focus-out while the
      // page goes would call it on a page no longer there.
      edit->setValidator(nullptr);
    }
  }
}

QWidget *TemplateEditorPage::makeKindGroup() {
  auto *holder = new QWidget(this);
  markerKind_ = new QRadioButton(texts_(Editor::kMarkerKindRadio), holder);
  traceKind_ = new QRadioButton(texts_(Editor::kTraceKindRadio), holder);
  setResourceId(*markerKind_, Editor::kMarkerKindRadio);
  setResourceId(*traceKind_, Editor::kTraceKindRadio);
  for (auto *radio : {markerKind_, traceKind_}) {
    radio->setFont(boldDialogFont());
    // Neither is checked at start; refresh() checks the logic's kind.
    radio->setAutoExclusive(false);
  }
  connect(markerKind_, &QRadioButton::clicked, this, [this] { chooseKind(TemplateKind::Marker); });
  connect(traceKind_, &QRadioButton::clicked, this, [this] { chooseKind(TemplateKind::Trace); });
  auto *row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(markerKind_);
  row->addSpacing(24);
  row->addWidget(traceKind_);
  row->addStretch();
  return holder;
}

QLayout *TemplateEditorPage::makeTemplateRows() {
  templateName_ = new QComboBox(this);
  setResourceId(*templateName_, Editor::kTemplateNameBox);
  templateName_->setFont(boldDialogFont());
  templateName_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  templateName_->setMinimumContentsLength(19); // 15 characters and ".utl"
  connect(templateName_, &QComboBox::activated, this, [this](int index) {
    editor_.chooseTemplateName(templateName_->itemText(index).toStdString());
    refresh();
  });
  auto *browse = makeButton(this, Editor::kBrowseButton, texts_(Editor::kBrowseButton));
  connect(browse, &QPushButton::clicked, this, [this] {
    editor_.browse();
    refresh();
  });

  userList_ = new QComboBox(this);
  setResourceId(*userList_, Editor::kUserListBox);
  userList_->setFont(boldDialogFont());
  userList_->setMinimumContentsLength(8);
  connect(userList_, &QComboBox::activated, this, [this](int index) {
    editor_.chooseUserList(userList_->itemData(index).toString().toStdString());
    refresh();
  });

  auto *grid = new QGridLayout;
  grid->addWidget(new QLabel(texts_(item::kTemplateNameLabel), this), 0, 0);
  grid->addWidget(templateName_, 0, 1);
  grid->addWidget(browse, 0, 2);
  grid->addWidget(new QLabel(texts_(item::kUserListLabel), this), 1, 0);
  grid->addWidget(userList_, 1, 1);
  grid->setColumnStretch(3, 1);
  return grid;
}

QComboBox *TemplateEditorPage::makeRowBox(int id, int characters) {
  auto *box = new QComboBox(this);
  setResourceId(*box, id);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert); // typed texts never join the list
  box->setFont(boldDialogFont());
  box->setMaxVisibleItems(20);
  // The longest entry and room for the arrow.
  box->setMinimumContentsLength(characters + 2);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return box;
}

QLayout *TemplateEditorPage::makeRowBoxes() {
  auto *grid = new QGridLayout;
  grid->addWidget(makeHeading(this, texts_(item::kLabelsHeading)), 0, 0);
  grid->addWidget(makeHeading(this, texts_(item::kDescriptionsHeading)), 0, 1);
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    auto *label = makeRowBox(Editor::kLabelBoxes[row], kMaxLabelLength + 6);
    auto *description = makeRowBox(Editor::kDescriptionBoxes[row], kMaxDescriptionLength);
    labels_[row] = label;
    descriptions_[row] = description;
    limitRowBox(*label, true);
    limitRowBox(*description, false);
    connect(label->lineEdit(), &QLineEdit::editingFinished, this,
            [this, row] { commitLabel(row); });
    connect(label, &QComboBox::activated, this, [this, row] { commitLabel(row); });
    connect(description->lineEdit(), &QLineEdit::editingFinished, this,
            [this, row] { commitDescription(row, descriptions_[row]->currentText()); });
    connect(description, &QComboBox::activated, this, [this, row](int index) {
      commitDescription(row, descriptions_[row]->itemText(index));
    });
    const int gridRow = static_cast<int>(row) + 1;
    grid->addWidget(label, gridRow, 0);
    grid->addWidget(description, gridRow, 1);
  }
  labelsLeft_ = new QLabel(this);
  descriptionsLeft_ = new QLabel(this);
  labelsLeft_->setObjectName(QStringLiteral("labelCharactersLeft"));
  descriptionsLeft_->setObjectName(QStringLiteral("descriptionCharactersLeft"));
  for (QLabel *counter : {labelsLeft_, descriptionsLeft_}) {
    keepPlaceWhenHidden(*counter);
    counter->hide();
  }
  const int counterRow = static_cast<int>(Editor::kRows) + 1;
  grid->addWidget(labelsLeft_, counterRow, 0);
  grid->addWidget(descriptionsLeft_, counterRow, 1);
  // The counters follow the box being typed in or given the focus.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
    counted_ = nullptr;
    for (std::size_t row = 0; row < Editor::kRows; ++row) {
      for (QComboBox *box : {labels_[row], descriptions_[row]}) {
        if (box->lineEdit() == now) {
          counted_ = box;
        }
      }
    }
    showCharactersLeft();
  });
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 3);
  return grid;
}

// Typing stops at 8 characters of a label (a date label's order suffix does
// not count) and at 14 of a description.
void TemplateEditorPage::limitRowBox(QComboBox &box, bool label) {
  CountedLength counted;
  if (label) {
    counted = [this](const QString &text) {
      return static_cast<int>(editor_.labelLength(toLatin1Text(text)));
    };
  }
  const int maxLength = static_cast<int>(label ? kMaxLabelLength : kMaxDescriptionLength);
  limitLength(
      *box.lineEdit(), maxLength, [this](const QString &) { showCharactersLeft(); },
      texts_.strings(), counted);
  connect(box.lineEdit(), &QLineEdit::textEdited, this, [this, &box] {
    counted_ = &box;
    showCharactersLeft();
  });
}

// The counter under the column of the box being typed in.
void TemplateEditorPage::showCharactersLeft() {
  if (labelsLeft_ == nullptr || descriptionsLeft_ == nullptr) {
    return; // still being built
  }
  labelsLeft_->hide();
  descriptionsLeft_->hide();
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    for (const bool label : {true, false}) {
      QComboBox *box = label ? labels_[row] : descriptions_[row];
      if (box == nullptr || box != counted_) {
        continue;
      }
      const QString text = box->currentText();
      const int used = label ? static_cast<int>(editor_.labelLength(toLatin1Text(text)))
                             : static_cast<int>(text.size());
      const int maxLength = static_cast<int>(label ? kMaxLabelLength : kMaxDescriptionLength);
      QLabel *counter = label ? labelsLeft_ : descriptionsLeft_;
      counter->setText(charactersLeftText(texts_.strings(), std::max(0, maxLength - used)));
      counter->show();
    }
  }
}

QLayout *TemplateEditorPage::makeMemoryLine(const StringTable &strings) {
  memoryUsage_ = new QLabel(QString::fromStdString(strings.text(sid::kTemplateMemoryUsage)), this);
  remaining_ = makeValueField(this, Editor::kRemainingText, QString());
  remainingSuffix_ =
      new QLabel(QString::fromStdString(strings.text(sid::kTemplateMemoryRemaining)), this);
  setResourceId(*memoryUsage_, Editor::kMemoryUsageText);
  setResourceId(*remainingSuffix_, Editor::kRemainingSuffixText);
  remaining_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  remaining_->setMinimumWidth(
      QFontMetrics(remaining_->font()).horizontalAdvance(QStringLiteral("-100")) + 12);
  for (QLabel *label : {memoryUsage_, remaining_, remainingSuffix_}) {
    keepPlaceWhenHidden(*label);
  }
  auto *line = new QHBoxLayout;
  line->addWidget(memoryUsage_);
  line->addWidget(remaining_);
  line->addWidget(remainingSuffix_);
  line->addStretch();
  return line;
}

QLayout *TemplateEditorPage::makeButtons() {
  auto *clear = makeButton(this, Editor::kClearButton, texts_(Editor::kClearButton));
  auto *saveAs = makeButton(this, Editor::kSaveAsButton, texts_(Editor::kSaveAsButton));
  auto *download = makeButton(this, Editor::kDownloadButton, texts_(Editor::kDownloadButton));
  markNotAvailable(*download, texts_.strings()); // the template download comes with its own tool
  connect(clear, &QPushButton::clicked, this, [this] {
    editor_.clear();
    refresh();
  });
  connect(saveAs, &QPushButton::clicked, this, [this] {
    editor_.saveAs();
    refresh();
  });
  auto *row = new QHBoxLayout;
  row->addWidget(clear);
  row->addWidget(saveAs);
  row->addStretch();
  row->addWidget(download);
  return row;
}

void TemplateEditorPage::chooseKind(TemplateKind kind) {
  // Clicking the kind already chosen keeps the rows.
  if (editor_.snapshot().kind != kind) {
    editor_.chooseKind(kind);
  }
  refresh();
}

void TemplateEditorPage::commitLabel(std::size_t row) {
  const QString text = labels_[row]->currentText();
  if (refreshing_ || text == shownLabels_[row]) {
    return;
  }
  editor_.commitLabel(row, toLatin1Text(text));
  refresh();
}

void TemplateEditorPage::commitDescription(std::size_t row, const QString &text) {
  if (refreshing_ || text == shownDescriptions_[row]) {
    return;
  }
  // The entry that fills the list with every description, in any language.
  const bool showAll = text == texts_(item::kShowAllEntry);
  editor_.commitDescription(row, showAll ? std::string(Editor::kShowAll) : toLatin1Text(text));
  refresh();
}

// A choice of a row's list as shown: "*ShowAll" in the user interface's
// language, glossary texts as they are.
QString TemplateEditorPage::shownChoice(const std::string &text) const {
  return text == Editor::kShowAll ? texts_(item::kShowAllEntry) : fromLatin1Text(text);
}

void TemplateEditorPage::reloadGlossary() {
  editor_.reloadGlossary();
  refresh();
}

void TemplateEditorPage::showRows(const TemplateEditor::Snapshot &snapshot) {
  QStringList labelChoices;
  for (const std::string &label : snapshot.labelChoices) {
    labelChoices << fromLatin1Text(label);
  }
  for (std::size_t row = 0; row < Editor::kRows; ++row) {
    QStringList descriptionChoices;
    for (const std::string &description : snapshot.descriptionChoices[row]) {
      descriptionChoices << shownChoice(description);
    }
    shownLabels_[row] = fromLatin1Text(snapshot.labels[row]);
    shownDescriptions_[row] = fromLatin1Text(snapshot.descriptions[row]);
    for (auto [box, choices, text] :
         {std::tuple{labels_[row], &labelChoices, &shownLabels_[row]},
          std::tuple{descriptions_[row], &descriptionChoices, &shownDescriptions_[row]}}) {
      const QSignalBlocker block(box);
      setComboItems(*box, *choices);
      // The entry the text names, so the arrow keys go on from there.
      const int index = box->findText(*text, Qt::MatchExactly | Qt::MatchCaseSensitive);
      box->setCurrentIndex(index);
      if (index < 0) {
        box->setEditText(*text);
      }
      box->setEnabled(snapshot.rowsEnabled);
    }
  }
}

void TemplateEditorPage::refresh() {
  refreshing_ = true;
  const Editor::Snapshot snapshot = editor_.snapshot();
  markerKind_->setChecked(snapshot.kind == TemplateKind::Marker);
  traceKind_->setChecked(snapshot.kind == TemplateKind::Trace);
  {
    const QSignalBlocker block(templateName_);
    setComboItems(*templateName_, fromNames(snapshot.templateNames));
    const QString name = QString::fromStdString(snapshot.templateName);
    templateName_->setCurrentIndex(templateName_->findText(name));
    // A name without its file yet ("untitled.utl") shows greyed.
    templateName_->setPlaceholderText(name);
    templateName_->setEnabled(snapshot.rowsEnabled);
  }
  {
    const QSignalBlocker block(userList_);
    QStringList shown;
    for (const std::string &list : snapshot.userLists) {
      shown << (list == UserListStore::kAll ? texts_(item::kAllUserListsEntry)
                                            : QString::fromStdString(list));
    }
    setComboItems(*userList_, shown, fromNames(snapshot.userLists));
    userList_->setCurrentIndex(userList_->findData(QString::fromStdString(snapshot.userList)));
  }
  showRows(snapshot);
  for (QLabel *label : {memoryUsage_, remaining_, remainingSuffix_}) {
    label->setVisible(snapshot.memoryVisible);
  }
  remaining_->setText(QString::fromStdString(snapshot.remainingText));
  refreshing_ = false;
}

} // namespace tarnwick::ui
