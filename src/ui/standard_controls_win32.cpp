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

HWND ListBoxBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  return CreateNamed(L"LISTBOX", WS_EX_CLIENTEDGE, style, parent, bounds);
}

void ListBoxBinding::ApplyValue() {
  const auto& model = static_cast<ListBox&>(Model());
  SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
  for (const std::string& item : model.Items()) {
    SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  }
  SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
}

void ListBoxBinding::OnCommand(WORD notification) {
  if (notification != LBN_SELCHANGE) return;
  const auto picked = static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
  static_cast<ListBox&>(Model()).SetListIndexFromUser(picked == LB_ERR ? -1 : picked);
}

}  // namespace pravelo::ui
