#include "app/layout_table.h"

#include "app/form1.h"
#include "app/window_look.h"

namespace app {
namespace {

using enum ControlKind;
using enum ControlCursor;
using enum ControlShows;
using session::ChoiceSlot, session::TaskSlot, session::LastChoiceSlot, session::LastTaskSlot;
using session::Slot;

// A picture control, named as its member of the window, showing `slot` of the session.
constexpr ControlEntry Tile(const char* name, TImage* TForm1::*member, Slot slot,
                            const char* parent, int left, int top, int width, int height,
                            ControlCursor cursor = Inherited) {
  ControlEntry entry{name, Picture, parent, left, top, width, height};
  entry.cursor = cursor;
  entry.picture = member;
  entry.slot = slot;
  return entry;
}

// What each name stands for: docs/controls.md. No memo is here: Memo1 and Memo2 are hidden and
// hold text nothing reads, and the game session holds the scheme text (Memo3) and the log of
// names (Memo4) as plain members, without a text widget.
constexpr ControlEntry kLayout[] = {
    // name, kind, parent, left, top, width, height, caption, cursor, shows, enabled, checked
    {"", Picture, "", 10, 16, 140, 129, "", Help, Unseen},
    {"Image12", Picture, "", 18, 24, 140, 145, "", Help, Unseen},
    {"Image13", Picture, "", 165, 25, 140, 91, "", Help, Unseen},
    {"Image14", Picture, "", 312, 25, 140, 91, "", Help, Unseen},
    {"GroupBox4", GroupBox, "", 0, 0, kClientWidth, kClientHeight, "Qovex"},

    {"GroupBox5", GroupBox, "GroupBox4", 2, 364, 752, 1, "Control", Inherited, Unseen},
    {"GroupBox6", GroupBox, "GroupBox4", 2, 15, 752, 349, "Dravel Qovex game!"},

    {"Button2", PushButton, "GroupBox5", 346, 16, 75, 25, "GO!", Inherited, Hidden, false},

    {"GroupBox7", GroupBox, "GroupBox6", 2, 15, 748, 332, "Last Task:", Inherited, Unseen},
    {"GroupBox9", GroupBox, "GroupBox6", 2, 15, 748, 332, "New Task:"},

    Tile("Image9", &TForm1::Image9, Slot::kPick, "GroupBox7", 80, 101, 73, 68),
    Tile("Image32", &TForm1::Image32, LastTaskSlot(3), "GroupBox7", 162, 184, 65, 65),
    Tile("Image17", &TForm1::Image17, LastTaskSlot(2), "GroupBox7", 82, 184, 65, 65),
    Tile("Image16", &TForm1::Image16, LastTaskSlot(1), "GroupBox7", 2, 184, 65, 65),
    Tile("Image20", &TForm1::Image20, LastChoiceSlot(1), "GroupBox7", 5, 272, 30, 30),
    Tile("Image21", &TForm1::Image21, LastChoiceSlot(2), "GroupBox7", 37, 272, 30, 30),
    Tile("Image23", &TForm1::Image23, LastChoiceSlot(4), "GroupBox7", 101, 272, 30, 30),
    Tile("Image30", &TForm1::Image30, LastChoiceSlot(6), "GroupBox7", 165, 272, 30, 30),
    Tile("Image24", &TForm1::Image24, LastChoiceSlot(5), "GroupBox7", 133, 272, 30, 30),
    Tile("Image31", &TForm1::Image31, LastChoiceSlot(7), "GroupBox7", 197, 272, 30, 30),
    Tile("Image22", &TForm1::Image22, LastChoiceSlot(3), "GroupBox7", 69, 272, 30, 30),
    {"Label1", Label, "GroupBox7", 24, 96, 33, 13, "Result:"},
    Tile("Image10", &TForm1::Image10, Slot::kCount, "GroupBox7", 11, 16, 73, 73),
    {"CheckBox2", CheckBox, "GroupBox7", 134, 16, 70, 17, "AutoStep", Inherited, Hidden, false,
     true},
    {"CheckBox1", CheckBox, "GroupBox7", 134, 32, 81, 17, "Fixed/Mixed", Inherited, Hidden, false},

    {"GroupBox10", GroupBox, "GroupBox9", 2, 15, 744, 210},
    {"GroupBox8", GroupBox, "GroupBox9", 2, 225, 744, 104,
     "Choice(Please, Click here!):", HandPoint},

    Tile("Image7", &TForm1::Image7, TaskSlot(2), "GroupBox10", 197, 17, 180, 180, Help),
    Tile("Image25", &TForm1::Image25, TaskSlot(3), "GroupBox10", 380, 17, 180, 180, Help),
    Tile("Image6", &TForm1::Image6, TaskSlot(1), "GroupBox10", 13, 17, 180, 180, Help),
    {"GroupBox1", GroupBox, "GroupBox10", 568, 8, 169, 193, "Result:"},

    Tile("Image11", &TForm1::Image11, Slot::kWrong, "GroupBox1", 48, 112, 73, 49),
    Tile("Image8", &TForm1::Image8, Slot::kResult, "GroupBox1", 4, 16, 161, 172),

    Tile("Image28", &TForm1::Image28, ChoiceSlot(7), "GroupBox8", 536, 16, 80, 80),
    Tile("Image29", &TForm1::Image29, ChoiceSlot(6), "GroupBox8", 448, 16, 80, 80),
    Tile("Image5", &TForm1::Image5, ChoiceSlot(5), "GroupBox8", 360, 16, 80, 80),
    Tile("Image4", &TForm1::Image4, ChoiceSlot(4), "GroupBox8", 272, 16, 80, 80),
    Tile("Image3", &TForm1::Image3, ChoiceSlot(3), "GroupBox8", 184, 16, 80, 80),
    Tile("Image2", &TForm1::Image2, ChoiceSlot(2), "GroupBox8", 96, 16, 80, 80),
    Tile("Image1", &TForm1::Image1, ChoiceSlot(1), "GroupBox8", 8, 16, 80, 80),
    {"SpeedButton1", SpeedButton, "GroupBox8", 624, 16, 113, 25, "HandStep/AutoStep"},
    {"SpeedButton2", SpeedButton, "GroupBox8", 624, 43, 113, 25, "Fixed/Mixed"},
    {"Button1", PushButton, "GroupBox8", 624, 72, 113, 25, "Start->Next", Arrow, Shown, false},
};

}  // namespace

std::span<const ControlEntry> MainWindowLayout() { return kLayout; }

}  // namespace app
