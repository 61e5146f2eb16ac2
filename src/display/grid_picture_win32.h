// The graph grid as a bitmap, made on demand.
#pragma once

#include "platform/gdi_win32.h"

namespace pravelo::display {

// Null when no bitmap can be had.
UniqueBitmap MakeGridBitmap();

}  // namespace pravelo::display
