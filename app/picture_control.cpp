#include "app/picture_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "app/picture_decoder.h"
#include "content/content_error.h"

namespace app {
TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(content::JpegPicture picture) {
  if (picture.SameAs(picture_)) return;
  // Every picture is fetched afresh each turn, and mostly the very bytes already on show (the
  // choices, in fixed order): those keep their sound decode instead of costing a new one.
  const bool same_bytes = !damaged_ && picture.Data() == picture_.Data();
  picture_ = std::move(picture);
  if (same_bytes) return;
  decoded_ = QImage();
  decoded_for_ = QSize();
  damaged_ = false;
  ShowsPicture(!picture_.Empty());
  update();
}

// A picture covers every pixel of the control, so what lies beneath (the group box with its
// framed title) need not be painted first; without one it shows through.
void TImage::ShowsPicture(bool shows) { setAttribute(Qt::WA_OpaquePaintEvent, shows); }

QSize TImage::DeviceSize() const {
  const qreal ratio = devicePixelRatioF();
  return {qRound(width() * ratio), qRound(height() * ratio)};
}

const QImage* TImage::DecodedForSize(QSize device_size) {
  if (decoded_for_ == device_size && !decoded_.isNull()) return &decoded_;
  try {
    decoded_ = DecodeForControl(picture_, device_size);
    decoded_for_ = device_size;
    if (const std::string patched = picture_.Patched(); !patched.empty() && report_patched_) {
      report_patched_(patched);
    }
    return &decoded_;
  } catch (const content::JpegError& error) {
    damaged_ = true;
    decoded_ = QImage();
    ShowsPicture(false);
    update();  // next time, what lies beneath shows through
    if (report_damage_) report_damage_(error.what());
    return nullptr;
  }
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.Empty() || damaged_ || width() <= 0 || height() <= 0) return;
  const QImage* image = DecodedForSize(DeviceSize());
  // Nothing beneath was painted for this frame: the window's colour, not the last picture.
  if (!image) return QPainter(this).fillRect(rect(), palette().window());
  QPainter(this).drawImage(rect(), *image);  // made for the control's size: a plain copy
}

// The press of a click is the picture's own. Passed on, it would go up through every group box
// around the picture, and each would lay out its title to see whether the press hit it.
void TImage::mousePressEvent(QMouseEvent* event) {
  event->setAccepted(event->button() == Qt::LeftButton);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (std::exchange(second_press_, false)) return;
  if (rect().contains(event->position().toPoint())) emit Click();
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event) {
  const bool left = event->button() == Qt::LeftButton;
  second_press_ = left;
  event->setAccepted(left);
}

void TImage::MakePressable() {
  pressable_ = true;
  setFocusPolicy(Qt::StrongFocus);
}

// A key held down presses once.
void TImage::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool press_key = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (!pressable_ || !press_key || modifiers != Qt::NoModifier)
    return QWidget::keyPressEvent(event);
  if (!event->isAutoRepeat()) Press();
}

}  // namespace app
