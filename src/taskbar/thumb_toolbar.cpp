#include "taskbar/thumb_toolbar.h"

#include <algorithm>

namespace pravelo::taskbar {

std::optional<std::vector<NativeHandle>> ThumbButtonIcons(int32_t cButtons,
                                                          const std::vector<NativeHandle>& icons,
                                                          bool toolbarAdded) {
  if (cButtons < 1 || cButtons > kMaxThumbButtons || toolbarAdded) return std::nullopt;
  if (icons.empty() || icons.size() > static_cast<std::size_t>(kMaxThumbButtons)) return std::nullopt;
  std::vector<NativeHandle> chosen(icons.begin(),
                                   icons.begin() + std::min<std::size_t>(icons.size(), cButtons));
  chosen.resize(static_cast<std::size_t>(cButtons), 0);
  return chosen;
}

std::optional<int16_t> PressedThumbButton(uint32_t uMsg, std::uintptr_t wParam) {
  const auto word = static_cast<int32_t>(static_cast<uint32_t>(wParam));
  if (uMsg != kCommandMessage || word / 65536 != kThumbButtonClicked) return std::nullopt;
  return static_cast<int16_t>(static_cast<uint16_t>(word & 0xFFFF));
}

}  // namespace pravelo::taskbar
