#pragma once

#include "game/game_state.h"
#include "game/random_generator.h"

namespace game {

// The builder's steps, in the order BuildTaskSequence runs them.
void FillCodeTable(GameState& state);  // CodeTable: the code in a valid code's cell, else 0
void CollectCodes(GameState& state);   // CodeList, CodeCount: the table's codes, ascending
void ShuffleCodes(GameState& state, RandomGenerator& random);
void CopyIntoSequence(GameState& state);  // TaskSequence entries 0 to CodeCount - 1

// Fills CodeTable with every valid code, collects them into CodeList in ascending order,
// shuffles the list, copies it into TaskSequence and sets TaskIndex to 0.
void BuildTaskSequence(GameState& state, RandomGenerator& random);

// The position of the task after `task_index`. When the codes are used up the sequence starts
// again from its first entry, so a 0 entry is never played. Throws std::logic_error when no
// sequence has been built.
int NextTaskIndex(int task_index, int code_count);

}  // namespace game
