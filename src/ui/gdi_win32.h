// Move-only owners of GDI and USER objects, and scoped use of a device context.
#pragma once

#include <windows.h>

namespace pravelo::ui {

template <class Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset(Handle handle = nullptr) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteDC>;

// The device context of a window, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the previous one goes back on scope exit, so
// nothing is deleted while still selected.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace pravelo::ui
