#pragma once

#include <memory>
#include <string>

namespace game {

inline constexpr int kCodeListCapacity = 125'600;
inline constexpr int kPairCount = 49;  // digit pairs (p, q), p and q from 1 to 7
inline constexpr int kTableSize = 7;
inline constexpr int kSequenceRows = 24;
inline constexpr int kSequenceRowLength = 9'600;
inline constexpr int kSequenceCapacity = kSequenceRows * kSequenceRowLength;

using ImageNameTable = std::string[kTableSize][kTableSize];

// All of the game's own state, held by the game session. Every number starts at zero: make
// it with NewGameState. It is about 2 MB, of which a game ever touches about 0.6 MB.
struct GameState {
  int CodeList[kCodeListCapacity];
  int CodeCount;
  ImageNameTable ImageNames;
  int TaskIndex;
  int JudgedTaskIndex;
  int CodeTable[kPairCount][kPairCount][kPairCount];
  int TaskSequence[kSequenceRows][kSequenceRowLength];
};

struct GameStateDeleter {
  void operator()(GameState* state) const;
};
using GameStatePtr = std::unique_ptr<GameState, GameStateDeleter>;

// A state whose numbers are all zero, in memory the system hands out zeroed: the pages the
// game never touches (most of CodeList and TaskSequence) cost nothing, where value
// initialisation would write every byte of them at start-up.
GameStatePtr NewGameState();

// Entry `index` of TaskSequence read as one flat run of entries. Throws std::out_of_range
// outside it: no rule of the game leads there.
int TaskAt(const GameState& state, int index);

}  // namespace game
