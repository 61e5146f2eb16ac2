// The peer of a form model: its top-level window, the controls and timers on it, and the
// window's events forwarded to the model. The binding object lives for the program; the
// window is created, destroyed and created again as the form loads and unloads.
//
// Sizes are design pixels scaled to the window's DPI. A form's position is in screen
// pixels, which no DPI scaling applies to.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/message_pump_win32.h"
#include "ui/child_binding_win32.h"
#include "ui/control_array.h"
#include "ui/fonts_win32.h"
#include "ui/form.h"
#include "ui/layout.h"
#include "ui/picture_box_win32.h"
#include "ui/timer_binding_win32.h"
#include "ui/window_base_win32.h"

namespace pravelo::ui {

struct FormOptions {
  const wchar_t* className = nullptr;
  // The client area in design pixels; the window's frame is added to it. Zero: the
  // model's bounds are the outer size.
  layout::Size client;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD exStyle = 0;  // WS_EX_CONTROLPARENT is always added, for keyboard navigation
  int iconResource = 0;
  FontRole font = FontRole::Message;  // the window's own font, which TextHeight measures in
  // The close box and the system menu's Close; unset: the form unloads, CloseReason::User.
  std::function<void()> onCloseBox;
  // A key pressed while the window itself has the focus: key code and shift state (1 Shift,
  // 2 Ctrl, 4 Alt). True when handled, which keeps the system's default action away.
  std::function<bool(int keyCode, int shift)> onKeyDown;
};

struct BindContext {
  HINSTANCE instance;
  MessagePumpWin32& pump;
  PictureLibrary& pictures;
};

class FormWindow final : public FormPeer, public ChildHost, public WindowBase<FormWindow> {
 public:
  FormWindow(BindContext context, Form& form, FormOptions options);
  // The models must outlive the binding.
  ~FormWindow() override;

  // Controls are created in the order they are added, which is the tab order; a picture
  // box inside another is added after it.
  void AddButton(Button& model, ChildStyle style = {});
  void AddCheckBox(CheckBox& model, ChildStyle style = {});
  void AddLabel(Label& model, ChildStyle style = {});
  void AddTextBox(TextBox& model, ChildStyle style = {});
  void AddListBox(ListBox& model, ChildStyle style = {});
  void AddPicture(PictureBox& model, PictureStyle picture = {}, PictureBox* parent = nullptr,
                  ChildStyle style = {});
  void AddTimer(Timer& model);
  // The template and every element loaded later, as copies of it; a loaded element is
  // hidden until the model shows it. `onClick`/`onTimer`, when given, become each
  // element's handler, called with its index.
  void AddButtonArray(ControlArray<Button>& array, ChildStyle style, std::function<void(int)> onClick = {});
  void AddTimerArray(ControlArray<Timer>& array, std::function<void(int)> onTimer = {});
  // A message of the window's own. A registered message is also let through from
  // processes of lower integrity, as the shell is when the program runs elevated.
  void OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

  void Create() override;
  void Destroy() override;
  void RunModal(Form* owner) override;
  MenuItem* ChooseFromMenu(const std::vector<MenuItem*>& items) override;
  int TextHeight(std::string_view text) override;
  void ApplyWindowState() override;
  void Apply(Change change) override;

  int Dpi() const override { return fonts_.Dpi(); }
  HFONT Font(FontRole role) const override { return fonts_.Get(role); }
  HINSTANCE Instance() const override { return context_.instance; }
  bool Showing() const override { return window_ && IsWindowVisible(window_); }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Child {
    std::unique_ptr<ChildBinding> binding;
    ChildBinding* parent;
  };
  struct Handler {
    UINT message;
    std::function<LRESULT(WPARAM, LPARAM)> handle;
  };
  // While the binding itself moves or shows the window: the sizes it reports then are no
  // user's doing.
  class ModelChange;

  template <class Binding, class Model, class... Extra>
  Binding& AddChild(Model& model, ChildStyle style, ChildBinding* parent, Extra&&... extra);
  void RemoveChild(const Control& model);
  void RemoveTimer(const Timer& model);
  ChildBinding* ChildById(int id) const;
  HWND ParentWindow(const Child& child) const;

  void RegisterClassOnce() const;
  SIZE InitialSize(int dpi) const;
  POINT InitialPosition(SIZE outer) const;
  int ShowCommand() const;
  void ShowAsModel();
  void ReportBounds();
  void AllowRegisteredMessage(UINT message) const;
  void OnUserSize(WPARAM kind);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void ForgetWindows();

  BindContext context_;
  Form& form_;
  FormOptions options_;
  FontSet fonts_;
  std::vector<Child> children_;
  std::map<UINT_PTR, std::unique_ptr<TimerBinding>> timers_;
  std::vector<Handler> handlers_;
  std::vector<std::function<void()>> unhookArrays_;
  int nextControlId_ = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends
  UINT_PTR nextTimerId_ = 1;
  int modelChanges_ = 0;
  bool inModal_ = false;
};

}  // namespace pravelo::ui
