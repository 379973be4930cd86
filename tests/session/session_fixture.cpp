#include "session_fixture.h"

#include <chrono>

namespace {

content::HttpLimits Limits() {
  content::HttpLimits limits;
  limits.connect_timeout = std::chrono::milliseconds(2'000);
  limits.progress_window = std::chrono::milliseconds(2'000);
  return limits;
}

void Plant(game::GameState& state, int index, int code) {
  state.TaskSequence[index / game::kSequenceRowLength][index % game::kSequenceRowLength] = code;
}

}  // namespace

SessionTest::SessionTest() : session_(pack_.server.BaseUrl(), Limits(), random_) {
  EXPECT_TRUE(session_.Start());
  pack_.server.ClearRequests();
}

std::string SessionTest::Shown(session::Slot slot) const {
  return pack_.NameOf(session_.Shown()[slot].picture.Data());
}

void SessionTest::PlantNextCode(int code) { Plant(State(), State().TaskIndex + 1, code); }

void SessionTest::PlantCurrentCode(int code) { Plant(State(), State().TaskIndex, code); }
