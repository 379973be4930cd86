#include "contentgen/picture_fit.h"

#include <cmath>

namespace contentgen {

QImage FitPicture(const QImage& source, QSize size) {
  if (source.isNull() || size.isEmpty()) return {};
  // The largest centred rectangle of the wanted aspect ratio inside the source.
  const double aspect = double(size.width()) / size.height();
  int width = source.width();
  int height = int(std::lround(width / aspect));
  if (height > source.height()) {
    height = source.height();
    width = int(std::lround(height * aspect));
  }
  width = std::max(1, std::min(width, source.width()));
  height = std::max(1, std::min(height, source.height()));
  const QImage cut =
      source.copy((source.width() - width) / 2, (source.height() - height) / 2, width, height);
  if (width <= size.width() && height <= size.height()) return cut;
  return cut.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace contentgen
