#pragma once

#include <string>

namespace game {

inline constexpr int kCodeListCapacity = 125'600;
inline constexpr int kPairCount = 49;  // digit pairs (p, q), p and q from 1 to 7
inline constexpr int kTableSize = 7;
inline constexpr int kSequenceRows = 24;
inline constexpr int kSequenceRowLength = 9'600;
inline constexpr int kSequenceCapacity = kSequenceRows * kSequenceRowLength;

using ImageNameTable = std::string[kTableSize][kTableSize];

// All of the game's own state, held by value by the main window. Value-initialise it
// (`GameState state{}` or std::make_unique) so that every number starts at zero. It is about
// 2 MB: its owner lives on the heap.
struct GameState {
  int CodeList[kCodeListCapacity];
  int CodeCount;
  ImageNameTable ImageNames;
  int TaskIndex;
  int JudgedTaskIndex;
  int CodeTable[kPairCount][kPairCount][kPairCount];
  int TaskSequence[kSequenceRows][kSequenceRowLength];
};

// Entry `index` of TaskSequence read as one flat run of entries. Throws std::out_of_range
// outside it: no rule of the game leads there.
int TaskAt(const GameState& state, int index);

}  // namespace game
