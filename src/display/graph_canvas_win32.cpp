#include "display/graph_canvas_win32.h"

#include "display/canvas_sizes.h"
#include "display/drawn_pictures_win32.h"
#include "display/graph.h"

namespace pravelo::display {

GraphCanvasWin32::GraphCanvasWin32()
    : MemoryCanvas(kGraphCanvasWidth, kGraphCanvasHeight, kGraphBackground, MakeGridBitmap().Get()),
      pen_(::CreatePen(PS_SOLID, 1, kGraphForeground)),
      penSelection_(Dc(), pen_.Get()),
      held_(Width()) {}

void GraphCanvasWin32::PlotPoint(int x, int y) {
  CatchUp();
  ::SetPixelV(Dc(), x, y, kGraphForeground);
  Present();
}

void GraphCanvasWin32::ScrollLeft(int pixels) {
  if (pixels == kGraphStep && Unseen()) {
    held_.Scroll();
    return;
  }
  CatchUp();
  Scroll(pixels, 1);
  Present();
}

void GraphCanvasWin32::DrawLine(int x0, int y0, int x1, int y1) {
  if (Unseen()) {
    held_.Line(x0, y0, x1, y1);
    return;
  }
  CatchUp();
  Line(x0, y0, x1, y1);
  Present();
}

void GraphCanvasWin32::CatchUp() {
  if (held_.Empty()) return;
  const GraphCatchUp catchUp = held_.Take();
  Scroll(kGraphStep, catchUp.scrolls);
  for (const GraphLine& line : catchUp.lines) Line(line.x0, line.y0, line.x1, line.y1);
}

void GraphCanvasWin32::Scroll(int pixels, int times) {
  const HDC dc = Dc();
  const int width = Width(), total = pixels * times;
  if (total < width) ::BitBlt(dc, 0, 0, width - total, Height(), dc, total, 0, SRCCOPY);
  for (int x = width - 2 * pixels; x > -pixels && x >= width - total; x -= pixels)
    ::BitBlt(dc, x, 0, pixels, Height(), dc, width - pixels, 0, SRCCOPY);
}

void GraphCanvasWin32::Line(int x0, int y0, int x1, int y1) {
  const HDC dc = Dc();
  ::MoveToEx(dc, x0, y0, nullptr);
  // LineTo stops short of its end point; a picture box's line includes it.
  ::LineTo(dc, x1, y1);
  ::SetPixelV(dc, x1, y1, kGraphForeground);
}

}  // namespace pravelo::display
