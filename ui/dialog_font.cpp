#include "dialog_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>

namespace tarnwick::ui {

namespace {
constexpr int kBoldFontPixels = 14;
}

QFont boldDialogFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kBoldFontPixels);
  font.setBold(true);
  return font;
}

QSize dialogUnits(const QWidget &widget, int width, int height) {
  const QFontMetricsF metrics(widget.font());
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const qreal baseX = metrics.horizontalAdvance(alphabet) / alphabet.size();
  const qreal baseY = metrics.height();
  return {qRound(width * baseX / 4), qRound(height * baseY / 8)};
}

QString controlName(int resourceId) {
  return QString::number(resourceId);
}

void setResourceId(QWidget &widget, int resourceId) {
  widget.setObjectName(controlName(resourceId));
}

QPushButton *makeButton(QWidget *parent, int resourceId, const QString &text) {
  auto *button = new QPushButton(text, parent);
  setResourceId(*button, resourceId);
  button->setFont(boldDialogFont());
  return button;
}

QLabel *makeValueField(QWidget *parent, int resourceId, const QString &text) {
  auto *field = new QLabel(text, parent);
  setResourceId(*field, resourceId);
  field->setFont(boldDialogFont());
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setTextInteractionFlags(Qt::TextSelectableByMouse);
  field->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  return field;
}

} // namespace tarnwick::ui
