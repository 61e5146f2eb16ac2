// The taskbar list of Windows 7 and later behind TaskbarList: every method is called by
// its slot through CallInterfaceMethod. Implemented for Windows only.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "taskbar/button_shown.h"
#include "taskbar/com_apartment.h"
#include "taskbar/executable_block.h"
#include "taskbar/taskbar_calls.h"
#include "taskbar/taskbar_list.h"

namespace pravelo::taskbar {

class ITaskBarList3 final : public TaskbarList {
 public:
  // Creates the system's taskbar list object; where there is none every call returns 0.
  ITaskBarList3();
  // Takes over one reference of an interface made elsewhere (0: none).
  explicit ITaskBarList3(std::uintptr_t taskbarListInterface);
  // Terminates if that was not done. Must not run inside the subclassed window's procedure.
  ~ITaskBarList3() override;
  ITaskBarList3(const ITaskBarList3&) = delete;
  ITaskBarList3& operator=(const ITaskBarList3&) = delete;

  int32_t SetProgressState(WindowId hwnd, int32_t tbpFlags) override;
  int32_t SetProgressValue(WindowId hwnd, uint32_t ullCompleted, uint32_t ullTotal) override;
  int32_t SetOverlayIcon(WindowId hwnd, NativeHandle hIcon, std::string_view pszDescription) override;
  int32_t SetThumbnailClip(WindowId hwnd, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  int32_t SetThumbnailTooltip(WindowId hwnd, std::string_view pszTip) override;
  // Once per object, 1 ... 7 buttons; also subclasses hwnd so that presses come back.
  int32_t ThumbBarAddButtons(WindowId hwnd, int32_t cButtons,
                             const std::vector<NativeHandle>& icons) override;
  // Also forgets what the old button showed, so that the next calls set it all again.
  int32_t ThumbBarReAddButtons() override;
  // May be called from a ButtonPressed handler; safe to call twice.
  void Class_Terminate() override;

  // The subclassed window's procedure: raises ButtonPressed for a toolbar button's
  // command, then passes every message on to the procedure it replaced.
  std::intptr_t ButtonsWindowProc(WindowId hwnd, uint32_t uMsg, std::uintptr_t wParam, std::intptr_t lParam);

  // Whether there is an interface to call.
  bool Available() const { return taskbarList != 0; }

 private:
  void Adopt(std::uintptr_t taskbarListInterface);
  int32_t Call(const InterfaceCall& call) const;
  void SubclassWindow();
  void UnsubclassWindow();

  ComApartment apartment_;
#ifndef _WIN64
  // The 32-bit subclass runs generated code that carries this object's address. It lives
  // until the object goes, not only until termination: termination may come from a button
  // press, while this code is still running below the handler.
  ExecutableBlock thunkCode;
#endif
  std::intptr_t previousWindowProc = 0;
  WindowId buttonsWindow = 0;
  std::uintptr_t taskbarList = 0;
  ButtonShown shown_;  // lets a repeated call be left out
  std::vector<uint8_t> buttonRecords_;  // kept for adding the toolbar again
  int32_t buttonCount_ = 0;
};

// The message a window receives when its taskbar button has been (re)created, e.g. after
// the shell restarted; the toolbar is then gone and ThumbBarReAddButtons brings it back.
uint32_t TaskbarButtonCreatedMessage();

}  // namespace pravelo::taskbar
