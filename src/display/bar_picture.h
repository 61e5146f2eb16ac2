// The load bars' pictures: a base colour with a soft vertical highlight, lighter at the top
// and darker at the bottom in 8 steps, and a border of half the base colour at the top and
// bottom. Drawn by the program rather than kept as bitmap resources.
#pragma once

#include <algorithm>
#include <cstdint>

namespace pravelo::display {

inline constexpr int kBarWidth = 401;
inline constexpr int kBarHeight = 32;
// 0xRRGGBB
inline constexpr uint32_t kBarGreenRgb = 0x28AA3C;
inline constexpr uint32_t kBarGreyRgb = 0x969696;
inline constexpr uint32_t kBarRedRgb = 0xD22828;

// Every pixel of a row has the same colour.
constexpr uint32_t BarRowRgb(uint32_t baseRgb, int y) {
  const bool border = y <= 0 || y >= kBarHeight - 1;
  const int step = std::min(7, y * 8 / kBarHeight);
  const double factor = 1 + 0.35 * (3.5 - step) / 3.5;
  uint32_t rgb = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const int channel = static_cast<int>((baseRgb >> shift) & 0xFF);
    const int value = border ? channel / 2 : std::clamp(static_cast<int>(channel * factor), 0, 255);
    rgb |= static_cast<uint32_t>(value) << shift;
  }
  return rgb;
}

}  // namespace pravelo::display
