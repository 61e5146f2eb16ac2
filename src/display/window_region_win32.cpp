#include "display/window_region_win32.h"

#include <windows.h>

#include "display/gdi_win32.h"

namespace pravelo::display {

namespace {
constexpr int kCornerSize = 1;
}

void WindowRegionWin32::SetRoundRectRegion(WindowId window, int width, int height) {
  UniqueRegion region(::CreateRoundRectRgn(0, 0, width, height, kCornerSize, kCornerSize));
  if (!region) return;
  // On success the window owns the region and deletes it itself.
  if (::SetWindowRgn(FromNative<HWND>(window), region.get(), TRUE)) region.release();
}

}  // namespace pravelo::display
