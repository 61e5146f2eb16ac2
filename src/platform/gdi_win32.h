// Move-only owners of GDI and USER objects, device contexts borrowed for a scope, and a
// selection that puts the old object back before anything is deleted.
#pragma once

#include <windows.h>

#include "platform/handles.h"
#include "platform/owned_win32.h"

namespace pravelo {

using UniqueFont = Owned<HFONT, &DeleteObject>;
using UniqueBrush = Owned<HBRUSH, &DeleteObject>;
using UniqueBitmap = Owned<HBITMAP, &DeleteObject>;
using UniquePen = Owned<HPEN, &DeleteObject>;
using UniqueRegion = Owned<HRGN, &DeleteObject>;
using UniqueIcon = Owned<HICON, &DestroyIcon>;
using UniqueMenu = Owned<HMENU, &DestroyMenu>;
using UniqueDc = Owned<HDC, &DeleteDC>;  // a memory device context

// The device context of a window (null: the screen's), released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
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

// Selects an object into a context and selects the previous one back on destruction;
// declare it after the owners of the context and the object so it ends first.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {
    if (old_ == HGDI_ERROR) old_ = nullptr;
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  // False when the selection failed.
  explicit operator bool() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

inline SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

// The core keeps handles as plain numbers.
template <typename Handle>
Handle FromNative(NativeHandle value) {
  return reinterpret_cast<Handle>(value);
}
template <typename Handle>
NativeHandle ToNative(Handle handle) {
  return reinterpret_cast<NativeHandle>(handle);
}

}  // namespace pravelo
