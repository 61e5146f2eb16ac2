// The drawing one refresh does, written straight against the system with nothing around
// it: what the program's own refresh is measured against.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "platform/gdi_win32.h"
#include "idle_window_win32.h"

namespace {

using namespace pravelo;

constexpr int kGraphWidth = 500, kGraphHeight = 153, kViewWidth = 217, kViewTop = 26;
constexpr int kIconCanvas = 48, kIcon = 32;
constexpr int kBarLeft = 72, kBarWidth = 145, kBarHeight = 27;
constexpr COLORREF kKey = RGB(250, 77, 254);

UniqueBitmap ScreenBitmap(int width, int height) {
  WindowDc screen;
  return UniqueBitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
}

// A memory bitmap with a drawing object selected into its context for its whole life.
struct Canvas {
  Canvas(int width, int height, HGDIOBJ tool)
      : bitmap(ScreenBitmap(width, height)),
        dc(::CreateCompatibleDC(nullptr)),
        bitmapSelection(dc.Get(), bitmap.Get()),
        toolSelection(dc.Get(), tool) {}
  UniqueBitmap bitmap;
  UniqueDc dc;
  ScopedSelect bitmapSelection, toolSelection;
};

struct Reference {
  HWND window = nullptr, label = nullptr, bar = nullptr;
  UniquePen pen{::CreatePen(PS_SOLID, 1, RGB(255, 255, 255))};
  UniqueFont font{::CreateFontW(-27, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                NONANTIALIASED_QUALITY, 0, L"Verdana")};
  Canvas graph{kGraphWidth, kGraphHeight, pen.Get()};
  Canvas icon{kIconCanvas, kIconCanvas, font.Get()};
  NOTIFYICONDATAW tray{};
  int lastY = kGraphHeight;
};

Reference* reference = nullptr;
pravelo::bench::TickMeter meter;

HICON MakeIcon(HDC canvas) {
  UniqueDc colourDc(::CreateCompatibleDC(canvas)), maskDc(::CreateCompatibleDC(canvas));
  UniqueBitmap colour(::CreateCompatibleBitmap(canvas, kIcon, kIcon));
  UniqueBitmap mask(::CreateBitmap(kIcon, kIcon, 1, 1, nullptr));
  {
    ScopedSelect colourSelection(colourDc.Get(), colour.Get());
    ScopedSelect maskSelection(maskDc.Get(), mask.Get());
    ::BitBlt(colourDc.Get(), 0, 0, kIcon, kIcon, canvas, 0, 0, SRCCOPY);
    ::SetBkColor(colourDc.Get(), kKey);
    ::BitBlt(maskDc.Get(), 0, 0, kIcon, kIcon, colourDc.Get(), 0, 0, SRCCOPY);
  }
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return ::CreateIconIndirect(&info);
}

void Tick(Reference& r) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  ::GlobalMemoryStatusEx(&status);
  const int load = static_cast<int>(status.dwMemoryLoad);

  wchar_t text[16];
  std::swprintf(text, 16, L"%d%%", load);
  ::SetWindowTextW(r.label, text);

  const int y = kGraphHeight - load * kGraphHeight / 100;
  ::BitBlt(r.graph.dc.Get(), 0, 0, kGraphWidth, kGraphHeight, r.graph.dc.Get(), 2, 0, SRCCOPY);
  ::MoveToEx(r.graph.dc.Get(), kViewWidth - 2, r.lastY, nullptr);
  ::LineTo(r.graph.dc.Get(), kViewWidth, y);
  r.lastY = y;
  const RECT view{0, kViewTop, kViewWidth, kViewTop + kGraphHeight};
  ::InvalidateRect(r.window, &view, FALSE);

  std::swprintf(text, 16, L" %d ", load);
  ::TextOutW(r.icon.dc.Get(), -10, 0, text, static_cast<int>(std::wcslen(text)));
  HICON icon = MakeIcon(r.icon.dc.Get());
  r.tray.hIcon = icon;
  std::swprintf(r.tray.szTip, 128, L"Pravelo - %d%%", load);
  ::Shell_NotifyIconW(NIM_MODIFY, &r.tray);
  ::DestroyIcon(icon);

  HRGN region = ::CreateRoundRectRgn(0, 0, kBarWidth * load / 100, kBarHeight, 1, 1);
  if (!::SetWindowRgn(r.bar, region, TRUE)) ::DeleteObject(region);
}

void Paint(const Reference& r) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(r.window, &paint);
  ::BitBlt(dc, 0, kViewTop, kViewWidth, kGraphHeight, r.graph.dc.Get(), 0, 0, SRCCOPY);
  ::EndPaint(r.window, &paint);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (reference) meter.Measure([] { Tick(*reference); });
      return 0;
    case WM_PAINT:
      if (reference) {
        Paint(*reference);
        return 0;
      }
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool Setup(Reference& r) {
  r.window = pravelo::bench::CreateIdleWindow(L"PraveloIdleReference", WindowProcedure, 240, 220);
  if (!r.window) return false;
  r.label = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, kBarLeft, kBarHeight, r.window,
                              nullptr, nullptr, nullptr);
  r.bar = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, kBarLeft, 0, kBarWidth,
                            kBarHeight, r.window, nullptr, nullptr, nullptr);

  ::SetBkMode(r.icon.dc.Get(), TRANSPARENT);
  ::PatBlt(r.icon.dc.Get(), 0, 0, kIconCanvas, kIconCanvas, WHITENESS);

  r.tray.cbSize = NOTIFYICONDATAW_V2_SIZE;
  r.tray.hWnd = r.window;
  r.tray.uID = 1;
  r.tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  r.tray.uCallbackMessage = WM_MOUSEMOVE;
  r.tray.hIcon = MakeIcon(r.icon.dc.Get());
  std::wcscpy(r.tray.szTip, L"Pravelo");
  const bool added = ::Shell_NotifyIconW(NIM_ADD, &r.tray);
  ::DestroyIcon(r.tray.hIcon);
  if (!added) std::fprintf(stderr, "the tray icon could not be added; modifies will fail\n");
  return true;
}

}  // namespace

int main() {
  Reference r;
  if (!Setup(r)) return 1;
  reference = &r;
  const int result = pravelo::bench::RunMessageLoop();
  ::Shell_NotifyIconW(NIM_DELETE, &r.tray);
  reference = nullptr;
  return result;
}
