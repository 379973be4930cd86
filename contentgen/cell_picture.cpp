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

constexpr QPointF kShapeCentre(kCellPictureSize / 2.0, 150);
constexpr double kShapeHalf = 106;
constexpr double kDotY = 316;
constexpr double kDotRadius = 13;
constexpr double kDotPitch = 36;

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

void PaintDots(QPainter& painter, int count) {
  painter.setPen(QPen(QColor(0x14, 0x16, 0x1A), 2));
  painter.setBrush(QColor(0xF8, 0xF8, 0xF4));
  const double first = kCellPictureSize / 2.0 - kDotPitch * (count - 1) / 2.0;
  for (int i = 0; i < count; ++i) {
    painter.drawEllipse(QPointF(first + kDotPitch * i, kDotY), kDotRadius, kDotRadius);
  }
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
