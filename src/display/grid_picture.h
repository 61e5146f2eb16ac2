// The graph's background grid: dark green with brighter lines every 12 pixels, starting at
// the top-left. Drawn by the program rather than kept as a bitmap resource.
#pragma once

#include <cstdint>

namespace pravelo::display {

inline constexpr int kGridWidth = 454;
inline constexpr int kGridHeight = 340;
inline constexpr int kGridSpacing = 12;
// 0xRRGGBB
inline constexpr uint32_t kGridBackRgb = 0x002106;
inline constexpr uint32_t kGridLineRgb = 0x004E14;

constexpr uint32_t GridPixelRgb(int x, int y) {
  return x % kGridSpacing == 0 || y % kGridSpacing == 0 ? kGridLineRgb : kGridBackRgb;
}

}  // namespace pravelo::display
