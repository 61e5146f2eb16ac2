// The memory graph's canvas: white lines over a dark-green grid, scrolled to the left.
#pragma once

#include <windows.h>

#include "display/canvas_win32.h"
#include "display/grid_picture.h"
#include "display/held_graph.h"
#include "display/surfaces.h"

namespace pravelo::display {

// Beyond the grid the canvas has the grid's own background colour.
inline constexpr COLORREF kGraphBackground =
    RGB((kGridBackRgb >> 16) & 0xFF, (kGridBackRgb >> 8) & 0xFF, kGridBackRgb & 0xFF);
inline constexpr COLORREF kGraphForeground = RGB(255, 255, 255);

// While its window cannot be seen, scrolls of kGraphStep and lines are held back, and drawn
// by CatchUp with the same pixels as if they had been drawn at once.
class GraphCanvasWin32 final : public GraphCanvas, public MemoryCanvas {
 public:
  GraphCanvasWin32();

  void PlotPoint(int x, int y) override;
  // The columns it uncovers at the right keep what they had.
  void ScrollLeft(int pixels) override;
  // Both end points are drawn.
  void DrawLine(int x0, int y0, int x1, int y1) override;
  // Draws what was held back, without painting the window; before the canvas is painted or read.
  void CatchUp();

 private:
  // `times` scrolls of `pixels` in one: the uncovered columns repeat the rightmost `pixels`.
  void Scroll(int pixels, int times);
  void Line(int x0, int y0, int x1, int y1);

  UniquePen pen_;
  ScopedSelect penSelection_;
  HeldGraph held_;
};

}  // namespace pravelo::display
