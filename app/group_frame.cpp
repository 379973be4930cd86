#include "app/group_frame.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <utility>

namespace app {

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupFrame::paintEvent(QPaintEvent* event) {
  if (Look look{size(), devicePixelRatioF(), title()}; look != look_) {
    look_ = std::move(look);
    Forget();
  }
  // A look painted only once (a window's first frame) is not worth a copy.
  if (!std::exchange(painted_, true)) return QGroupBox::paintEvent(event);
  if (drawn_.isNull()) drawn_ = Drawn();
  QPainter(this).drawPixmap(0, 0, drawn_);  // clipped to what is dirty
}

QPixmap GroupFrame::Drawn() const {
  QPixmap drawn(look_.size * look_.ratio);
  drawn.setDevicePixelRatio(look_.ratio);
  drawn.fill(Qt::transparent);
  QPainter painter(&drawn);
  // What a painter on the widget itself starts with, and the style draws the title with.
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  painter.setBackground(palette().brush(backgroundRole()));
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
  return drawn;
}

void GroupFrame::Forget() {
  painted_ = false;
  drawn_ = QPixmap();
}

// Whatever else the style draws from: its look, the palette, the font, the enabled and active
// states.
void GroupFrame::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ActivationChange:
      Forget();
      break;
    default:
      break;
  }
  QGroupBox::changeEvent(event);
}

}  // namespace app
