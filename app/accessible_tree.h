#pragma once

class QAccessibleInterface;
class QWidget;

namespace app {

// What assistive technology is offered of the game's window: what the player sees, in reading
// order. A screen reader so says nothing that a sighted player does not see.

// Leaves a control that never shows, and all it holds, out of what assistive technology is
// offered.
void MarkUnseen(QWidget& control);

// Offers `child`, an interface of no widget of its own, as the last child of `container`, for
// as long as the container lives.
void OfferAlso(QWidget& container, QAccessibleInterface* child);

// The game's own accessible interfaces for its window, its group boxes and its pictures, for
// the whole application. Safe to call again.
void InstallAccessibleInterfaces();

}  // namespace app
