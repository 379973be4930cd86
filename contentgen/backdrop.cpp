#include "contentgen/backdrop.h"

#include <QLinearGradient>

namespace contentgen {

void PaintBackdrop(QPainter& painter, QSize size) {
  QLinearGradient ground(0, 0, 0, size.height());
  ground.setColorAt(0, QColor(0x3A, 0x41, 0x4C));
  ground.setColorAt(1, QColor(0x1F, 0x23, 0x2A));
  painter.fillRect(QRect(QPoint(0, 0), size), ground);
}

}  // namespace contentgen
