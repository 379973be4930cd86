#pragma once

#include <QObject>
#include <span>
#include <vector>

class QFocusFrame;

namespace app {

class TImage;

// The choice tiles as one row of buttons for the keyboard: Tab takes the focus through them
// and on to the control after them, the arrow keys, Home and End move it along the row, and a
// frame around the focused tile, outside its picture, shows where it is. Each tile tells
// assistive technology which of the row it is. The first tile has the focus to begin with.
class ChoiceRow : public QObject {
 public:
  // `after` takes the focus after the last tile. The row belongs to the tiles' parent.
  ChoiceRow(std::span<TImage* const> tiles, QWidget& after);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool MoveFocus(std::size_t from, int key);

  std::vector<TImage*> tiles_;
  QFocusFrame* frame_;
};

}  // namespace app
