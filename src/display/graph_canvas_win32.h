// The memory graph's canvas: white lines over a dark-green grid, scrolled to the left.
#pragma once

#include <windows.h>

#include "display/canvas_win32.h"
#include "display/grid_picture.h"
#include "display/surfaces.h"

namespace pravelo::display {

// Beyond the grid the canvas has the grid's own background colour.
inline constexpr COLORREF kGraphBackground =
    RGB((kGridBackRgb >> 16) & 0xFF, (kGridBackRgb >> 8) & 0xFF, kGridBackRgb & 0xFF);
inline constexpr COLORREF kGraphForeground = RGB(255, 255, 255);

class GraphCanvasWin32 final : public GraphCanvas, public MemoryCanvas {
 public:
  GraphCanvasWin32();

  void PlotPoint(int x, int y) override;
  void ScrollLeft(int pixels) override;
  // Both end points are drawn.
  void DrawLine(int x0, int y0, int x1, int y1) override;

 private:
  UniquePen pen_;
  ScopedSelect penSelection_;
};

}  // namespace pravelo::display
