#include "game/sequence_builder.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace game {

void FillCodeTable(GameState& state) {
  std::fill_n(&state.CodeTable[0][0][0], kPairCount * kPairCount * kPairCount, 0);
  // Walks the digits a to f (zero-based, a outermost) but skips at once every branch that
  // breaks a rule: a digit shared between pairs, or a second diagonal pair.
  for (int a = 0; a < 7; ++a)
    for (int b = 0; b < 7; ++b)
      for (int c = 0; c < 7; ++c) {
        if (c == a || c == b) continue;
        for (int d = 0; d < 7; ++d) {
          if (d == a || d == b) continue;
          const int diagonals = (a == b) + (c == d);
          if (diagonals > 1) continue;
          for (int e = 0; e < 7; ++e) {
            if (e == a || e == b || e == c || e == d) continue;
            for (int f = 0; f < 7; ++f) {
              if (f == a || f == b || f == c || f == d) continue;
              if (diagonals + (e == f) > 1) continue;
              state.CodeTable[7 * a + b][7 * c + d][7 * e + f] =
                  100'000 * a + 10'000 * b + 1'000 * c + 100 * d + 10 * e + f + 111'111;
            }
          }
        }
      }
}

void CollectCodes(GameState& state) {
  state.CodeCount = 0;
  for (int i = 0; i < kPairCount; ++i)
    for (int j = 0; j < kPairCount; ++j)
      for (int k = 0; k < kPairCount; ++k) {
        const int code = state.CodeTable[i][j][k];
        if (code != 0) state.CodeList[state.CodeCount++] = code;
      }
}

void ShuffleCodes(GameState& state, RandomGenerator& random) {
  // The partner is drawn over the whole list at every step, not only over the entries from i on.
  for (int i = 0; i < state.CodeCount; ++i) {
    const int j = random.RandomBelow(state.CodeCount);
    std::swap(state.CodeList[i], state.CodeList[j]);
  }
}

void CopyIntoSequence(GameState& state) {
  for (int i = 0; i < state.CodeCount; ++i) {
    state.TaskSequence[i / kSequenceRowLength][i % kSequenceRowLength] = state.CodeList[i];
  }
}

void BuildTaskSequence(GameState& state, RandomGenerator& random) {
  FillCodeTable(state);
  CollectCodes(state);
  ShuffleCodes(state, random);
  CopyIntoSequence(state);
  state.TaskIndex = 0;
}

int NextTaskIndex(int task_index, int code_count) {
  if (code_count <= 0) throw std::logic_error("no task sequence has been built");
  // Compared before adding, so that no index, however wild, overflows.
  return task_index >= -1 && task_index < code_count - 1 ? task_index + 1 : 0;
}

}  // namespace game
