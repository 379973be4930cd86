#include "contentgen/fixed_pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include "contentgen/backdrop.h"
#include "contentgen/picture_sizes.h"

namespace contentgen {
namespace {

constexpr int kResultWidth = kResultPicture.width();
constexpr int kResultHeight = kResultPicture.height();
constexpr int kWrongWidth = kWrongPicture.width();
constexpr int kWrongHeight = kWrongPicture.height();

const QColor kInk(0xF8, 0xF8, 0xF4);

QFont FittedFont(const QString& text, double max_width, int pixel_size, bool bold) {
  QFont font("DejaVu Sans");
  font.setBold(bold);
  font.setPixelSize(pixel_size);
  while (pixel_size > 8 && QFontMetricsF(font).horizontalAdvance(text) > max_width) {
    font.setPixelSize(--pixel_size);
  }
  return font;
}

void DrawCentredText(QPainter& painter, const QString& text, QRectF box, int pixel_size,
                     bool bold) {
  painter.setFont(FittedFont(text, box.width(), pixel_size, bold));
  painter.setPen(kInk);
  painter.drawText(box, Qt::AlignCenter, text);
}

void PaintVerdictGround(QPainter& painter, QSize size, QColor colour) {
  QLinearGradient ground(0, 0, 0, size.height());
  ground.setColorAt(0, colour.lighter(112));
  ground.setColorAt(1, colour.darker(125));
  painter.fillRect(QRect(QPoint(0, 0), size), ground);
}

QPen MarkPen(double width) {
  QPen pen(kInk, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void DrawRing(QPainter& painter, QPointF centre, double radius, QColor colour = kInk) {
  QPen pen = MarkPen(radius * 0.13);
  pen.setColor(colour);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, radius, radius);
}

QImage NewPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

}  // namespace

QImage RenderWaiting() {
  QImage image = NewPicture(kResultWidth, kResultHeight);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintBackdrop(painter, image.size());

  // A question in a ring, in the style of the verdicts: it stands beside a task that waits for
  // the player's pick, and for the moment a task is being put up it asks nothing untrue.
  const QPointF centre(kResultWidth / 2.0, 148);
  DrawRing(painter, centre, 112, QColor(0xE6, 0x9F, 0x00));
  DrawCentredText(painter, "?", QRectF(centre.x() - 90, centre.y() - 96, 180, 192), 170, true);

  DrawCentredText(painter, "YOUR PICK", QRectF(16, 282, kResultWidth - 32, 84), 76, true);
  return image;
}

QImage RenderRight() {
  QImage image = NewPicture(kResultWidth, kResultHeight);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintVerdictGround(painter, image.size(), QColor(0x00, 0x9E, 0x73));

  const QPointF centre(kResultWidth / 2.0, 148);
  DrawRing(painter, centre, 112);
  QPainterPath tick;
  tick.moveTo(centre + QPointF(-56, 4));
  tick.lineTo(centre + QPointF(-14, 46));
  tick.lineTo(centre + QPointF(60, -42));
  painter.setPen(MarkPen(30));
  painter.drawPath(tick);

  DrawCentredText(painter, "RIGHT", QRectF(16, 282, kResultWidth - 32, 84), 76, true);
  return image;
}

QImage RenderWrong() {
  QImage image = NewPicture(kWrongWidth, kWrongHeight);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintVerdictGround(painter, image.size(), QColor(0xD5, 0x5E, 0x00));

  const QPointF centre(128, kWrongHeight / 2.0);
  DrawRing(painter, centre, 100);
  painter.setPen(MarkPen(30));
  painter.drawLine(centre + QPointF(-45, -45), centre + QPointF(45, 45));
  painter.drawLine(centre + QPointF(-45, 45), centre + QPointF(45, -45));

  DrawCentredText(painter, "WRONG", QRectF(244, 100, kWrongWidth - 256, 160), 96, true);
  return image;
}

}  // namespace contentgen
