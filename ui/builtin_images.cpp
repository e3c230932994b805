#include "builtin_images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarnwick::ui {

namespace {

constexpr int kReceiverSize = 198;

QImage blank(int width, int height, const QColor &fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

// The locator: a grip on top, the display head, and the long sensing blade
// reaching down to the ground.
void drawReceiver(QPainter &p, qreal scale) {
  p.save();
  p.scale(scale, scale);
  const QColor body(0x2f, 0x33, 0x3a);
  const QColor accent(0xf2, 0xb1, 0x1c);

  // Blade: a tapered shaft from the head to the foot.
  QPainterPath blade;
  blade.moveTo(86, 100);
  blade.lineTo(112, 100);
  blade.lineTo(106, 184);
  blade.lineTo(92, 184);
  blade.closeSubpath();
  QLinearGradient shaft(86, 0, 112, 0);
  shaft.setColorAt(0, QColor(0xf4, 0xc4, 0x3a));
  shaft.setColorAt(1, QColor(0xc9, 0x8a, 0x0c));
  p.setPen(QPen(body, 1.5));
  p.setBrush(shaft);
  p.drawPath(blade);
  p.setBrush(body);
  p.drawRoundedRect(QRectF(88, 180, 22, 10), 3, 3);

  // Grip: an arch above the head.
  QPainterPath grip;
  grip.moveTo(62, 44);
  grip.cubicTo(62, 6, 136, 6, 136, 44);
  grip.lineTo(122, 44);
  grip.cubicTo(122, 22, 76, 22, 76, 44);
  grip.closeSubpath();
  p.setBrush(body);
  p.drawPath(grip);

  // Head with display and keys.
  p.setBrush(accent);
  p.drawRoundedRect(QRectF(48, 40, 102, 64), 10, 10);
  p.setBrush(QColor(0x9f, 0xc7, 0xa2));
  p.setPen(QPen(body, 2));
  p.drawRoundedRect(QRectF(60, 48, 78, 34), 4, 4);
  p.setPen(QPen(QColor(0x25, 0x40, 0x28), 2));
  p.drawLine(QPointF(66, 58), QPointF(104, 58));
  p.drawLine(QPointF(66, 66), QPointF(120, 66));
  p.drawLine(QPointF(66, 74), QPointF(94, 74));
  p.setPen(QPen(body, 1));
  p.setBrush(body);
  for (int i = 0; i < 4; ++i) {
    p.drawEllipse(QRectF(64 + i * 19, 88, 10, 10));
  }
  p.restore();
}

} // namespace

QImage builtInListImage() {
  QImage image = blank(16, 18, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A globe: no country picture of its own.
  p.setPen(QPen(QColor(0x1d, 0x4f, 0x91), 1.2));
  p.setBrush(QColor(0xa9, 0xd1, 0xf5));
  p.drawEllipse(QRectF(1.5, 2.5, 13, 13));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(5, 2.5, 6, 13));
  p.drawLine(QPointF(1.5, 9), QPointF(14.5, 9));
  return image;
}

QImage builtInReceiverPicture() {
  QImage image = blank(kReceiverSize, kReceiverSize, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawReceiver(p, 1.0);
  return image;
}

QIcon builtInIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawReceiver(p, size / static_cast<qreal>(kReceiverSize));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

} // namespace tarnwick::ui
