// Move-only owners of GDI and USER objects, and a selection that puts the old object
// back before anything is deleted.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/handles.h"

namespace pravelo::display {

template <typename Handle, auto Release>
class UniqueObject {
 public:
  UniqueObject() noexcept = default;
  explicit UniqueObject(Handle handle) noexcept : handle_(handle) {}
  UniqueObject(UniqueObject&& other) noexcept : handle_(other.release()) {}
  UniqueObject& operator=(UniqueObject&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueObject(const UniqueObject&) = delete;
  UniqueObject& operator=(const UniqueObject&) = delete;
  ~UniqueObject() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  Handle release() noexcept { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) noexcept {
    if (Handle old = std::exchange(handle_, handle)) Release(old);
  }

 private:
  Handle handle_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void DestroyIconHandle(HICON icon) noexcept { ::DestroyIcon(icon); }

using UniqueDc = UniqueObject<HDC, DeleteMemoryDc>;
using UniqueBitmap = UniqueObject<HBITMAP, DeleteGdiObject>;
using UniqueFont = UniqueObject<HFONT, DeleteGdiObject>;
using UniquePen = UniqueObject<HPEN, DeleteGdiObject>;
using UniqueRegion = UniqueObject<HRGN, DeleteGdiObject>;
using UniqueIcon = UniqueObject<HICON, DestroyIconHandle>;

// The screen's device context for as long as the object lives.
class ScreenDc {
 public:
  ScreenDc() noexcept : dc_(::GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a context and selects the previous one back on destruction;
// declare it after the owners of the context and the object so it ends first.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {
    if (old_ == HGDI_ERROR) old_ = nullptr;
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (old_) ::SelectObject(dc_, old_);
  }
  // False when the selection failed.
  explicit operator bool() const noexcept { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

inline SIZE BitmapSize(HBITMAP bitmap) noexcept {
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

// The core keeps handles as plain numbers.
template <typename Handle>
Handle FromNative(NativeHandle value) noexcept {
  return reinterpret_cast<Handle>(value);
}
template <typename Handle>
NativeHandle ToNative(Handle handle) noexcept {
  return reinterpret_cast<NativeHandle>(handle);
}

}  // namespace pravelo::display
