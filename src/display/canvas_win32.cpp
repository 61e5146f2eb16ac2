#include "display/canvas_win32.h"

#include "platform/window_seen_win32.h"

namespace pravelo::display {
namespace {

[[noreturn]] void ThrowLastError(const char* what) { throw CanvasError(what, ::GetLastError()); }

UniqueBitmap CreateCanvasBitmap(int width, int height) {
  uint32_t* pixels = nullptr;
  UniqueBitmap bitmap = CreateTopDownBitmap(width, height, &pixels);
  if (!bitmap) ThrowLastError("CreateDIBSection");
  return bitmap;
}

}  // namespace

UniqueBitmap CreateTopDownBitmap(int width, int height, uint32_t** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  *pixels = static_cast<uint32_t*>(bits);
  return bitmap;
}

UniqueBitmap LoadPicture(int resourceId) {
  return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(
      ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void DrawPicture(HDC dc, HBITMAP picture) {
  UniqueDc source(::CreateCompatibleDC(dc));
  ScopedSelect selection(source.Get(), picture);
  if (!selection) return;
  const SIZE size = BitmapSize(picture);
  ::BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

BitmapDc::BitmapDc(UniqueBitmap bitmap)
    : bitmap_(std::move(bitmap)),
      dc_(::CreateCompatibleDC(nullptr)),
      size_(BitmapSize(bitmap_.Get())),
      selection_(dc_.Get(), bitmap_.Get()) {
  if (!selection_) ThrowLastError("SelectObject");
}

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF background, HBITMAP picture)
    : canvas_(CreateCanvasBitmap(width, height)), background_(background) {
  if (!picture) ThrowLastError("picture");
  PaintBackground(picture);
}

void MemoryCanvas::PaintBackground(HBITMAP picture) const noexcept {
  const HDC dc = canvas_.Get();
  const COLORREF textBackground = ::SetBkColor(dc, background_);
  const RECT all{0, 0, Width(), Height()};
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  ::SetBkColor(dc, textBackground);
  DrawPicture(dc, picture);
}

void MemoryCanvas::Paint(HDC target, const RECT& area) const noexcept {
  ::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_.Get(),
           area.left, area.top, SRCCOPY);
}

void MemoryCanvas::PaintTo(HDC target, const RECT& client) const noexcept {
  if (client.right == Width() && client.bottom == Height()) return Paint(target, client);
  ::SetStretchBltMode(target, COLORONCOLOR);
  ::StretchBlt(target, 0, 0, client.right, client.bottom, canvas_.Get(), 0, 0, Width(), Height(), SRCCOPY);
}

bool MemoryCanvas::Unseen() const noexcept { return window_ && !CanBeSeen(window_); }

void MemoryCanvas::Present() const noexcept {
  // Painted here rather than invalidated: an invalidation costs three round trips to the
  // window system on every refresh (invalidate, the paint message, validate), this none.
  // Nothing reaches the screen of a hidden or minimized window; its WM_PAINT paints it
  // whole from the canvas when it is shown again.
  if (!window_ || !CanBeSeen(window_)) return;
  RECT client;
  if (!::GetClientRect(window_, &client)) return;
  if (const WindowDc dc(window_); dc.Get()) PaintTo(dc.Get(), client);
}

}  // namespace pravelo::display
