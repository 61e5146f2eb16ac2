#include "ui/dpi_win32.h"

#include "ui/dpi_scale.h"
#include "ui/system_function_win32.h"

namespace pravelo::ui {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

int DcDpi(HWND window) {
  HDC dc = GetDC(window);
  if (!dc) return kDesignDpi;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int DpiOfWindow(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  return DcDpi(window);
}

int SystemDpi() { return DcDpi(nullptr); }

SIZE OuterSizeForClient(DWORD style, DWORD exStyle, SIZE client, int dpi) {
  static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    // The older call measures the frame at the system DPI.
    RECT plain{0, 0, 0, 0};
    AdjustWindowRectEx(&plain, style, FALSE, exStyle);
    const int system = SystemDpi();
    rect = {MulDivRound(plain.left, dpi, system), MulDivRound(plain.top, dpi, system),
            client.cx + MulDivRound(plain.right, dpi, system),
            client.cy + MulDivRound(plain.bottom, dpi, system)};
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW MessageFont(int dpi) {
  static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return metrics.lfMessageFont;
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = MulDivRound(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return metrics.lfMessageFont;
  }
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfHeight = MulDivRound(font.lfHeight, dpi, SystemDpi());
  return font;
}

}  // namespace pravelo::ui
