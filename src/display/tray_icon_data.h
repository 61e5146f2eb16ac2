// The one tray record, as the program fills it; the Windows side turns it into the
// shell's record for each call.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace pravelo::display {

inline constexpr uint32_t kTrayRecordSize = 488;  // the 128-character-tip layout with balloon fields
inline constexpr uint32_t kTrayFlags = 0x17;      // message + icon + tip + balloon info
inline constexpr uint32_t kTrayCallbackMessage = 0x200;
inline constexpr uint32_t kTrayIconId = 1;
inline constexpr std::size_t kTrayTipLength = 128;

enum class TrayOperation : uint32_t { Add = 0, Modify = 1, Delete = 2 };

struct TrayIconData {
  uint32_t cbSize = 0;
  WindowId hWnd = 0;
  uint32_t uID = 0;
  uint32_t uFlags = 0;
  uint32_t uCallbackMessage = 0;
  NativeHandle hIcon = 0;
  // The whole 128-character field: the tip, one NUL, then blanks.
  std::string szTip;
};

}  // namespace pravelo::display
