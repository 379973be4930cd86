#include "contentgen/cell_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "contentgen/backdrop.h"
#include "contentgen/catalogue.h"
#include "contentgen/shapes.h"

namespace contentgen {
namespace {

constexpr QPointF kShapeCentre(kCellPictureSize / 2.0, 136);
constexpr double kShapeHalf = 100;
// Dots large enough to count on an 80 px choice tile (some 9 px there, 4 px apart), in at
// most two rows of at most four, so that no count needs more than a glance: 6 is 3 over 3,
// 7 is 4 over 3.
constexpr double kDotRadius = 20;
constexpr double kDotPitch = 60;
constexpr double kDotRowY[] = {279, 331};
constexpr double kSingleRowY = 305;

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

void PaintShape(QPainter& painter, int shape, QColor colour) {
  const QPainterPath outline = ShapePath(shape, kShapeCentre, kShapeHalf);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 90));
  painter.drawPath(outline.translated(0, 7));  // soft shadow, lifts the shape off the ground

  const QRectF box = outline.boundingRect();
  QLinearGradient fill(box.topLeft(), box.bottomLeft());
  fill.setColorAt(0, colour.lighter(118));
  fill.setColorAt(1, colour.darker(108));
  painter.setBrush(fill);
  QPen rim(QColor(0xF4, 0xF4, 0xF0), 7);
  rim.setJoinStyle(Qt::RoundJoin);
  painter.setPen(rim);
  painter.drawPath(outline);
}

void PaintDotRow(QPainter& painter, int count, double y) {
  const double first = kCellPictureSize / 2.0 - kDotPitch * (count - 1) / 2.0;
  for (int i = 0; i < count; ++i) {
    painter.drawEllipse(QPointF(first + kDotPitch * i, y), kDotRadius, kDotRadius);
  }
}

void PaintDots(QPainter& painter, int count) {
  painter.setPen(QPen(QColor(0x14, 0x16, 0x1A), 3));
  painter.setBrush(QColor(0xF8, 0xF8, 0xF4));
  if (count <= 3) {
    PaintDotRow(painter, count, kSingleRowY);
    return;
  }
  const int top = (count + 1) / 2;
  PaintDotRow(painter, top, kDotRowY[0]);
  PaintDotRow(painter, count - top, kDotRowY[1]);
}

}  // namespace

QImage RenderCell(int shape, int colour) {
  const QColor fill = ToQColor(Colour(colour).rgb);
  QImage image(kCellPictureSize, kCellPictureSize, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintBackdrop(painter, image.size());
  PaintShape(painter, shape, fill);
  PaintDots(painter, colour + 1);
  return image;
}

}  // namespace contentgen
