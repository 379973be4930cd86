#include "app/input_copy.h"

#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWheelEvent>

namespace app {
namespace {

template <typename Event>
std::unique_ptr<QEvent> Stamped(std::unique_ptr<Event> copy, const QInputEvent& original) {
  copy->setTimestamp(original.timestamp());
  return copy;
}

}  // namespace

std::unique_ptr<QEvent> CopyInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      const auto& mouse = static_cast<const QMouseEvent&>(event);
      return Stamped(
          std::make_unique<QMouseEvent>(mouse.type(), mouse.position(), mouse.scenePosition(),
                                        mouse.globalPosition(), mouse.button(), mouse.buttons(),
                                        mouse.modifiers(), mouse.source(), mouse.pointingDevice()),
          mouse);
    }
    case QEvent::Wheel: {
      const auto& wheel = static_cast<const QWheelEvent&>(event);
      return Stamped(std::make_unique<QWheelEvent>(
                         wheel.position(), wheel.globalPosition(), wheel.pixelDelta(),
                         wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(),
                         wheel.inverted(), wheel.source(), wheel.pointingDevice()),
                     wheel);
    }
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: {
      const auto& tablet = static_cast<const QTabletEvent&>(event);
      return Stamped(
          std::make_unique<QTabletEvent>(
              tablet.type(), tablet.pointingDevice(), tablet.position(), tablet.globalPosition(),
              tablet.pressure(), tablet.xTilt(), tablet.yTilt(), tablet.tangentialPressure(),
              tablet.rotation(), tablet.z(), tablet.modifiers(), tablet.button(), tablet.buttons()),
          tablet);
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
      const auto& touch = static_cast<const QTouchEvent&>(event);
      QList<QEventPoint> points;
      for (const QEventPoint& point : touch.points()) {
        points.append(
            QEventPoint(point.id(), point.state(), point.scenePosition(), point.globalPosition()));
      }
      return Stamped(std::make_unique<QTouchEvent>(touch.type(), touch.pointingDevice(),
                                                   touch.modifiers(), points),
                     touch);
    }
    default:
      return std::unique_ptr<QEvent>(event.clone());
  }
}

}  // namespace app
