// Records handed to the taskbar list interface, as the bytes of their 32-bit Windows
// layouts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/handles.h"

namespace pravelo::taskbar {

// THUMBBUTTON: mask, id, bitmap index, icon, a 260-character tip, flags.
inline constexpr std::size_t kThumbButtonMaskOffset = 0;
inline constexpr std::size_t kThumbButtonIdOffset = 4;
inline constexpr std::size_t kThumbButtonBitmapOffset = 8;
inline constexpr std::size_t kThumbButtonIconOffset = 12;
inline constexpr std::size_t kThumbButtonTipOffset = 16;
inline constexpr std::size_t kThumbButtonTipLength = 260;
inline constexpr std::size_t kThumbButtonFlagsOffset = kThumbButtonTipOffset + 2 * kThumbButtonTipLength;
inline constexpr std::size_t kThumbButtonSize = kThumbButtonFlagsOffset + 4;
static_assert(kThumbButtonSize == 540);

inline constexpr uint32_t kThumbButtonIconOnly = 2;  // only hIcon is valid
inline constexpr uint32_t kThumbButtonEnabled = 0;

inline constexpr std::size_t kRectSize = 16;

// `icons.size()` consecutive records, one per icon: icon only, id = index, empty tip,
// enabled.
std::vector<uint8_t> ThumbButtonRecords(const std::vector<NativeHandle>& icons);

// RECT: left, top, right, bottom as signed 32-bit values.
std::array<uint8_t, kRectSize> RectRecord(int32_t left, int32_t top, int32_t right, int32_t bottom);

}  // namespace pravelo::taskbar
