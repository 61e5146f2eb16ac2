#include "display/window_region_win32.h"

#include <windows.h>

#include "platform/gdi_win32.h"
#include "ui/dpi_scale.h"
#include "ui/dpi_win32.h"

namespace pravelo::display {

namespace {
constexpr int kCornerSize = 1;
}

void WindowRegionWin32::SetRoundRectRegion(WindowId window, int width, int height) {
  // The size comes in design pixels; the region is in the window's device pixels.
  HWND hwnd = FromNative<HWND>(window);
  const int dpi = ui::DpiOfWindow(hwnd);
  UniqueRegion region(::CreateRoundRectRgn(0, 0, ui::ScaleToDpi(width, dpi), ui::ScaleToDpi(height, dpi),
                                           kCornerSize, kCornerSize));
  if (!region) return;
  // On success the window owns the region and deletes it itself.
  if (::SetWindowRgn(hwnd, region.Get(), TRUE)) region.Release();
}

}  // namespace pravelo::display
