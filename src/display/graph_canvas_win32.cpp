#include "display/graph_canvas_win32.h"

#include "display/canvas_sizes.h"
#include "display/drawn_pictures_win32.h"

namespace pravelo::display {

GraphCanvasWin32::GraphCanvasWin32()
    : MemoryCanvas(kGraphCanvasWidth, kGraphCanvasHeight, kGraphBackground, MakeGridBitmap().Get()),
      pen_(::CreatePen(PS_SOLID, 1, kGraphForeground)),
      penSelection_(Dc(), pen_.Get()) {}

void GraphCanvasWin32::PlotPoint(int x, int y) {
  ::SetPixelV(Dc(), x, y, kGraphForeground);
  Invalidate();
}

void GraphCanvasWin32::ScrollLeft(int pixels) {
  ::BitBlt(Dc(), 0, 0, Width(), Height(), Dc(), pixels, 0, SRCCOPY);
  Invalidate();
}

void GraphCanvasWin32::DrawLine(int x0, int y0, int x1, int y1) {
  const HDC dc = Dc();
  ::MoveToEx(dc, x0, y0, nullptr);
  // LineTo stops short of its end point; a picture box's line includes it.
  ::LineTo(dc, x1, y1);
  ::SetPixelV(dc, x1, y1, kGraphForeground);
  Invalidate();
}

}  // namespace pravelo::display
