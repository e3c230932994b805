#include "setting_state_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarnwick::ui {

namespace {

const QColor kOutline(0x4a, 0x50, 0x58);

QImage blankIcon() {
  QImage image(kStateIconSize, kStateIconSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void drawBox(QPainter &p, const QColor &fill) {
  p.setPen(QPen(kOutline, 1.2));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
}

// Off: an empty box, the entry can be switched on.
void drawDisabled(QPainter &p) {
  drawBox(p, Qt::white);
}

// On: the box ticked in green.
void drawEnabled(QPainter &p) {
  drawBox(p, QColor(0xe6, 0xf6, 0xe6));
  QPainterPath tick;
  tick.moveTo(4, 8.2);
  tick.lineTo(6.8, 11.2);
  tick.lineTo(12.2, 4.6);
  p.setPen(QPen(QColor(0x1e, 0x8a, 0x2e), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

// Locked off by the supervisor: a padlock.
void drawMasked(QPainter &p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x5a, 0x5f, 0x66), 1.8));
  p.drawArc(QRectF(4.4, 1.6, 7.2, 8.4), 0, 180 * 16);
  p.drawLine(QPointF(4.4, 5.8), QPointF(4.4, 7.5));
  p.drawLine(QPointF(11.6, 5.8), QPointF(11.6, 7.5));
  p.setPen(QPen(QColor(0x8a, 0x4b, 0x00), 1));
  p.setBrush(QColor(0xe8, 0x9a, 0x1a));
  p.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x5a, 0x32, 0x00));
  p.drawEllipse(QRectF(6.9, 9.2, 2.2, 2.2));
  p.drawRect(QRectF(7.5, 10.6, 1, 2.6));
}

} // namespace

QImage settingStateImage(SettingState state) {
  QImage image = blankIcon();
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  switch (state) {
  case SettingState::Disabled:
    drawDisabled(p);
    break;
  case SettingState::Enabled:
    drawEnabled(p);
    break;
  case SettingState::Masked:
    drawMasked(p);
    break;
  case SettingState::Unavailable:
    break;
  }
  return image;
}

QIcon settingStateIcon(SettingState state) {
  QIcon icon;
  const QPixmap pixmap = QPixmap::fromImage(settingStateImage(state));
  // The same picture when the list is disabled: the state stays readable.
  icon.addPixmap(pixmap, QIcon::Normal);
  icon.addPixmap(pixmap, QIcon::Disabled);
  icon.addPixmap(pixmap, QIcon::Selected);
  return icon;
}

} // namespace tarnwick::ui
