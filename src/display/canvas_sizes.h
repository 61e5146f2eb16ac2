// The drawing canvases' sizes in pixels: the design sizes of their picture boxes.
#pragma once

#include "ui/layout.h"

namespace pravelo::display {

inline constexpr int kGraphCanvasWidth = ui::layout::form1::Picture4.width;
inline constexpr int kGraphCanvasHeight = ui::layout::form1::Picture4.height;
inline constexpr int kIconCanvasSize = ui::layout::form1::Picture2.width;
static_assert(ui::layout::form1::Picture2.height == kIconCanvasSize, "the icon canvas is square");

}  // namespace pravelo::display
