// A small form made of the same models as the program's windows, bound to real windows,
// and helpers to pump messages for a bounded time.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

#include "platform/message_pump_win32.h"
#include "platform/text_win32.h"
#include "ui/control_array.h"
#include "ui/form.h"
#include "ui/form_window_win32.h"
#include "ui/picture_library_win32.h"

namespace pravelo::ui {

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << "}";
}

}  // namespace pravelo::ui

namespace pravelo::ui::testing {

inline HWND Hwnd(const Control& control) { return reinterpret_cast<HWND>(control.Handle()); }

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// A child's rectangle in its parent's client coordinates.
inline Rect PlaceOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Dispatches messages until `done` holds or `limit` has passed; whether it held.
template <class Done>
bool PumpUntil(MessagePumpWin32& pump, Done done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  pump.DoEvents();
  while (!done()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    pump.DoEvents();
  }
  return true;
}

// Dispatches for exactly `period`, whatever happens.
inline void PumpFor(MessagePumpWin32& pump, std::chrono::milliseconds period) {
  PumpUntil(
      pump, [] { return false; }, period);
}

inline std::unique_ptr<Button> CopyButton(const Button& from) {
  auto copy = std::make_unique<Button>(from.Bounds(), from.Text());
  copy->SetVisible(from.Visible());
  return copy;
}

inline std::unique_ptr<Timer> CopyTimer(const Timer& from) {
  return std::make_unique<Timer>(from.Interval(), from.Enabled());
}

inline PictureStyle Background(COLORREF colour) {
  PictureStyle style;
  style.background = colour;
  return style;
}

inline PictureStyle MouseMoves(std::function<void(int)> onMove) {
  PictureStyle style;
  style.onMouseMove = std::move(onMove);
  return style;
}

inline constexpr layout::Size kTestClient{320, 200};

struct TestForm : Form {
  TestForm() : Form({layout::kCentered, layout::kCentered, 0, 0}, "Test form") {}

  Button button{{10, 10, 80, 24}, "Press"};
  CheckBox check{{10, 40, 120, 20}, "Check"};
  Label label{{10, 66, 120, 24}, "45%"};
  TextBox text{{10, 94, 80, 21}, "50"};
  PictureBox viewport{{150, 10, 100, 60}, Picture::BarGreen};
  PictureBox canvas{{0, 0, 150, 60}};  // inside the viewport, wider than it
  Timer timer{0, false};
  ControlArray<Button> notes{std::make_unique<Button>(Rect{0, 120, 200, 40}), CopyButton};
  ControlArray<Timer> noteTimers{std::make_unique<Timer>(2000, false), CopyTimer};
};

// The test form bound as the program binds its windows.
class BoundTestForm {
 public:
  explicit BoundTestForm(FormOptions options = DefaultOptions()) {
    form.notes.Template().SetVisible(false);
    window = std::make_unique<FormWindow>(BindContext{GetModuleHandleW(nullptr), pump, pictures}, form,
                                          std::move(options));
    window->AddButton(form.button);
    window->AddCheckBox(form.check);
    window->AddLabel(form.label, {FontRole::Verdana, TextAlign::Center});
    window->AddTextBox(form.text);
    window->AddPicture(form.viewport, Background(RGB(0xE0, 0xE0, 0xE0)));
    window->AddPicture(form.canvas, {}, &form.viewport);
    window->AddTimer(form.timer);
    window->AddButtonArray(form.notes, {FontRole::Notice, TextAlign::Left, true, true},
                           [this](int index) { clickedNote = index; });
    window->AddTimerArray(form.noteTimers);
  }

  static FormOptions DefaultOptions() {
    FormOptions options;
    options.className = L"Pravelo.TestForm";
    options.client = kTestClient;
    return options;
  }

  MessagePumpWin32 pump;
  PictureLibrary pictures{GetModuleHandleW(nullptr)};
  TestForm form;
  std::unique_ptr<FormWindow> window;
  int clickedNote = 0;
};

}  // namespace pravelo::ui::testing
