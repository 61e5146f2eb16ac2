#include "ui/global_hotkey_win32.h"

namespace pravelo::ui {
namespace {

// Held keys would otherwise ask for one pass after another.
constexpr UINT kNoRepeat = 0x4000;

}  // namespace

GlobalHotkeyWin32::GlobalHotkeyWin32(GlobalHotkey& model, Control& owner) : model_(model), owner_(owner) {
  model_.Attach(this);
}

GlobalHotkeyWin32::~GlobalHotkeyWin32() {
  Unregister();
  model_.Attach(nullptr);
}

bool GlobalHotkeyWin32::Register(uint32_t modifiers, uint32_t virtualKey) {
  Unregister();
  HWND window = reinterpret_cast<HWND>(owner_.Handle());
  if (!window || !RegisterHotKey(window, kId, modifiers | kNoRepeat, virtualKey)) return false;
  registeredOn_ = window;
  return true;
}

void GlobalHotkeyWin32::Unregister() {
  if (registeredOn_) UnregisterHotKey(registeredOn_, kId);
  registeredOn_ = nullptr;
}

}  // namespace pravelo::ui
