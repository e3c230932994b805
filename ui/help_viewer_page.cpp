#include "help_viewer_page.h"

#include "dialog_font.h"
#include "ui_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace tarnwick::ui {

namespace {

// Windows-1252's printable characters in 0x80 … 0x9F; the rest of the range
// matches Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString fromWindows1252(const std::string &bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text.append(byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(byte));
  }
  return text;
}

} // namespace

QString displayText(const std::string &bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) {
    return text;
  }
  return fromWindows1252(bytes);
}

HelpViewerPage::HelpViewerPage(const InstallTree &tree, std::string language,
                               const StringTable &strings, QWidget *parent)
    : QWidget(parent), logic_(tree, std::move(language), strings), topics_(new QListWidget(this)),
      text_(new QPlainTextEdit(this)) {
  setObjectName(controlName(HelpViewer::kDialogId));
  const DialogTexts texts(&strings, dialog::kHelpViewer);
  auto *title = new QLabel(texts(HelpViewer::kTitleId), this);
  setResourceId(*title, HelpViewer::kTitleId);
  title->setFont(boldDialogFont());
  setResourceId(*topics_, HelpViewer::kTopicListId);
  setResourceId(*text_, HelpViewer::kTextId);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  connect(topics_, &QListWidget::currentRowChanged, this, [this](int row) {
    logic_.selectTopic(row);
    refresh();
  });

  auto *left = new QVBoxLayout;
  left->addWidget(new QLabel(texts(item::kHelpPrompt), this));
  left->addWidget(topics_, 1);
  auto *panes = new QHBoxLayout;
  panes->addLayout(left, 1);
  panes->addWidget(text_, 3);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addLayout(panes, 1);

  logic_.open();
  const auto snapshot = logic_.snapshot();
  const QSignalBlocker block(topics_);
  for (const auto &topic : snapshot.topics) {
    topics_->addItem(displayText(topic));
  }
  refresh();
}

void HelpViewerPage::refresh() {
  const auto snapshot = logic_.snapshot();
  {
    const QSignalBlocker block(topics_);
    topics_->setCurrentRow(snapshot.selected);
  }
  text_->setPlainText(displayText(snapshot.text));
}

} // namespace tarnwick::ui
