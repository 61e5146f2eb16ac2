// Records handed to the taskbar list interface, as the bytes of their Windows layouts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/handles.h"
#include "taskbar/call_width.h"

namespace pravelo::taskbar {

// THUMBBUTTON: mask, id, bitmap index, icon, a 260-character tip, flags. The icon handle is
// a machine word, so the x64 record pads before it and after the flags.
struct ThumbButtonLayout {
  std::size_t maskOffset = 0;
  std::size_t idOffset = 4;
  std::size_t bitmapOffset = 8;
  std::size_t iconOffset;
  std::size_t iconSize;
  std::size_t tipOffset;
  std::size_t flagsOffset;
  std::size_t size;
};
inline constexpr std::size_t kThumbButtonTipLength = 260;
inline constexpr ThumbButtonLayout kThumbButtonX86{.iconOffset = 12, .iconSize = 4, .tipOffset = 16,
                                                   .flagsOffset = 16 + 2 * kThumbButtonTipLength, .size = 540};
inline constexpr ThumbButtonLayout kThumbButtonX64{.iconOffset = 16, .iconSize = 8, .tipOffset = 24,
                                                   .flagsOffset = 24 + 2 * kThumbButtonTipLength, .size = 552};
constexpr const ThumbButtonLayout& ThumbButtonLayoutOf(CallWidth width) {
  return width == CallWidth::X64 ? kThumbButtonX64 : kThumbButtonX86;
}

inline constexpr uint32_t kThumbButtonIconOnly = 2;  // only hIcon is valid
inline constexpr uint32_t kThumbButtonEnabled = 0;

inline constexpr std::size_t kRectSize = 16;

// `icons.size()` consecutive records, one per icon: icon only, id = index, empty tip,
// enabled.
std::vector<uint8_t> ThumbButtonRecords(const std::vector<NativeHandle>& icons,
                                        CallWidth width = kNativeCallWidth);

// RECT: left, top, right, bottom as signed 32-bit values.
std::array<uint8_t, kRectSize> RectRecord(int32_t left, int32_t top, int32_t right, int32_t bottom);

}  // namespace pravelo::taskbar
