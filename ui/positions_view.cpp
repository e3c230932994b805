#include "positions_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace tarnwick::ui {

namespace {

constexpr double kMetresPerDegree = 111'320.0;
constexpr int kMargin = 16;
constexpr double kDotRadius = 4.0;
constexpr double kPickRadius = 7.0;

double niceLength(double metres) {
  const double magnitude = std::pow(10.0, std::floor(std::log10(metres)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * magnitude <= metres) {
      return step * magnitude;
    }
  }
  return magnitude;
}

} // namespace

std::optional<double> parseDegrees(const std::string &text) {
  std::istringstream in(text);
  double degrees = 0;
  double minutes = 0;
  std::string deg, min, hemisphere;
  if (!(in >> degrees >> deg >> minutes >> min >> hemisphere) || deg != "Deg" || min != "Min") {
    return std::nullopt;
  }
  const double value = degrees + minutes / 60.0;
  if (hemisphere == "S" || hemisphere == "W") {
    return -value;
  }
  if (hemisphere == "N" || hemisphere == "E") {
    return value;
  }
  return std::nullopt;
}

QColor utilityColour(const QString &utility) {
  static const std::pair<const char *, QColor> colours[] = {
      {"GAS", QColor(230, 180, 0)},  {"WTR", QColor(30, 100, 220)},   {"TEL", QColor(240, 120, 0)},
      {"PWR", QColor(210, 30, 30)},  {"CE PWR", QColor(160, 20, 20)}, {"W/W", QColor(40, 160, 60)},
      {"COM", QColor(150, 60, 180)}, {"IDF", QColor(230, 90, 170)},   {"GP", QColor(0, 150, 150)},
  };
  const QString key = utility.trimmed().toUpper();
  for (const auto &[name, colour] : colours) {
    if (key == QLatin1String(name)) {
      return colour;
    }
  }
  return QColor(110, 110, 110);
}

PositionsView::PositionsView(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("positionsView"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(248, 248, 244));
  setPalette(palette);
}

void PositionsView::setEntries(const std::vector<RecordEntry> &entries) {
  std::vector<Point> points;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const RecordRow &row = entries[i].row;
    const auto latitude = parseDegrees(row.latitude);
    const auto longitude = parseDegrees(row.longitude);
    if (latitude && longitude) {
      points.push_back(
          {static_cast<int>(i), *latitude, *longitude, QString::fromStdString(row.utility)});
    }
  }
  setPoints(std::move(points));
}

void PositionsView::setPoints(std::vector<Point> points) {
  points_ = std::move(points);
  update();
}

void PositionsView::setSelectedRows(std::set<int> rows) {
  selected_ = std::move(rows);
  update();
}

PositionsView::Frame PositionsView::frame() const {
  Frame f;
  if (points_.empty()) {
    return f;
  }
  double maxLat = points_.front().latitude, maxLon = points_.front().longitude;
  f.minLat = maxLat;
  f.minLon = maxLon;
  for (const Point &p : points_) {
    f.minLat = std::min(f.minLat, p.latitude);
    f.minLon = std::min(f.minLon, p.longitude);
    maxLat = std::max(maxLat, p.latitude);
    maxLon = std::max(maxLon, p.longitude);
  }
  const double midLat = (f.minLat + maxLat) / 2 * std::numbers::pi / 180.0;
  f.metresPerDegreeLon = kMetresPerDegree * std::max(0.01, std::cos(midLat));
  const double spanX = std::max(1.0, (maxLon - f.minLon) * f.metresPerDegreeLon);
  const double spanY = std::max(1.0, (maxLat - f.minLat) * kMetresPerDegree);
  const double width = std::max(1, this->width() - 2 * kMargin);
  const double height = std::max(1, this->height() - 2 * kMargin - 24); // the scale bar below
  f.metresPerPixel = std::max(spanX / width, spanY / height);
  // Centred in the free room.
  f.origin = QPointF(kMargin + (width - spanX / f.metresPerPixel) / 2,
                     kMargin + (height + spanY / f.metresPerPixel) / 2);
  return f;
}

QPointF PositionsView::placeOf(const Point &point) const {
  const Frame f = frame();
  const double x = (point.longitude - f.minLon) * f.metresPerDegreeLon / f.metresPerPixel;
  const double y = (point.latitude - f.minLat) * kMetresPerDegree / f.metresPerPixel;
  return {f.origin.x() + x, f.origin.y() - y};
}

void PositionsView::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QColor(190, 190, 180));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (points_.empty()) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
    return;
  }
  const Frame f = frame();
  // The selected dots last, so that they lie on top.
  for (const bool selectedPass : {false, true}) {
    for (const Point &p : points_) {
      if (selected_.contains(p.row) != selectedPass) {
        continue;
      }
      const QPointF at = placeOf(p);
      painter.setBrush(utilityColour(p.utility));
      painter.setPen(selectedPass ? QPen(Qt::black, 2.5) : QPen(QColor(60, 60, 60), 1));
      const double radius = selectedPass ? kDotRadius + 2 : kDotRadius;
      painter.drawEllipse(at, radius, radius);
    }
  }
  drawScaleBar(painter, f);
}

void PositionsView::drawScaleBar(QPainter &painter, const Frame &f) const {
  const double metres = niceLength(f.metresPerPixel * (width() / 3.0));
  const double pixels = metres / f.metresPerPixel;
  const QPointF start(kMargin, height() - kMargin);
  const QPointF end(start.x() + pixels, start.y());
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(start, end);
  painter.drawLine(start, start - QPointF(0, 5));
  painter.drawLine(end, end - QPointF(0, 5));
  const QString label = metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                                       : QStringLiteral("%1 m").arg(metres);
  painter.drawText(QPointF(end.x() + 6, end.y()), label);
}

void PositionsView::mousePressEvent(QMouseEvent *event) {
  const QPointF at = event->position();
  const Point *nearest = nullptr;
  double best = kPickRadius;
  for (const Point &p : points_) {
    const QPointF d = placeOf(p) - at;
    const double distance = std::hypot(d.x(), d.y());
    if (distance <= best) {
      best = distance;
      nearest = &p;
    }
  }
  if (nearest != nullptr) {
    emit rowClicked(nearest->row, (event->modifiers() & Qt::ControlModifier) != 0);
  }
}

} // namespace tarnwick::ui
