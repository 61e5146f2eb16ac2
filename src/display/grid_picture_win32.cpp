#include "display/grid_picture_win32.h"

#include "display/canvas_win32.h"
#include "display/grid_picture.h"

namespace pravelo::display {

UniqueBitmap MakeGridBitmap() {
  uint32_t* pixel = nullptr;
  UniqueBitmap bitmap = CreateTopDownBitmap(kGridWidth, kGridHeight, &pixel);
  if (!bitmap) return bitmap;
  for (int y = 0; y < kGridHeight; ++y)
    for (int x = 0; x < kGridWidth; ++x) *pixel++ = GridPixelRgb(x, y);
  ::GdiFlush();
  return bitmap;
}

}  // namespace pravelo::display
