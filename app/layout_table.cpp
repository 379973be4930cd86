#include "app/layout_table.h"

namespace app {
namespace {

using enum ControlKind;
using enum ControlCursor;
using enum ControlShows;

// What each name stands for: docs/controls.md. No memo is here: Memo1 and Memo2 are hidden and
// hold text nothing reads, and the game session holds the scheme text (Memo3) and the log of
// names (Memo4) as plain members, without a text widget.
constexpr ControlEntry kLayout[] = {
    // name, kind, parent, left, top, width, height, caption, cursor, shows, enabled, checked
    {"", Picture, "", 10, 16, 140, 129, "", Help, Unseen},
    {"Image12", Picture, "", 18, 24, 140, 145, "", Help, Unseen},
    {"Image13", Picture, "", 165, 25, 140, 91, "", Help, Unseen},
    {"Image14", Picture, "", 312, 25, 140, 91, "", Help, Unseen},
    {"GroupBox4", GroupBox, "", 0, 0, 756, 367, "Qovex"},

    {"GroupBox5", GroupBox, "GroupBox4", 2, 364, 752, 1, "Control", Inherited, Unseen},
    {"GroupBox6", GroupBox, "GroupBox4", 2, 15, 752, 349, "Dravel Qovex game!"},

    {"Button2", PushButton, "GroupBox5", 346, 16, 75, 25, "GO!", Inherited, Hidden, false},

    {"GroupBox7", GroupBox, "GroupBox6", 2, 15, 748, 332, "Last Task:", Inherited, Unseen},
    {"GroupBox9", GroupBox, "GroupBox6", 2, 15, 748, 332, "New Task:"},

    {"Image9", Picture, "GroupBox7", 80, 101, 73, 68},
    {"Image32", Picture, "GroupBox7", 162, 184, 65, 65},
    {"Image17", Picture, "GroupBox7", 82, 184, 65, 65},
    {"Image16", Picture, "GroupBox7", 2, 184, 65, 65},
    {"Image20", Picture, "GroupBox7", 5, 272, 30, 30},
    {"Image21", Picture, "GroupBox7", 37, 272, 30, 30},
    {"Image23", Picture, "GroupBox7", 101, 272, 30, 30},
    {"Image30", Picture, "GroupBox7", 165, 272, 30, 30},
    {"Image24", Picture, "GroupBox7", 133, 272, 30, 30},
    {"Image31", Picture, "GroupBox7", 197, 272, 30, 30},
    {"Image22", Picture, "GroupBox7", 69, 272, 30, 30},
    {"Label1", Label, "GroupBox7", 24, 96, 33, 13, "Result:"},
    {"Image10", Picture, "GroupBox7", 11, 16, 73, 73},
    {"CheckBox2", CheckBox, "GroupBox7", 134, 16, 70, 17, "AutoStep", Inherited, Hidden, false,
     true},
    {"CheckBox1", CheckBox, "GroupBox7", 134, 32, 81, 17, "Fixed/Mixed", Inherited, Hidden, false},

    {"GroupBox10", GroupBox, "GroupBox9", 2, 15, 744, 210},
    {"GroupBox8", GroupBox, "GroupBox9", 2, 225, 744, 104,
     "Choice(Please, Click here!):", HandPoint},

    {"Image7", Picture, "GroupBox10", 197, 17, 180, 180, "", Help},
    {"Image25", Picture, "GroupBox10", 380, 17, 180, 180, "", Help},
    {"Image6", Picture, "GroupBox10", 13, 17, 180, 180, "", Help},
    {"GroupBox1", GroupBox, "GroupBox10", 568, 8, 169, 193, "Result:"},

    {"Image11", Picture, "GroupBox1", 48, 112, 73, 49},
    {"Image8", Picture, "GroupBox1", 4, 16, 161, 172},

    {"Image28", Picture, "GroupBox8", 536, 16, 80, 80},
    {"Image29", Picture, "GroupBox8", 448, 16, 80, 80},
    {"Image5", Picture, "GroupBox8", 360, 16, 80, 80},
    {"Image4", Picture, "GroupBox8", 272, 16, 80, 80},
    {"Image3", Picture, "GroupBox8", 184, 16, 80, 80},
    {"Image2", Picture, "GroupBox8", 96, 16, 80, 80},
    {"Image1", Picture, "GroupBox8", 8, 16, 80, 80},
    {"SpeedButton1", SpeedButton, "GroupBox8", 624, 16, 113, 25, "HandStep/AutoStep"},
    {"SpeedButton2", SpeedButton, "GroupBox8", 624, 43, 113, 25, "Fixed/Mixed"},
    {"Button1", PushButton, "GroupBox8", 624, 72, 113, 25, "Start->Next", Arrow, Shown, false},
};

}  // namespace

std::span<const ControlEntry> MainWindowLayout() { return kLayout; }

}  // namespace app
