#include "game/game_state.h"

#include <string>

#include "game/game_error.h"

namespace game {

int TaskAt(const GameState& state, int index) {
  if (index < 0 || index >= kSequenceCapacity) {
    throw GameError("task position " + std::to_string(index) + " is outside the task sequence");
  }
  return state.TaskSequence[index / kSequenceRowLength][index % kSequenceRowLength];
}

}  // namespace game
