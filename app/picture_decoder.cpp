#include "app/picture_decoder.h"

#include <QPainter>
#include <utility>

namespace app {
namespace {

// Wraps the decoded pixels without copying them; the image owns the buffer.
QImage ToQImage(content::DecodedImage decoded) {
  auto* pixels = new content::PixelBuffer(std::move(decoded.pixels));
  return QImage(
      reinterpret_cast<const uchar*>(pixels->data()), decoded.width, decoded.height,
      decoded.width * 4, QImage::Format_RGB32,
      [](void* buffer) { delete static_cast<content::PixelBuffer*>(buffer); }, pixels);
}

}  // namespace

QImage DecodeForControl(const content::JpegPicture& picture, QSize size) {
  const QImage image = ToQImage(picture.DecodeToCover(size.width(), size.height()));
  if (image.size() == size) return image;
  QImage fitted(size, QImage::Format_RGB32);
  QPainter painter(&fitted);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(fitted.rect(), image);
  return fitted;
}

}  // namespace app
