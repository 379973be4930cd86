#pragma once

#include <QGroupBox>
#include <QPixmap>

namespace app {

// A group box that draws its frame and title once and then copies them. The style strokes a
// rounded frame and lays out the title anew on every paint, whatever little of the box is
// dirty; the window repaints a group box each time a focus frame or a result picture inside it
// moves or shows. Left without Q_OBJECT on purpose: to the style and to assistive technology it
// is the group box it looks like.
class GroupFrame : public QGroupBox {
 public:
  GroupFrame(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QPixmap drawn_;  // the frame and title as last drawn, transparent elsewhere
  QString drawn_title_;
};

}  // namespace app
