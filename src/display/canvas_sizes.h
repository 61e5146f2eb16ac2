// The design sizes of the drawing canvases, in pixels.
#pragma once

namespace pravelo::display {

inline constexpr int kGraphCanvasWidth = 500;
inline constexpr int kGraphCanvasHeight = 153;
inline constexpr int kIconCanvasSize = 48;

}  // namespace pravelo::display
