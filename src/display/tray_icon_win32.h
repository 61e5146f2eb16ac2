// Turning a picture into the tray icon: pixels of the key colour become transparent.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/gdi_win32.h"

namespace pravelo::display {

inline constexpr int kTrayIconSize = 32;
// The key as the program has always written it; only its three low bytes are a colour
// (red 250, green 77, blue 254). The high byte 0xFF would make GDI read it as a palette
// index and match nothing, so it is masked off before use.
inline constexpr std::int32_t kTransparentKeyValue = -111110;
inline constexpr COLORREF kTransparentKey = static_cast<COLORREF>(kTransparentKeyValue) & 0x00FFFFFF;
static_assert(kTransparentKey == RGB(250, 77, 254));

// A 32 x 32 monochrome bitmap of the picture selected into `dc`: 1 where the pixel is
// `key`, 0 elsewhere. Null on failure. The background colour of `dc` is left as it was.
UniqueBitmap MakeMaskBitmap(HDC dc, COLORREF key);

// A 32 x 32 icon of the top-left of `bitmap`, transparent where the key colour is.
// Takes over the bitmap: it is deleted before this returns. Null on failure.
UniqueIcon MakeTrayIcon(UniqueBitmap bitmap);

}  // namespace pravelo::display
