#pragma once

#include <QAccessibleWidget>

namespace app {

class TImage;

// A picture as assistive technology sees it: a named image, or for a choice tile a push
// button whose press is the very click. The press comes from the event loop once the call
// that asked for it has returned, and waits like a click while a handler of the game runs.
class PictureAccessible : public QAccessibleWidget {
 public:
  explicit PictureAccessible(TImage* picture);

  QAccessible::Role role() const override;
  QString text(QAccessible::Text kind) const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;
  QStringList keyBindingsForAction(const QString& action) const override;

 private:
  TImage& Picture() const;
};

}  // namespace app
