#pragma once

#include <QImage>
#include <string>

namespace contentgen {

struct JpegOptions {
  bool progressive = false;
  int quality = 92;  // 1 to 100
};

// The image as JPEG data, colour with full chroma resolution (4:4:4) so that thin outlines
// keep their colour. Same image and options, same bytes. Throws std::runtime_error when
// libjpeg refuses.
std::string EncodeJpeg(const QImage& image, const JpegOptions& options);

}  // namespace contentgen
