// dravel-icon-png SOURCE DEST SIZE: writes the program's icon as a SIZE x SIZE PNG. Each
// source pixel becomes a square of whole pixels, so the pixel art stays sharp; what the
// largest whole scale leaves over is a transparent margin around the centred picture.
#include <QImage>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kMaxSize = 1024;

bool ParseSize(std::string_view text, int& size) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() && end == text.data() + text.size() && size >= 1 && size <= kMaxSize;
}

QImage ScaledInto(const QImage& source, int size) {
  const int scale = std::min(size / source.width(), size / source.height());
  const int left = (size - source.width() * scale) / 2;
  const int top = (size - source.height() * scale) / 2;
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  for (int y = 0; y < source.height() * scale; ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / scale));
    auto* to = reinterpret_cast<QRgb*>(icon.scanLine(top + y)) + left;
    for (int x = 0; x < source.width() * scale; ++x) to[x] = from[x / scale];
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  int size = 0;
  if (argc != 4 || !ParseSize(argv[3], size)) {
    std::fprintf(stderr, "usage: dravel-icon-png SOURCE DEST SIZE (SIZE 1 to %d)\n", kMaxSize);
    return 2;
  }
  const QImage source =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
  if (source.isNull()) {
    std::fprintf(stderr, "dravel-icon-png: cannot read the picture %s\n", argv[1]);
    return 1;
  }
  if (source.width() > size || source.height() > size) {
    std::fprintf(stderr, "dravel-icon-png: %s is larger than %d x %d\n", argv[1], size, size);
    return 1;
  }
  if (!ScaledInto(source, size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "dravel-icon-png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
