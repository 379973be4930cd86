// A click on a choice tile: the verdict, the "Last Task:" record and, in automatic stepping,
// the next turn.
#include <QCheckBox>

#include "app/form1.h"
#include "app/screen_cursor.h"
#include "game/code.h"
#include "game/judge.h"

namespace app {

void TForm1::Image1Click(QObject*) { JudgeChoice(1); }
void TForm1::Image2Click(QObject*) { JudgeChoice(2); }
void TForm1::Image3Click(QObject*) { JudgeChoice(3); }
void TForm1::Image4Click(QObject*) { JudgeChoice(4); }
void TForm1::Image5Click(QObject*) { JudgeChoice(5); }
void TForm1::Image29Click(QObject*) { JudgeChoice(6); }
void TForm1::Image28Click(QObject*) { JudgeChoice(7); }

void TForm1::JudgeChoice(int tile) {
  // After a turn that gave up, the table may name nothing the server has, so judging would
  // fail at the pick every time and never reach the next turn: with automatic stepping, where
  // "Start->Next" is disabled, the click tries the turn again instead.
  if (turn_gave_up_ && CheckBox2->isChecked()) {
    Button3Click(this);
    return;
  }
  SetScreenCursor(ScreenCursor::Hourglass);
  try {
    State.JudgedTaskIndex = State.TaskIndex;
    const game::CodeDigits digits =
        game::SplitCodeDigits(game::TaskAt(State, State.JudgedTaskIndex));

    if (game::IsRightPick(digits, tile, tile)) {
      FetchPicture("ok.jpg", *Image8);
      Image11->hide();
      Image8->show();
    } else {
      FetchPicture("no.jpg", *Image11);
      Image8->hide();
      Image11->show();
    }
    FetchPicture(game::NameOfPair(State.ImageNames, tile, tile), *Image9);

    const std::pair<TImage*, const TImage*> copies[] = {
        {Image16, Image6},  {Image17, Image7},  {Image32, Image25}, {Image20, Image1},
        {Image21, Image2},  {Image22, Image3},  {Image23, Image4},  {Image24, Image5},
        {Image30, Image29}, {Image31, Image28},
    };
    for (const auto& [target, source] : copies) target->CopyPictureFrom(*source);

    if (CheckBox2->isChecked()) Button3Click(this);
  } catch (...) {
    // A failed fetch ends the click quietly; what it had shown stays.
  }
  SetScreenCursor(ScreenCursor::Default);
}

}  // namespace app
