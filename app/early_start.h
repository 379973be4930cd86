#pragma once

#include <QSize>
#include <array>
#include <future>
#include <optional>

#include "app/picture_decoder.h"
#include "session/board.h"
#include "session/game_session.h"

namespace app {

// What start-up came to: whether the first task is on the board, and the decodes begun for
// the pictures the player sees, by slot.
struct StartOutcome {
  bool started = false;
  std::array<std::optional<PendingDecode>, session::kSlotCount> decodes;
};

// The program's start-up, begun before the application and its window are built, so that its
// requests and decoding overlap building them: the session's start-up runs on a thread of its
// own, and each picture the player will see is decoded as it arrives, for its control's size
// in `sizes` (device pixels; a paint at another size decodes again). Until Finish returns, the
// session belongs to that thread. Neither thread may create a Qt object: one made before the
// application would make its thread Qt's main thread.
class EarlyStart {
 public:
  EarlyStart(session::GameSession& session, std::array<QSize, session::kSlotCount> sizes);
  // Waits for the thread.
  ~EarlyStart();
  EarlyStart(const EarlyStart&) = delete;
  EarlyStart& operator=(const EarlyStart&) = delete;

  // Waits for the start-up and hands the session back. Rethrows what the start-up let out.
  // Once only.
  StartOutcome Finish();

 private:
  session::GameSession& session_;
  std::array<QSize, session::kSlotCount> sizes_;
  PictureDecoder decoder_;
  StartOutcome outcome_;
  std::future<bool> started_;  // last: the thread starts once the rest is in place
};

}  // namespace app
