#include "game/game_state.h"

#include <stdexcept>
#include <string>

namespace game {

int TaskAt(const GameState& state, int index) {
  if (index < 0 || index >= kSequenceCapacity) {
    throw std::out_of_range("task position " + std::to_string(index) +
                            " is outside the task sequence");
  }
  return state.TaskSequence[index / kSequenceRowLength][index % kSequenceRowLength];
}

}  // namespace game
