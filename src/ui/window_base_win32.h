// A window bound to a C++ object: `this` arrives with WM_NCCREATE, lives in GWLP_USERDATA
// and is cleared at WM_NCDESTROY. The derived class provides
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
#pragma once

#include <windows.h>

namespace pravelo::ui {

template <class Derived>
class WindowBase {
 public:
  HWND Window() const { return window_; }

 protected:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  ~WindowBase() = default;

  // Pass `this` as the creation parameter of CreateWindowExW.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);

    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      // A failing handler must not unwind through the system's code; the message counts
      // as handled and the program goes on with the next one.
      result = 0;
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
    }
    return result;
  }

  HWND window_ = nullptr;
};

}  // namespace pravelo::ui
