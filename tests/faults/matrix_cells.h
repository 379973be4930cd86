#pragma once

#include "checks.h"
#include "fault_catalogue.h"
#include "recorded_dialogs.h"
#include "stage.h"

namespace faults {

// The three handlers that fetch content, each one column of the matrix.
enum class Caller {
  kStartUp,  // FormShow: "reading.jpg", then the first turn
  kTurn,     // Button3Click: the scheme, then the pictures
  kChoice,   // a click on a choice tile: the verdict picture, the pick, the next turn
};

inline constexpr Caller kCallers[] = {Caller::kStartUp, Caller::kTurn, Caller::kChoice};
const char* CallerName(Caller caller);

// Plays one cell: the fault put on what the caller fetches, the caller run, its outcome
// checked, then the good content restored and the game shown to go on. `application` holds
// what reached the application's own error box, which no cell may add to.
Result RunCell(Stage& stage, const Fault& fault, Caller caller, const RecordedDialogs& application);

}  // namespace faults
