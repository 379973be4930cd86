#pragma once

#include <cstdint>

#include "game/game_state.h"

// FNV-1a over the whole task sequence, so two builds can be compared across processes.
inline std::uint64_t SequenceDigest(const game::GameState& state) {
  std::uint64_t hash = 14'695'981'039'346'656'037ull;
  for (const auto& row : state.TaskSequence) {
    for (const int entry : row) {
      hash = (hash ^ static_cast<std::uint32_t>(entry)) * 1'099'511'628'211ull;
    }
  }
  return hash;
}
