// Where the records lie: every record with a position as a dot coloured by
// its utility, the selected ones ringed, under a scale bar in metres.
// Clicking a dot selects its row.
#pragma once

#include "record_list.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarnwick::ui {

// Decimal degrees of "45 Deg 50.1234 Min N"; south and west negative.
std::optional<double> parseDegrees(const std::string &text);

class PositionsView final : public QWidget {
  Q_OBJECT
public:
  struct Point {
    int row = 0;
    double latitude = 0;
    double longitude = 0;
    QString utility;
  };

  explicit PositionsView(QWidget *parent = nullptr);

  // The records' positions; entries without one are left out.
  void setEntries(const std::vector<RecordEntry> &entries);
  void setPoints(std::vector<Point> points);
  void setSelectedRows(std::set<int> rows);
  void setEmptyText(const QString &text) { emptyText_ = text; }
  const std::vector<Point> &points() const { return points_; }
  // Where a point is drawn, in widget pixels.
  QPointF placeOf(const Point &point) const;

  QSize sizeHint() const override { return {260, 260}; }
  QSize minimumSizeHint() const override { return {160, 160}; }

signals:
  void rowClicked(int row, bool extend);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;

private:
  struct Frame {
    double minLat = 0, minLon = 0;
    double metresPerPixel = 1;
    double metresPerDegreeLon = 1;
    QPointF origin;
  };
  Frame frame() const;
  void drawScaleBar(QPainter &painter, const Frame &f) const;

  std::vector<Point> points_;
  std::set<int> selected_;
  QString emptyText_;
};

// A fixed colour per utility name, others grey.
QColor utilityColour(const QString &utility);

} // namespace tarnwick::ui
