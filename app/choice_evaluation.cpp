// A click on a choice tile: the verdict, the "Last Task:" record and, in automatic stepping,
// the next turn.
#include "app/form1.h"

namespace app {

void TForm1::Image1Click(QObject*) { JudgeChoice(1); }
void TForm1::Image2Click(QObject*) { JudgeChoice(2); }
void TForm1::Image3Click(QObject*) { JudgeChoice(3); }
void TForm1::Image4Click(QObject*) { JudgeChoice(4); }
void TForm1::Image5Click(QObject*) { JudgeChoice(5); }
void TForm1::Image29Click(QObject*) { JudgeChoice(6); }
void TForm1::Image28Click(QObject*) { JudgeChoice(7); }

void TForm1::JudgeChoice(int tile) {
  const Busy busy(*this);
  switch (session_.Click(tile)) {
    case session::ClickOutcome::kJudged:
      if (session_.AutomaticStepping()) Button3Click(this);
      break;
    case session::ClickOutcome::kTurnAgain:
      Button3Click(this);
      break;
    case session::ClickOutcome::kStopped:
      break;
  }
}

}  // namespace app
