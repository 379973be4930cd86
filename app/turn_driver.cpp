// A turn: reads the task scheme, puts the choices and the next task on the window.
#include <QCheckBox>

#include "app/form1.h"
#include "app/screen_cursor.h"
#include "game/code.h"
#include "game/column_mix.h"
#include "game/scheme_lines.h"
#include "game/sequence_builder.h"

namespace app {

void TForm1::Button3Click(QObject*) {
  // A failed attempt starts the turn over, a bounded number of times and never by recursion:
  // with the server gone the player is told, and the next click tries again.
  for (int attempt = 1;; ++attempt) {
    SetScreenCursor(ScreenCursor::Hourglass);
    try {
      PlayTurnAttempt();
      turn_gave_up_ = false;
      break;
    } catch (...) {
      SetScreenCursor(ScreenCursor::Default);
      if (attempt == kTurnAttempts) {
        turn_gave_up_ = true;
        dialogs_.ShowNoDataDialog(NoDataText());
        break;
      }
    }
  }
  SetScreenCursor(ScreenCursor::Default);
}

void TForm1::PlayTurnAttempt() {
  if (!CheckBox2->isChecked()) FetchPicture("reading.jpg", *Image8);

  Memo3.SetText(FetchText("shemoftask.txt"));
  game::FillImageNames(State.ImageNames, Memo3.Lines(game::kSchemeLines));
  for (const auto& row : State.ImageNames) {
    for (const std::string& name : row) Memo4.AppendLine(name);
  }
  if (CheckBox1->isChecked()) game::MixColumns(State.ImageNames, random_);

  for (int k = 0; k < game::kTableSize; ++k) {
    FetchPicture(State.ImageNames[k][k], *choice_tiles_[k]);
  }

  State.TaskIndex = game::NextTaskIndex(State.TaskIndex, State.CodeCount);
  const game::CodeDigits d = game::SplitCodeDigits(game::TaskAt(State, State.TaskIndex));
  FetchPicture(game::NameOfPair(State.ImageNames, d[0], d[1]), *Image6);
  FetchPicture(game::NameOfPair(State.ImageNames, d[2], d[3]), *Image7);
  FetchPicture(game::NameOfPair(State.ImageNames, d[4], d[5]), *Image25);
}

}  // namespace app
