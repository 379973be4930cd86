#pragma once

#include <QGroupBox>
#include <QPixmap>

namespace app {

// A group box that copies its frame and title once it has drawn them twice. The style strokes
// a rounded frame and lays out the title anew on every paint, whatever little of the box is
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
  // What the drawing depends on besides what changeEvent hears of.
  struct Look {
    QSize size;
    qreal ratio = 0;
    QString title;
    bool operator==(const Look&) const = default;
  };

  void Forget();
  QPixmap Drawn() const;

  Look look_;
  bool painted_ = false;  // once in this look, straight by the style
  QPixmap drawn_;         // the frame and title, transparent elsewhere
};

}  // namespace app
