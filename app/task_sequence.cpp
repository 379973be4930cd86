// The hidden "GO!" button: builds the order in which the tasks are played.
#include "app/form1.h"
#include "game/sequence_builder.h"

namespace app {

void TForm1::Button2Click(QObject*) { game::BuildTaskSequence(State, random_); }

}  // namespace app
