#pragma once

#include <QImage>

namespace contentgen {

// The pictures the game shows outside the puzzle. Their sizes keep the aspect ratio of the
// picture boxes that show them (161 x 172 for the result, 73 x 49 for the wrong mark), so
// stretching does not distort them.

// "reading.jpg": a task is being prepared.
QImage RenderWaiting();
// "ok.jpg": a green tick in a ring over the word "RIGHT".
QImage RenderRight();
// "no.jpg": a vermilion cross in a ring beside the word "WRONG".
QImage RenderWrong();

}  // namespace contentgen
