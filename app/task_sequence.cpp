// The hidden "GO!" button: builds the order in which the tasks are played.
#include "app/form1.h"

namespace app {

void TForm1::Button2Click(QObject*) { session_.BuildTaskSequence(); }

}  // namespace app
