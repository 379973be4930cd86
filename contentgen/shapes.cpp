#include "contentgen/shapes.h"

#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace contentgen {
namespace {

// A regular polygon or star around the origin, first corner straight up. `inner` > 0 makes a
// star with that inner radius.
QPolygonF RadialPolygon(int corners, double outer, double inner) {
  QPolygonF polygon;
  const int points = inner > 0 ? corners * 2 : corners;
  for (int i = 0; i < points; ++i) {
    const double radius = (inner > 0 && i % 2 == 1) ? inner : outer;
    const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / points;
    polygon << QPointF(radius * std::cos(angle), radius * std::sin(angle));
  }
  return polygon;
}

QPainterPath FromPolygon(const QPolygonF& polygon) {
  QPainterPath path;
  path.addPolygon(polygon);
  path.closeSubpath();
  return path;
}

// Sizes are balanced by eye so that no shape looks much heavier than another; each is drawn
// around the origin, in units of `half`.
QPainterPath UnitShape(int shape, double h) {
  QPainterPath path;
  switch (shape) {
    case 0:  // circle
      path.addEllipse(QPointF(0, 0), 0.9 * h, 0.9 * h);
      return path;
    case 1:  // triangle, moved down so that its box, not its centroid, is centred
      return FromPolygon(RadialPolygon(3, 1.12 * h, 0)).translated(0, 0.26 * h);
    case 2:  // square
      path.addRoundedRect(QRectF(-0.8 * h, -0.8 * h, 1.6 * h, 1.6 * h), 0.1 * h, 0.1 * h);
      return path;
    case 3:  // diamond, taller than wide so it never reads as a turned square
      return FromPolygon(QPolygonF({QPointF(0, -1.02 * h), QPointF(0.78 * h, 0),
                                    QPointF(0, 1.02 * h), QPointF(-0.78 * h, 0)}));
    case 4:  // five-pointed star
      return FromPolygon(RadialPolygon(5, 1.05 * h, 0.44 * h)).translated(0, 0.1 * h);
    case 5: {  // cross: a plus sign of thick arms
      const double arm = 0.3 * h;
      const double reach = 0.92 * h;
      return FromPolygon(QPolygonF(
          {QPointF(-arm, -reach), QPointF(arm, -reach), QPointF(arm, -arm), QPointF(reach, -arm),
           QPointF(reach, arm), QPointF(arm, arm), QPointF(arm, reach), QPointF(-arm, reach),
           QPointF(-arm, arm), QPointF(-reach, arm), QPointF(-reach, -arm), QPointF(-arm, -arm)}));
    }
    case 6: {  // crescent moon, opening to the upper right
      QPainterPath disc;
      disc.addEllipse(QPointF(0, 0), 0.92 * h, 0.92 * h);
      QPainterPath bite;
      bite.addEllipse(QPointF(0.42 * h, -0.26 * h), 0.74 * h, 0.74 * h);
      return disc.subtracted(bite).translated(0.14 * h, 0.06 * h);
    }
    default:
      throw std::out_of_range("no such shape");
  }
}

}  // namespace

QPainterPath ShapePath(int shape, QPointF centre, double half) {
  return UnitShape(shape, half).translated(centre);
}

}  // namespace contentgen
