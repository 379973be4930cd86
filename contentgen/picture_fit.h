#pragma once

#include <QImage>
#include <QSize>

namespace contentgen {

// `source` cut to the aspect ratio of `size` (centred, the least cut away) and scaled down,
// smoothly, to `size`; a smaller source keeps its pixels, at that aspect ratio. Never
// stretches and never enlarges.
QImage FitPicture(const QImage& source, QSize size);

}  // namespace contentgen
