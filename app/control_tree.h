#pragma once

#include <QString>
#include <QWidget>
#include <map>
#include <span>
#include <string>

#include "app/layout_table.h"

namespace app {

// The widgets built from a layout, by name. The window owns them through Qt's parent tree.
class ControlTree {
 public:
  ControlTree(QWidget* window, std::span<const ControlEntry> layout);

  // The named control as its widget class; throws std::logic_error when the layout lacks it.
  template <typename Widget>
  Widget* Get(const std::string& name) const {
    auto* widget = qobject_cast<Widget*>(Find(name));
    if (!widget) throw std::logic_error("the layout has no control " + name + " of that kind");
    return widget;
  }

 private:
  QWidget* Find(const std::string& name) const;

  std::map<std::string, QWidget*> by_name_;
};

}  // namespace app
