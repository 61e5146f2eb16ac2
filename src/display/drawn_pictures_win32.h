// The pictures the program draws itself instead of keeping them as bitmap resources.
#pragma once

#include <cstdint>

#include "platform/gdi_win32.h"

namespace pravelo::display {

// Null when no bitmap can be had.
UniqueBitmap MakeGridBitmap();
// A load bar of this base colour (0xRRGGBB); null when no bitmap can be had.
UniqueBitmap MakeBarBitmap(uint32_t baseRgb);

}  // namespace pravelo::display
