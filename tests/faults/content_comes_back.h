#pragma once

#include <string>
#include <vector>

#include "checks.h"
#include "stage.h"

namespace faults {

struct Scenario {
  std::string name;
  Result result;
};

// The server goes away in the middle of a game and comes back: the game goes on with the
// next click.
std::vector<Scenario> ContentComesBack(Stage& stage);

}  // namespace faults
