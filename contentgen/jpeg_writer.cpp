#include "contentgen/jpeg_writer.h"

#include <stdexcept>

#include "contentgen/jpeg_encoder.h"

namespace contentgen {

std::string EncodeJpeg(const QImage& image, const JpegOptions& options) {
  if (image.isNull()) throw std::runtime_error("cannot encode an empty image");
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  JpegEncoding encoding;
  encoding.samples = rgb.constBits();
  encoding.row_stride = static_cast<std::size_t>(rgb.bytesPerLine());
  encoding.width = rgb.width();
  encoding.height = rgb.height();
  encoding.quality = options.quality;
  encoding.progressive = options.progressive;
  encoding.full_chroma = true;
  encoding.optimize_coding = true;
  return EncodeJpegData(encoding);
}

}  // namespace contentgen
