// The rules of the thumbnail toolbar: which add requests are made, with which icons, and
// which window messages are button presses.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/handles.h"

namespace pravelo::taskbar {

inline constexpr int32_t kMaxThumbButtons = 7;
inline constexpr uint32_t kCommandMessage = 0x111;
inline constexpr int32_t kThumbButtonClicked = 0x1800;  // high word of a button's command

// The icon of each of `cButtons` buttons, those the array lacks as 0; nothing when the
// request is refused: a count outside 1 ... 7, an icon array empty or longer than seven,
// or a toolbar already added (a window has only one, and it cannot be replaced).
std::optional<std::vector<NativeHandle>> ThumbButtonIcons(int32_t cButtons,
                                                          const std::vector<NativeHandle>& icons,
                                                          bool toolbarAdded);

// The index of the toolbar button that a window message reports pressed, if it is one.
std::optional<int16_t> PressedThumbButton(uint32_t uMsg, std::uintptr_t wParam);

}  // namespace pravelo::taskbar
