#pragma once

namespace app {

enum class ScreenCursor { Default, Hourglass };

// Sets the cursor for the whole screen. Settings replace each other rather than stack, so a
// nested handler that restores the default leaves no busy cursor behind.
void SetScreenCursor(ScreenCursor cursor);

}  // namespace app
