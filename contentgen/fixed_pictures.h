#pragma once

#include <QImage>

namespace contentgen {

// The pictures the game shows outside the puzzle, at the sizes of picture_sizes.h.

// "reading.jpg": shown while a task is put up and then while it waits for the pick, so it
// says neither "wait" nor "done": a question mark in a ring over "YOUR PICK".
QImage RenderWaiting();
// "ok.jpg": a green tick in a ring over the word "RIGHT".
QImage RenderRight();
// "no.jpg": a vermilion cross in a ring beside the word "WRONG".
QImage RenderWrong();

}  // namespace contentgen
