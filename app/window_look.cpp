#include "app/window_look.h"

#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "app/application_title.h"
#include "app/icons/qovex-dravel.xpm"

namespace app {

void ApplyWindowLook(QWidget& window) {
  window.setWindowTitle(QString::fromLatin1(kApplicationTitle));
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
  window.setFixedSize(kClientWidth, kClientHeight);

  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  window.setPalette(palette);
  window.setAutoFillBackground(true);

  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);  // most systems lack it: take their sans-serif face
  font.setPixelSize(11);
  window.setFont(font);

  // Read from the compiled-in XPM data: a file name would have Qt load every image format
  // plugin it has to find the reader, a few milliseconds of start-up.
  window.setWindowIcon(QIcon(QPixmap(qovex_dravel_icon)));
}

}  // namespace app
