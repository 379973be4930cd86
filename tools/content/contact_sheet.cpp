#include "tools/content/contact_sheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QString>

#include "content/content_error.h"
#include "content/content_server.h"
#include "content/http_client.h"
#include "content/jpeg_picture.h"
#include "game/game_state.h"
#include "game/scheme_lines.h"

namespace dravel_content {
namespace {

constexpr int kCells = game::kTableSize;
constexpr int kTile = 140;
constexpr int kGap = 14;
constexpr int kLabel = 22;
constexpr int kLeft = 44;
constexpr int kTop = 72;
constexpr int kBottom = 44;
constexpr int kPitchX = kTile + kGap;
constexpr int kPitchY = kTile + kLabel + kGap;

const QColor kPaper(0xF2, 0xF2, 0xEE);
const QColor kInk(0x20, 0x22, 0x26);
const QColor kChoiceFrame(0xE6, 0x9F, 0x00);
const QColor kFailed(0x5A, 0x1E, 0x1E);

QFont Font(int pixel_size, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

QString Text(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QRect TileRect(int row, int column) {
  return QRect(kLeft + column * kPitchX, kTop + row * kPitchY, kTile, kTile);
}

void DrawFailure(QPainter& painter, QRect tile, const QString& why) {
  painter.fillRect(tile, kFailed);
  painter.setPen(Qt::white);
  painter.setFont(Font(13, true));
  painter.drawText(tile.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, why);
}

// Draws the picture stretched into the tile, or why it cannot be drawn.
void DrawCell(QPainter& painter, PackSource& source, const std::string& name, QRect tile) {
  if (name.empty()) {
    DrawFailure(painter, tile, "empty line");
    return;
  }
  content::JpegPicture picture;
  try {
    picture =
        content::JpegPicture::Load(source.Read(name, content::HttpLimits{}.max_picture_bytes));
  } catch (const content::FetchError&) {
    DrawFailure(painter, tile, "cannot be read");
    return;
  } catch (const content::JpegError&) {
    DrawFailure(painter, tile, "not a JPEG the game takes");
    return;
  }
  if (picture.Empty()) {
    DrawFailure(painter, tile, "empty file");
    return;
  }
  try {
    const content::DecodedImage decoded = picture.DecodeToCover(kTile, kTile);
    const QImage image(reinterpret_cast<const uchar*>(decoded.pixels.data()), decoded.width,
                       decoded.height, decoded.width * 4, QImage::Format_RGB32);
    painter.drawImage(tile, image);
  } catch (const content::JpegError&) {
    DrawFailure(painter, tile, "damaged");
  }
}

void DrawHeadings(QPainter& painter, const std::string& where, std::size_t lines) {
  painter.setPen(kInk);
  painter.setFont(Font(15, true));
  painter.drawText(
      QRect(kLeft, 10, kCells * kPitchX, 24), Qt::AlignLeft | Qt::AlignVCenter,
      Text(where) + "  (" + content::kSchemeFile + ": " + QString::number(lines) + " lines)");
  painter.setFont(Font(16, true));
  for (int i = 0; i < kCells; ++i) {
    const QRect tile = TileRect(i, i);
    painter.drawText(QRect(tile.left(), kTop - 30, kTile, 24), Qt::AlignCenter,
                     QString::number(i + 1));
    painter.drawText(QRect(0, tile.top(), kLeft - 8, kTile), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(i + 1));
  }
}

void DrawLegend(QPainter& painter, int width, int height) {
  painter.setPen(kInk);
  painter.setFont(Font(13));
  painter.drawText(QRect(kLeft, height - kBottom + 8, width - kLeft - 8, kBottom - 16),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   "Row r, column c: the picture of the digit pair (r, c). Each row should "
                   "share one property and each column another. Framed: the seven choice tiles.");
}

}  // namespace

QImage RenderContactSheet(PackSource& source, const CheckProgress& progress) {
  const std::string text = source.Read(content::kSchemeFile, content::kMaxTextBytes);
  const auto lines = game::SplitSchemeLines(text, game::kSchemeLines);

  const int width = kLeft + kCells * kPitchX + kGap;
  const int height = kTop + kCells * kPitchY + kBottom;
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(kPaper);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  DrawHeadings(painter, source.Where(), game::CountSchemeLines(text));

  for (int r = 0; r < kCells; ++r) {
    for (int c = 0; c < kCells; ++c) {
      const std::size_t n = std::size_t(r * kCells + c);
      const std::string name = n < lines.size() ? std::string(lines[n]) : std::string();
      if (progress) progress(int(n) + 1, kCells * kCells, name);
      const QRect tile = TileRect(r, c);
      DrawCell(painter, source, name, tile);
      if (r == c) {
        painter.setPen(QPen(kChoiceFrame, 6));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(tile.adjusted(-3, -3, 3, 3));
      }
      painter.setPen(kInk);
      painter.setFont(Font(11));
      const QRect label(tile.left() - kGap / 2, tile.bottom() + 6, kPitchX, kLabel);
      painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                       painter.fontMetrics().elidedText(Text(name), Qt::ElideMiddle, kPitchX - 2));
    }
  }
  DrawLegend(painter, width, height);
  return sheet;
}

}  // namespace dravel_content
