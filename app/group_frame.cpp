#include "app/group_frame.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace app {

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupFrame::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  if (drawn_.isNull() || drawn_.deviceIndependentSize() != QSizeF(size()) ||
      drawn_.devicePixelRatio() != ratio || drawn_title_ != title()) {
    drawn_ = QPixmap(size() * ratio);
    drawn_.setDevicePixelRatio(ratio);
    drawn_.fill(Qt::transparent);
    QPainter painter(&drawn_);
    // What a painter on the widget itself starts with, and the style draws the title with.
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.setBackground(palette().brush(backgroundRole()));
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
    drawn_title_ = title();
  }
  QPainter(this).drawPixmap(0, 0, drawn_);  // clipped to what is dirty
}

// Whatever the style draws from: its look, the palette, the font, the enabled and active
// states.
void GroupFrame::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ActivationChange:
      drawn_ = QPixmap();
      break;
    default:
      break;
  }
  QGroupBox::changeEvent(event);
}

}  // namespace app
