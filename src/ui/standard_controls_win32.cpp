#include "ui/standard_controls_win32.h"

#include <string>

#include "platform/text_win32.h"
#include "platform/window_seen_win32.h"

namespace pravelo::ui {
namespace {

DWORD AlignStyle(TextAlign align) {
  switch (align) {
    case TextAlign::Center:
      return SS_CENTER;
    case TextAlign::Right:
      return SS_RIGHT;
    case TextAlign::Left:
      break;
  }
  return SS_LEFT;
}

WPARAM CheckState(int value) {
  switch (value) {
    case 0:
      return BST_UNCHECKED;
    case 2:
      return BST_INDETERMINATE;
    default:
      return BST_CHECKED;
  }
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

HWND ButtonBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  style |= BS_PUSHBUTTON | WS_TABSTOP | (Style().multiline ? BS_MULTILINE : 0u);
  return CreateNamed(L"BUTTON", 0, style, parent, bounds);
}

void ButtonBinding::OnCommand(WORD notification) {
  if (notification == BN_CLICKED) static_cast<Button&>(Model()).Click();
}

HWND CheckBoxBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  // Three states, as the model has; not automatic, so the mark is only ever the model's.
  style |= BS_3STATE | WS_TABSTOP | (Style().multiline ? BS_MULTILINE : 0u);
  return CreateNamed(L"BUTTON", 0, style, parent, bounds);
}

void CheckBoxBinding::ApplyValue() {
  SendMessageW(Hwnd(), BM_SETCHECK, CheckState(static_cast<CheckBox&>(Model()).Value()), 0);
}

void CheckBoxBinding::OnCommand(WORD notification) {
  if (notification == BN_CLICKED) static_cast<CheckBox&>(Model()).Click();
}

HWND LabelBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  return CreateNamed(L"STATIC", 0, style | SS_NOPREFIX | AlignStyle(Style().align), parent, bounds);
}

void LabelBinding::ApplyText() {
  const std::wstring text = Widen(Model().Text());
  // The same text again would only be painted again.
  if (WindowText(Hwnd()) == text) return;
  if (CanBeSeen(Hwnd())) {
    SetWindowTextW(Hwnd(), text.c_str());
    return;
  }
  // The label's own handler paints the new text at once, even in a minimized window. Kept
  // by the window alone, it is painted when the window is shown again, which paints it whole.
  DefWindowProcW(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND TextBoxBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  settingText_ = true;
  HWND window =
      CreateNamed(L"EDIT", WS_EX_CLIENTEDGE, style | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, parent, bounds);
  settingText_ = false;
  return window;
}

void TextBoxBinding::ApplyText() {
  settingText_ = true;
  ChildBinding::ApplyText();
  settingText_ = false;
}

void TextBoxBinding::OnCommand(WORD notification) {
  if (notification == EN_CHANGE && !settingText_) Model().SetTextFromUser(Narrow(WindowText(Hwnd())));
}

}  // namespace pravelo::ui
