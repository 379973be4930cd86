#include "game/game_state.h"

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

namespace game {

void GameStateDeleter::operator()(GameState* state) const {
  state->~GameState();
  std::free(state);
}

GameStatePtr NewGameState() {
  void* memory = std::calloc(1, sizeof(GameState));
  if (!memory) throw std::bad_alloc();
  // Default-initialisation constructs the names and leaves the numbers as calloc made them.
  return GameStatePtr(new (memory) GameState);
}

int TaskAt(const GameState& state, int index) {
  if (index < 0 || index >= kSequenceCapacity) {
    throw std::out_of_range("task position " + std::to_string(index) +
                            " is outside the task sequence");
  }
  return state.TaskSequence[index / kSequenceRowLength][index % kSequenceRowLength];
}

}  // namespace game
