#include "app/accessible_tree.h"

#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QGroupBox>
#include <algorithm>
#include <vector>

#include "app/picture_accessible.h"
#include "app/picture_control.h"

namespace app {
namespace {

constexpr char kUnseenProperty[] = "dravel_unseen";
constexpr char kAlsoProperty[] = "dravel_also";  // the Id of an interface offered with it

bool Offered(const QWidget& widget) {
  // Qt leaves its focus frame out of the tree too: it is drawn for another control.
  return !widget.isWindow() && !qobject_cast<const QFocusFrame*>(&widget) &&
         !widget.property(kUnseenProperty).toBool();
}

// Rows from top to bottom, each a run of controls that overlap the first of it from top to
// bottom; left to right within a row.
std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> widgets) {
  std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget* a, const QWidget* b) {
    return a->geometry().top() < b->geometry().top();
  });
  auto row = widgets.begin();
  while (row != widgets.end()) {
    const int bottom = (*row)->geometry().bottom();
    const auto end = std::find_if(row, widgets.end(), [bottom](const QWidget* widget) {
      return widget->geometry().top() > bottom;
    });
    std::stable_sort(row, end, [](const QWidget* a, const QWidget* b) {
      return a->geometry().left() < b->geometry().left();
    });
    row = end;
  }
  return widgets;
}

// The window and its group boxes: only what shows of their children, in reading order, and a
// group box named after its own title (Qt names a group box in a titled one after the outer).
class OfferedContainer : public QAccessibleWidget {
 public:
  OfferedContainer(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  int childCount() const override { return static_cast<int>(Children().size()); }

  QAccessibleInterface* child(int index) const override {
    const std::vector<QAccessibleInterface*> children = Children();
    if (index < 0 || index >= static_cast<int>(children.size())) return nullptr;
    return children[static_cast<std::size_t>(index)];
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<QAccessibleInterface*> children = Children();
    const auto found = std::find(children.begin(), children.end(), child);
    return !child || found == children.end() ? -1 : static_cast<int>(found - children.begin());
  }

  // The topmost child that shows at the point.
  QAccessibleInterface* childAt(int x, int y) const override {
    const QWidget& parent = *widget();
    const QPoint local = parent.mapFromGlobal(QPoint(x, y));
    const QObjectList& stacked = parent.children();  // bottom to top
    for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
      auto* child = qobject_cast<QWidget*>(*it);
      if (child && Offered(*child) && child->isVisible() && child->geometry().contains(local)) {
        return QAccessible::queryAccessibleInterface(child);
      }
    }
    return nullptr;
  }

  QString text(QAccessible::Text kind) const override {
    const auto* box = qobject_cast<const QGroupBox*>(widget());
    if (!box || kind != QAccessible::Name || !box->accessibleName().isEmpty()) {
      return QAccessibleWidget::text(kind);
    }
    return box->title();
  }

 private:
  std::vector<QAccessibleInterface*> Children() const {
    std::vector<QWidget*> widgets;
    for (QObject* object : widget()->children()) {
      auto* child = qobject_cast<QWidget*>(object);
      if (child && Offered(*child)) widgets.push_back(child);
    }
    std::vector<QAccessibleInterface*> children;
    for (QWidget* child : InReadingOrder(std::move(widgets))) {
      children.push_back(QAccessible::queryAccessibleInterface(child));
    }
    const QVariant also = widget()->property(kAlsoProperty);
    if (also.isValid()) children.push_back(QAccessible::accessibleInterface(also.toUInt()));
    return children;
  }
};

QAccessibleInterface* GameInterface(const QString& class_name, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  if (class_name == QLatin1String(TImage::staticMetaObject.className())) {
    return new PictureAccessible(static_cast<TImage*>(widget));
  }
  if (class_name == QLatin1String(QGroupBox::staticMetaObject.className())) {
    return new OfferedContainer(widget, QAccessible::Grouping);
  }
  // The game's window is a plain widget of its own.
  if (class_name == QLatin1String(QWidget::staticMetaObject.className()) && widget->isWindow()) {
    return new OfferedContainer(widget, QAccessible::Window);
  }
  return nullptr;
}

}  // namespace

void MarkUnseen(QWidget& control) { control.setProperty(kUnseenProperty, true); }

void OfferAlso(QWidget& container, QAccessibleInterface* child) {
  const QAccessible::Id id = QAccessible::registerAccessibleInterface(child);
  container.setProperty(kAlsoProperty, id);
  QObject::connect(&container, &QObject::destroyed,
                   [id] { QAccessible::deleteAccessibleInterface(id); });
}

void InstallAccessibleInterfaces() {
  static const bool installed = [] {
    QAccessible::installFactory(&GameInterface);
    return true;
  }();
  (void)installed;
}

}  // namespace app
