#pragma once

namespace app {

// The application's title: its task-bar entry, the window caption, the error box's caption.
inline constexpr char kApplicationTitle[] = "Qovex Dravel";

}  // namespace app
