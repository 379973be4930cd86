#include "app/control_tree.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <stdexcept>
#include <vector>

#include "app/accessible_tree.h"
#include "app/group_frame.h"
#include "app/picture_control.h"

namespace app {
namespace {

QWidget* Create(const ControlEntry& entry, QWidget* parent) {
  const QString caption = QString::fromLatin1(entry.caption);
  switch (entry.kind) {
    case ControlKind::GroupBox: {
      auto* box = new GroupFrame(caption, parent);
      box->setAutoFillBackground(true);  // opaque: what lies under a group box never shows
      return box;
    }
    case ControlKind::Picture:
      return new TImage(parent);
    case ControlKind::PushButton:
      return new QPushButton(caption, parent);
    case ControlKind::SpeedButton: {
      auto* button = new QToolButton(parent);
      button->setText(caption);
      button->setFocusPolicy(Qt::NoFocus);
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
      return button;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(caption, parent);
      box->setChecked(entry.checked);
      return box;
    }
    case ControlKind::Label:
      return new QLabel(caption, parent);
  }
  throw std::logic_error("unknown control kind");
}

// Pictures, labels and speed buttons are drawn on their parent, under its other controls.
bool DrawnOnParent(ControlKind kind) {
  return kind == ControlKind::Picture || kind == ControlKind::Label ||
         kind == ControlKind::SpeedButton;
}

void ApplyCursor(QWidget* widget, ControlCursor cursor) {
  switch (cursor) {
    case ControlCursor::Inherited:
      return;
    case ControlCursor::Help:
      return widget->setCursor(Qt::WhatsThisCursor);
    case ControlCursor::HandPoint:
      return widget->setCursor(Qt::PointingHandCursor);
    case ControlCursor::Arrow:
      return widget->setCursor(Qt::ArrowCursor);
  }
}

}  // namespace

ControlTree::ControlTree(QWidget* window, std::span<const ControlEntry> layout) {
  std::vector<QWidget*> stacked_over;  // in creation order
  for (const ControlEntry& entry : layout) {
    QWidget* parent = *entry.parent ? Find(entry.parent) : window;
    QWidget* widget = Create(entry, parent);
    widget->setObjectName(QString::fromLatin1(entry.name));
    widget->setGeometry(entry.left, entry.top, entry.width, entry.height);
    widget->setEnabled(entry.enabled);
    if (entry.shows == ControlShows::Hidden) widget->setVisible(false);
    if (entry.shows != ControlShows::Shown) MarkUnseen(*widget);
    ApplyCursor(widget, entry.cursor);
    if (!DrawnOnParent(entry.kind)) stacked_over.push_back(widget);
    if (*entry.name) by_name_[entry.name] = widget;
  }
  // Qt stacks siblings in creation order; lift the windowed ones over the drawn ones.
  for (QWidget* widget : stacked_over) widget->raise();
}

QWidget* ControlTree::Find(const std::string& name) const {
  const auto found = by_name_.find(name);
  if (found == by_name_.end()) throw std::logic_error("the layout has no control " + name);
  return found->second;
}

}  // namespace app
