#pragma once

#include <QPainterPath>
#include <QPointF>

namespace contentgen {

// The outline of shape `shape` (0 to 6, in the order of the catalogue) centred on `centre`,
// fitting a square of half-size `half`. The shapes differ in silhouette, not only in detail,
// so that they stay apart on a 30 x 30 tile.
QPainterPath ShapePath(int shape, QPointF centre, double half);

}  // namespace contentgen
