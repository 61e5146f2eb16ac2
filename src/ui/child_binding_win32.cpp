#include "ui/child_binding_win32.h"

#include <utility>

#include "platform/text_win32.h"
#include "ui/dpi_scale.h"

namespace pravelo::ui {
namespace {

RECT ToRect(const Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

}  // namespace

ChildBinding::ChildBinding(Control& model, ChildHost& host, ChildStyle style, int id)
    : model_(model), host_(host), style_(style), id_(id) {
  model_.Attach(this, 0);
}

ChildBinding::~ChildBinding() {
  DestroyControl();
  model_.Detach();
}

void ChildBinding::DestroyControl() {
  if (!hwnd_) return;
  DestroyWindow(std::exchange(hwnd_, nullptr));
  model_.Attach(this, 0);
}

void ChildBinding::Create(HWND parent) {
  if (hwnd_) return;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (model_.Visible() ? WS_VISIBLE : 0u) |
                      (model_.Enabled() ? 0u : WS_DISABLED);
  hwnd_ = CreateControl(parent, style, ToRect(ScaleToDpi(model_.Bounds(), host_.Dpi())));
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Font(style_.font)), FALSE);
  if (style_.onTop) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  model_.Attach(this, reinterpret_cast<WindowId>(hwnd_));
  ApplyValue();
}

HWND ChildBinding::CreateNamed(const wchar_t* className, DWORD exStyle, DWORD style, HWND parent,
                               const RECT& bounds, void* param) {
  return CreateWindowExW(exStyle, className, Widen(model_.Text()).c_str(), style, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), host_.Instance(), param);
}

void ChildBinding::Forget() {
  hwnd_ = nullptr;
  model_.Attach(this, 0);
}

void ChildBinding::Relayout() {
  if (!hwnd_) return;
  Place();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Font(style_.font)), TRUE);
}

void ChildBinding::Place() {
  const Rect r = ScaleToDpi(model_.Bounds(), host_.Dpi());
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildBinding::ApplyText() { SetWindowTextW(hwnd_, Widen(model_.Text()).c_str()); }

void ChildBinding::Apply(Change change) {
  if (!hwnd_) return;
  switch (change) {
    case Change::Text:
      ApplyText();
      break;
    case Change::Geometry:
      Place();
      break;
    case Change::Visible:
      ShowWindow(hwnd_, model_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Enabled:
      EnableWindow(hwnd_, model_.Enabled());
      break;
    case Change::Focus:
      if (host_.Showing()) SetFocus(hwnd_);
      break;
    case Change::Value:
    case Change::Picture:
      ApplyValue();
      break;
  }
}

}  // namespace pravelo::ui
