// The hotkey registered on a form's window; WM_HOTKEY comes to that window.
#pragma once

#include <windows.h>

#include "ui/controls.h"
#include "ui/global_hotkey.h"

namespace pravelo::ui {

class GlobalHotkeyWin32 final : public GlobalHotkeyPeer {
 public:
  static constexpr int kId = 1;

  // `owner` has its window whenever the combination is set.
  GlobalHotkeyWin32(GlobalHotkey& model, Control& owner);
  GlobalHotkeyWin32(const GlobalHotkeyWin32&) = delete;
  GlobalHotkeyWin32& operator=(const GlobalHotkeyWin32&) = delete;
  ~GlobalHotkeyWin32() override;

  bool Register(uint32_t modifiers, uint32_t virtualKey) override;
  void Unregister() override;

 private:
  GlobalHotkey& model_;
  Control& owner_;
  HWND registeredOn_ = nullptr;
};

}  // namespace pravelo::ui
