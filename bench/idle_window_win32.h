// What both idle programs share: one top-level window, a 170 ms timer, the message loop,
// and a line of tick figures every ten seconds on standard output.
#pragma once

#include <windows.h>

#include <cstdio>

namespace pravelo::bench {

inline constexpr UINT kTickMilliseconds = 170;
inline constexpr UINT_PTR kTickTimer = 1;
inline constexpr int kTicksPerReport = 59;  // about ten seconds

// Counts ticks and the time spent inside them.
class TickMeter {
 public:
  TickMeter() { ::QueryPerformanceFrequency(&frequency_); }

  template <typename Work>
  void Measure(Work&& work) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    busy_ += end.QuadPart - start.QuadPart;
    if (++ticks_ % kTicksPerReport == 0) {
      std::printf("ticks %ld, mean wall time per tick %.1f us\n", ticks_,
                  static_cast<double>(busy_) * 1e6 / static_cast<double>(frequency_.QuadPart) / ticks_);
      std::fflush(stdout);
    }
  }

 private:
  LARGE_INTEGER frequency_{};
  LONGLONG busy_ = 0;
  long ticks_ = 0;
};

inline HWND CreateIdleWindow(const wchar_t* className, WNDPROC procedure, int width, int height) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (!::RegisterClassExW(&windowClass)) return nullptr;
  HWND window = ::CreateWindowExW(0, className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width,
                                  height, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window) ::SetTimer(window, kTickTimer, kTickMilliseconds, nullptr);
  return window;
}

inline int RunMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace pravelo::bench
