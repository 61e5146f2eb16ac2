// The floor of the idle cost: a window whose 170 ms timer does nothing.
#include <windows.h>

#include "idle_window_win32.h"

namespace {

pravelo::bench::TickMeter meter;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      meter.Measure([] {});
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
  if (!pravelo::bench::CreateIdleWindow(L"PraveloIdleNull", WindowProcedure, 240, 220)) return 1;
  return pravelo::bench::RunMessageLoop();
}
