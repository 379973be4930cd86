// "Start->Next": a turn puts the choices and the next task on the window.
#include "app/form1.h"

namespace app {

void TForm1::Button3Click(QObject*) {
  bool played = false;
  {
    const Busy busy(*this);
    played = session_.PlayTurn();
  }
  // With the server gone the player is told, and the next click tries again.
  if (!played) dialogs_.ShowNoDataDialog(NoDataText());
}

}  // namespace app
