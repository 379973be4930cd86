#pragma once

#include <span>

#include "session/board.h"

namespace app {

class TForm1;
class TImage;

enum class ControlKind { GroupBox, Picture, PushButton, SpeedButton, CheckBox, Label };
enum class ControlCursor { Inherited, Help, HandPoint, Arrow };
// Hidden: never shown. Unseen: visible, but nothing of it ever shows, for it lies under another
// control or has no room.
enum class ControlShows { Shown, Hidden, Unseen };

// One control of the main window. Positions are relative to the parent's top-left corner, in
// pixels at 96 pixels per inch.
struct ControlEntry {
  const char* name;  // empty for the one picture that has no name
  ControlKind kind;
  const char* parent;  // empty for the window itself
  int left, top, width, height;
  const char* caption = "";  // title, caption or initial text
  ControlCursor cursor = ControlCursor::Inherited;
  ControlShows shows = ControlShows::Shown;
  bool enabled = true;
  bool checked = false;
  // A picture's member of the window, and the session's slot it shows (kCount: none).
  TImage* TForm1::*picture = nullptr;
  session::Slot slot = session::Slot::kCount;
};

// The whole control tree, listed per parent in creation order.
std::span<const ControlEntry> MainWindowLayout();

// The slots whose controls the player sees: the choices, the task and the result pictures.
inline bool ShownSlot(session::Slot slot) { return slot <= session::Slot::kWrong; }

}  // namespace app
