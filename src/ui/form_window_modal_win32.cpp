// The parts of a form window that run a loop of their own or measure: modal showing, the
// pop-up menu and text height.
#include <string>

#include "platform/text_win32.h"
#include "ui/dpi_scale.h"
#include "ui/form_window_win32.h"
#include "platform/gdi_win32.h"

namespace pravelo::ui {

void FormWindow::RunModal(Form* owner) {
  if (!window_) return;
  if (inModal_) {
    SetForegroundWindow(window_);
    return;
  }
  HWND ownerWindow = owner ? reinterpret_cast<HWND>(owner->Handle()) : nullptr;
  if (ownerWindow == window_) ownerWindow = nullptr;
  const bool ownerWasEnabled = ownerWindow && IsWindowEnabled(ownerWindow);
  if (ownerWindow) {
    // Owned, the window stays above its owner while the owner cannot be used.
    SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    EnableWindow(ownerWindow, FALSE);
  }
  inModal_ = true;
  form_.SetVisible(true);
  while (window_ && form_.Loaded() && form_.Visible() && !context_.pump.QuitCode()) {
    context_.pump.WaitAndDispatch();
  }
  inModal_ = false;
  if (window_) SetWindowLongPtrW(window_, GWLP_HWNDPARENT, 0);
  if (ownerWindow && IsWindow(ownerWindow)) {
    if (ownerWasEnabled) EnableWindow(ownerWindow, TRUE);
    if (IsWindowVisible(ownerWindow)) SetActiveWindow(ownerWindow);
  }
}

MenuItem* FormWindow::ChooseFromMenu(const std::vector<MenuItem*>& items) {
  if (!window_ || items.empty()) return nullptr;
  UINT chosen = 0;
  {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return nullptr;
    for (std::size_t i = 0; i < items.size(); ++i) {
      AppendMenuW(menu.Get(), MF_STRING, i + 1, Widen(items[i]->caption).c_str());
    }
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window_);
    POINT at{};
    GetCursorPos(&at);
    chosen = static_cast<UINT>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
    // Lets the menu's own loop see the switch of task, so the next menu opens properly.
    PostMessageW(window_, WM_NULL, 0, 0);
  }
  if (chosen == 0 || chosen > items.size()) return nullptr;
  return items[chosen - 1];
}

int FormWindow::TextHeight(std::string_view text) {
  const std::wstring wide = Widen(text);
  WindowDc dc(window_);
  if (!dc.Get()) return 0;
  ScopedSelect font(dc.Get(), Font(options_.font));
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &bounds,
            DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  return ScaleFromDpi(bounds.bottom - bounds.top, Dpi());
}

}  // namespace pravelo::ui
