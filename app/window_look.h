#pragma once

class QWidget;

namespace app {

inline constexpr int kClientWidth = 756;
inline constexpr int kClientHeight = 367;

// The main window's frame and look: a fixed client area, minimise and close buttons only, the
// button-face background, the window font and the icon.
void ApplyWindowLook(QWidget& window);

}  // namespace app
