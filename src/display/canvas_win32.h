// A picture that keeps what is drawn on it: a memory bitmap, shown by whichever window
// it is bound to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>

#include "platform/gdi_win32.h"

namespace pravelo::display {

// A canvas that cannot be made: which call failed, with the error Windows gave. Its own
// type, as std::system_error would bring the library's message tables into the program.
class CanvasError : public std::exception {
 public:
  CanvasError(const char* call, DWORD error) noexcept : call_(call), error_(error) {}
  const char* what() const noexcept override { return call_; }
  DWORD Error() const noexcept { return error_; }

 private:
  const char* call_;
  DWORD error_;
};

// A 32-bit top-down DIB section and its pixels (0x00RRGGBB, row by row); null on failure.
UniqueBitmap CreateTopDownBitmap(int width, int height, uint32_t** pixels);

// A bitmap of the program's resources; null if it is missing.
UniqueBitmap LoadPicture(int resourceId);

// Draws `picture` at (0, 0) of `dc`, at its own size.
void DrawPicture(HDC dc, HBITMAP picture);

// A memory context with its bitmap selected for as long as both live.
class BitmapDc {
 public:
  // Throws CanvasError when the bitmap is null or the context cannot be made.
  explicit BitmapDc(UniqueBitmap bitmap);
  BitmapDc(const BitmapDc&) = delete;
  BitmapDc& operator=(const BitmapDc&) = delete;

  HDC Get() const noexcept { return dc_.Get(); }
  SIZE Size() const noexcept { return size_; }

 private:
  UniqueBitmap bitmap_;
  UniqueDc dc_;
  SIZE size_;
  ScopedSelect selection_;
};

class MemoryCanvas {
 public:
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  // The window that shows the canvas, painted from it after each drawing; null for none. Its
  // WM_PAINT paints through PaintTo.
  void BindWindow(HWND window) noexcept { window_ = window; }
  // Copies `area` of the canvas to the same place of `target`.
  void Paint(HDC target, const RECT& area) const noexcept;
  // The whole canvas over `client` of `target`, stretched when the window is at another DPI.
  void PaintTo(HDC target, const RECT& client) const noexcept;

  HDC Dc() const noexcept { return canvas_.Get(); }
  int Width() const noexcept { return canvas_.Size().cx; }
  int Height() const noexcept { return canvas_.Size().cy; }

 protected:
  // 32 bits per pixel whatever the screen, so colours are kept exactly (the icon's key).
  // Starts as PaintBackground(picture) leaves it; the picture is not kept, so a canvas that
  // never starts again does not hold it. Throws CanvasError when the bitmap cannot be had
  // or `picture` is null.
  MemoryCanvas(int width, int height, COLORREF background, HBITMAP picture);
  ~MemoryCanvas() = default;
  // Paints the bound window from the canvas at once, if it can be seen.
  void Present() const noexcept;
  // Bound to a window that cannot be seen.
  bool Unseen() const noexcept;
  // The whole canvas back to its background colour with `picture` at the top-left.
  void PaintBackground(HBITMAP picture) const noexcept;

 private:
  BitmapDc canvas_;
  COLORREF background_;
  HWND window_ = nullptr;
};

}  // namespace pravelo::display
