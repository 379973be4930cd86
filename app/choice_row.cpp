#include "app/choice_row.h"

#include <QFocusFrame>
#include <QKeyEvent>
#include <algorithm>

#include "app/picture_control.h"

namespace app {

ChoiceRow::ChoiceRow(std::span<TImage* const> tiles, QWidget& after)
    : QObject(tiles.front()->parentWidget()),
      tiles_(tiles.begin(), tiles.end()),
      frame_(new QFocusFrame(tiles.front()->parentWidget())) {
  // Drawn in the highlight colour, under the tile: the whole picture stays in sight.
  QPalette palette = frame_->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
  frame_->setPalette(palette);
  const QString count = QString::number(tiles_.size());
  for (std::size_t k = 0; k < tiles_.size(); ++k) {
    TImage* tile = tiles_[k];
    tile->MakePressable();
    tile->setAccessibleDescription(QString::number(k + 1) + QStringLiteral(" of ") + count);
    tile->installEventFilter(this);
    if (k > 0) QWidget::setTabOrder(tiles_[k - 1], tile);
  }
  QWidget::setTabOrder(tiles_.back(), &after);
  tiles_.front()->setFocus();
}

bool ChoiceRow::eventFilter(QObject* watched, QEvent* event) {
  const auto found = std::find(tiles_.begin(), tiles_.end(), watched);
  if (found == tiles_.end()) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      frame_->setWidget(*found);
      return false;
    case QEvent::FocusOut:
      if (frame_->widget() == *found) frame_->setWidget(nullptr);
      return false;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
      return MoveFocus(static_cast<std::size_t>(found - tiles_.begin()), key->key());
    }
    default:
      return false;
  }
}

// Along the row, not round it: the ends stay where they are.
bool ChoiceRow::MoveFocus(std::size_t from, int key) {
  std::size_t to = from;
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      to = from > 0 ? from - 1 : 0;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      to = std::min(from + 1, tiles_.size() - 1);
      break;
    case Qt::Key_Home:
      to = 0;
      break;
    case Qt::Key_End:
      to = tiles_.size() - 1;
      break;
    default:
      return false;
  }
  tiles_[to]->setFocus(Qt::OtherFocusReason);
  return true;
}

}  // namespace app
