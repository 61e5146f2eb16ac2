// Reading pixels back from GDI objects, and making pictures with known pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/gdi_win32.h"

namespace pravelo::test {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Pixels&) const = default;
};

inline BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

inline COLORREF FromDibPixel(DWORD pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
inline DWORD ToDibPixel(COLORREF colour) {
  return static_cast<DWORD>(GetRValue(colour)) << 16 | static_cast<DWORD>(GetGValue(colour)) << 8 |
         GetBValue(colour);
}

// The bitmap must not be selected into a context. Empty on failure.
inline Pixels ReadBitmap(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  Pixels pixels{size.cx, size.cy, {}};
  std::vector<DWORD> raw(static_cast<std::size_t>(size.cx) * size.cy);
  BITMAPINFO info = TopDown32(size.cx, size.cy);
  WindowDc screen;
  if (raw.empty() ||
      ::GetDIBits(screen.Get(), bitmap, 0, size.cy, raw.data(), &info, DIB_RGB_COLORS) != size.cy)
    return {};
  for (DWORD pixel : raw) pixels.data.push_back(FromDibPixel(pixel));
  return pixels;
}

// A 32-bit picture whose pixel (x, y) is colour(x, y).
inline UniqueBitmap MakePicture(int width, int height,
                                         const std::function<COLORREF(int, int)>& colour) {
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  auto* row = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) row[y * width + x] = ToDibPixel(colour(x, y));
  ::GdiFlush();
  return bitmap;
}

// What a context shows in (0, 0, width, height).
inline Pixels ReadDc(HDC dc, int width, int height) {
  UniqueBitmap copy = MakePicture(width, height, [](int, int) { return RGB(0, 0, 0); });
  {
    UniqueDc copyDc(::CreateCompatibleDC(dc));
    ScopedSelect selection(copyDc.Get(), copy.Get());
    if (!selection || !::BitBlt(copyDc.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY)) return {};
  }
  return ReadBitmap(copy.Get());
}

}  // namespace pravelo::test
