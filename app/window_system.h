#pragma once

namespace app {

// In a Wayland session Qt draws the window's frame itself, with a maximize button whatever the
// window's flags and fixed size say, and a compositor that then maximizes the window (weston
// does) ends the program for a frame of the wrong size. Where X11 is at hand as well
// (XWayland), the desktop draws the frame from the window's hints: minimise and close only.
// Call before the application object exists; QT_QPA_PLATFORM and -platform still decide.
void PreferFrameDrawnByTheDesktop();

}  // namespace app
