#pragma once

#include <QEvent>
#include <memory>

namespace app {

// A copy of an input event that keeps its own values for as long as it is held. Qt's clone of
// a pointer event shares its points with the events that come after it, which move them.
std::unique_ptr<QEvent> CopyInput(const QEvent& event);

}  // namespace app
