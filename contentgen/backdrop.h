#pragma once

#include <QPainter>
#include <QSize>

namespace contentgen {

// The dark slate ground shared by the cell pictures and the waiting picture: dark enough for
// every palette colour to stand out, lit a little from the top.
void PaintBackdrop(QPainter& painter, QSize size);

}  // namespace contentgen
