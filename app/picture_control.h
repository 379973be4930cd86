#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "content/jpeg_picture.h"

namespace app {

// A picture that stretches its JPEG to its whole rectangle (aspect ratio not kept) and raises
// a click. It keeps the compressed data and decodes when it paints, once per picture bytes and
// size.
// A double-click raises one click: its second press is no answer of the player's.
// A pressable picture is a button to the keyboard too: it takes the focus, and Space or Return
// presses it.
class TImage : public QWidget {
  Q_OBJECT

 public:
  using DamageReporter = std::function<void(const std::string& message)>;

  explicit TImage(QWidget* parent = nullptr);

  // Assigning the picture the control already holds, or one of the very same bytes, keeps
  // what it decoded; damaged bytes are tried again.
  void SetPicture(content::JpegPicture picture);
  const content::JpegPicture& Picture() const { return picture_; }

  // Called once per picture whose data turns out to be damaged when it is painted.
  void SetDamageReporter(DamageReporter reporter) { report_damage_ = std::move(reporter); }
  // Called once per decode of a picture whose data libjpeg had to patch over: it shows as far
  // as it decodes.
  void SetPatchReporter(DamageReporter reporter) { report_patched_ = std::move(reporter); }

  void MakePressable();
  bool Pressable() const { return pressable_; }
  // A press from the keyboard or from assistive technology: the same click.
  void Press() { emit Click(); }

 signals:
  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowsPicture(bool shows);
  QSize DeviceSize() const;
  const QImage* DecodedForSize(QSize device_size);

  content::JpegPicture picture_;
  QImage decoded_;  // the last decode, scaled to the size it was made for
  QSize decoded_for_;
  bool damaged_ = false;
  bool second_press_ = false;  // the release that ends a double-click raises no click
  bool pressable_ = false;
  DamageReporter report_damage_;
  DamageReporter report_patched_;
};

}  // namespace app
