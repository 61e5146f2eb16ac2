// The taskbar button of a window as the rest of the program uses it: progress, overlay,
// thumbnail clip and tooltip, and a thumbnail toolbar whose presses come back as
// ButtonPressed. Results are the interface's HRESULTs, or 0 where no call was made.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/handles.h"

namespace pravelo::taskbar {

inline constexpr int32_t kNoProgress = 0;
inline constexpr int32_t kProgressIndeterminate = 1;
inline constexpr int32_t kProgressNormal = 2;
inline constexpr int32_t kProgressPaused = 8;
inline constexpr int32_t kProgressErrorPaused = 12;  // the error flag 4 with the paused flag 8

class TaskbarList {
 public:
  virtual ~TaskbarList() = default;
  virtual int32_t SetProgressState(WindowId hwnd, int32_t tbpFlags) = 0;
  virtual int32_t SetProgressValue(WindowId hwnd, uint32_t ullCompleted, uint32_t ullTotal) = 0;
  virtual int32_t SetOverlayIcon(WindowId hwnd, NativeHandle hIcon, std::string_view pszDescription) = 0;
  virtual int32_t SetThumbnailClip(WindowId hwnd, int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual int32_t SetThumbnailTooltip(WindowId hwnd, std::string_view pszTip) = 0;
  virtual int32_t ThumbBarAddButtons(WindowId hwnd, int32_t cButtons, const std::vector<NativeHandle>& icons) = 0;
  // Adds the toolbar of ThumbBarAddButtons again, same buttons, same window, when the
  // taskbar button was made anew ("TaskbarButtonCreated"); 0 while there is none.
  virtual int32_t ThumbBarReAddButtons() = 0;
  // Undoes the subclass and releases the interface; the window must still exist.
  virtual void Class_Terminate() = 0;

  // A thumbnail-toolbar button was pressed: its index.
  std::function<void(int16_t index)> ButtonPressed;
};

}  // namespace pravelo::taskbar
