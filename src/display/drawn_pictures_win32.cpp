#include "display/drawn_pictures_win32.h"

#include "display/bar_picture.h"
#include "display/canvas_win32.h"
#include "display/grid_picture.h"

namespace pravelo::display {
namespace {

template <class PixelRgb>
UniqueBitmap DrawnBitmap(int width, int height, PixelRgb pixelRgb) {
  uint32_t* pixel = nullptr;
  UniqueBitmap bitmap = CreateTopDownBitmap(width, height, &pixel);
  if (!bitmap) return bitmap;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) *pixel++ = pixelRgb(x, y);
  ::GdiFlush();
  return bitmap;
}

}  // namespace

UniqueBitmap MakeGridBitmap() { return DrawnBitmap(kGridWidth, kGridHeight, GridPixelRgb); }

UniqueBitmap MakeBarBitmap(uint32_t baseRgb) {
  return DrawnBitmap(kBarWidth, kBarHeight, [baseRgb](int, int y) { return BarRowRgb(baseRgb, y); });
}

}  // namespace pravelo::display
