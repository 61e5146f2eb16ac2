#include "ui/form_window_win32.h"

#include <algorithm>
#include <utility>

#include "platform/text_win32.h"
#include "ui/dpi_scale.h"
#include "ui/dpi_win32.h"
#include "ui/standard_controls_win32.h"
#include "ui/system_function_win32.h"

namespace pravelo::ui {
namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;

// Shift state as the forms' key handlers expect it.
constexpr int kShiftKey = 1;
constexpr int kControlKey = 2;
constexpr int kAltKey = 4;
constexpr LPARAM kAltDownBit = LPARAM{1} << 29;

int ShiftState(LPARAM keyData) {
  return (GetKeyState(VK_SHIFT) < 0 ? kShiftKey : 0) | (GetKeyState(VK_CONTROL) < 0 ? kControlKey : 0) |
         ((keyData & kAltDownBit) ? kAltKey : 0);
}

}  // namespace

class FormWindow::ModelChange {
 public:
  explicit ModelChange(FormWindow& window) : window_(window) { ++window_.modelChanges_; }
  ModelChange(const ModelChange&) = delete;
  ModelChange& operator=(const ModelChange&) = delete;
  ~ModelChange() { --window_.modelChanges_; }

 private:
  FormWindow& window_;
};

FormWindow::FormWindow(BindContext context, Form& form, FormOptions options)
    : context_(context), form_(form), options_(std::move(options)), fonts_(SystemDpi()) {
  form_.Attach(this, 0);
  form_.AttachForm(this);
}

FormWindow::~FormWindow() {
  if (window_) DestroyWindow(window_);
  for (auto& unhook : unhookArrays_) unhook();
  form_.AttachForm(nullptr);
  form_.Detach();
}

template <class Binding, class Model, class... Extra>
Binding& FormWindow::AddChild(Model& model, ChildStyle style, ChildBinding* parent, Extra&&... extra) {
  auto binding =
      std::make_unique<Binding>(model, *this, style, nextControlId_++, std::forward<Extra>(extra)...);
  Binding& added = *binding;
  children_.push_back({std::move(binding), parent});
  if (window_) added.Create(ParentWindow(children_.back()));
  return added;
}

void FormWindow::AddButton(Button& model, ChildStyle style) {
  AddChild<ButtonBinding>(model, style, nullptr);
}
void FormWindow::AddCheckBox(CheckBox& model, ChildStyle style) {
  AddChild<CheckBoxBinding>(model, style, nullptr);
}
void FormWindow::AddLabel(Label& model, ChildStyle style) { AddChild<LabelBinding>(model, style, nullptr); }
void FormWindow::AddTextBox(TextBox& model, ChildStyle style) {
  AddChild<TextBoxBinding>(model, style, nullptr);
}

void FormWindow::AddListBox(ListBox& model, ChildStyle style) {
  AddChild<ListBoxBinding>(model, style, nullptr);
}

void FormWindow::AddPicture(PictureBox& model, PictureStyle picture, PictureBox* parent, ChildStyle style) {
  ChildBinding* parentBinding = parent && parent->Peer() ? parent->Peer()->AsChildBinding() : nullptr;
  AddChild<PictureBinding>(model, style, parentBinding, std::move(picture), context_.pictures);
}

void FormWindow::AddTimer(Timer& model) {
  const UINT_PTR id = nextTimerId_++;
  auto& binding = *timers_.emplace(id, std::make_unique<TimerBinding>(model, id)).first->second;
  if (window_) binding.SetWindow(window_);
}

void FormWindow::AddButtonArray(ControlArray<Button>& array, ChildStyle style,
                                std::function<void(int)> onClick) {
  AddButton(array.Template(), style);
  array.onLoaded = [this, style, onClick](int index, Button& element) {
    element.SetVisible(false);  // not yet bound, so only the model changes
    if (onClick) element.onClick = [onClick, index] { onClick(index); };
    AddButton(element, style);
  };
  array.onUnloading = [this](int, Button& element) { RemoveChild(element); };
  unhookArrays_.push_back([&array] {
    array.onLoaded = nullptr;
    array.onUnloading = nullptr;
  });
}

void FormWindow::AddTimerArray(ControlArray<Timer>& array, std::function<void(int)> onTimer) {
  AddTimer(array.Template());
  array.onLoaded = [this, onTimer](int index, Timer& element) {
    if (onTimer) element.onTimer = [onTimer, index] { onTimer(index); };
    AddTimer(element);
  };
  array.onUnloading = [this](int, Timer& element) { RemoveTimer(element); };
  unhookArrays_.push_back([&array] {
    array.onLoaded = nullptr;
    array.onUnloading = nullptr;
  });
}

void FormWindow::OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
  handlers_.push_back({message, std::move(handler)});
  if (window_) AllowRegisteredMessage(message);
}

void FormWindow::RemoveChild(const Control& model) {
  auto found = std::find_if(children_.begin(), children_.end(),
                            [&](const Child& c) { return &c.binding->Model() == &model; });
  if (found != children_.end()) children_.erase(found);
}

void FormWindow::RemoveTimer(const Timer& model) {
  auto found = std::find_if(timers_.begin(), timers_.end(),
                            [&](const auto& entry) { return entry.second->Model() == &model; });
  if (found != timers_.end()) timers_.erase(found);
}

ChildBinding* FormWindow::ChildById(int id) const {
  for (const Child& child : children_) {
    if (child.binding->Id() == id) return child.binding.get();
  }
  return nullptr;
}

HWND FormWindow::ParentWindow(const Child& child) const {
  return child.parent && child.parent->Hwnd() ? child.parent->Hwnd() : window_;
}

void FormWindow::RegisterClassOnce() const {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(context_.instance, options_.className, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = context_.instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = options_.className;
  if (options_.iconResource) {
    // Shared icons belong to the system's cache, as a class's icons may.
    const auto icon = [&](int size) {
      return static_cast<HICON>(LoadImageW(context_.instance, MAKEINTRESOURCEW(options_.iconResource),
                                           IMAGE_ICON, size, size, LR_SHARED));
    };
    windowClass.hIcon = icon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = icon(GetSystemMetrics(SM_CXSMICON));
  }
  RegisterClassExW(&windowClass);
}

SIZE FormWindow::InitialSize(int dpi) const {
  if (options_.client.width > 0) {
    const SIZE client{ScaleToDpi(options_.client.width, dpi), ScaleToDpi(options_.client.height, dpi)};
    return OuterSizeForClient(options_.style, options_.exStyle | WS_EX_CONTROLPARENT, client, dpi);
  }
  return {ScaleToDpi(form_.Width(), dpi), ScaleToDpi(form_.Height(), dpi)};
}

POINT FormWindow::InitialPosition(SIZE outer) const {
  if (form_.Left() != layout::kCentered) return {form_.Left(), form_.Top()};
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left + (work.right - work.left - outer.cx) / 2,
          work.top + (work.bottom - work.top - outer.cy) / 2};
}

void FormWindow::Create() {
  if (window_) return;
  ModelChange change(*this);
  RegisterClassOnce();
  if (const int system = SystemDpi(); system != Dpi()) fonts_ = FontSet(system);
  SIZE outer = InitialSize(Dpi());
  const POINT at = InitialPosition(outer);
  const DWORD style = options_.style | (form_.Enabled() ? 0u : WS_DISABLED);
  CreateWindowExW(options_.exStyle | WS_EX_CONTROLPARENT, options_.className, Widen(form_.Text()).c_str(),
                  style, at.x, at.y, outer.cx, outer.cy, nullptr, nullptr, context_.instance, this);
  if (!window_) return;
  if (const int dpi = DpiOfWindow(window_); dpi != Dpi()) {
    fonts_ = FontSet(dpi);
    outer = InitialSize(dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  form_.Attach(this, reinterpret_cast<WindowId>(window_));
  for (const Handler& handler : handlers_) AllowRegisteredMessage(handler.message);
  for (const Child& child : children_) child.binding->Create(ParentWindow(child));
  for (auto& [id, timer] : timers_) timer->SetWindow(window_);
  ReportBounds();
  if (form_.Visible()) ShowAsModel();
}

void FormWindow::Destroy() {
  if (window_) DestroyWindow(window_);
}

void FormWindow::ForgetWindows() {
  for (const Child& child : children_) child.binding->Forget();
  for (auto& [id, timer] : timers_) timer->SetWindow(nullptr);
  form_.Attach(this, 0);
}

void FormWindow::AllowRegisteredMessage(UINT message) const {
  if (message < kFirstRegisteredMessage) return;
  using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto filter = User32Function<FilterFn>("ChangeWindowMessageFilterEx");
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
  if (filter) filter(window_, message, kAllow, nullptr);
}

int FormWindow::ShowCommand() const {
  switch (form_.State()) {
    case WindowState::Minimized:
      return SW_SHOWMINIMIZED;
    case WindowState::Maximized:
      return SW_SHOWMAXIMIZED;
    case WindowState::Normal:
      break;
  }
  return SW_SHOWNORMAL;
}

void FormWindow::ShowAsModel() {
  ModelChange change(*this);
  ShowWindow(window_, form_.Visible() ? ShowCommand() : SW_HIDE);
}

void FormWindow::ApplyWindowState() {
  // A hidden window takes the state when it is next shown.
  if (!Showing()) return;
  ModelChange change(*this);
  ShowWindow(window_, ShowCommand());
}

void FormWindow::ReportBounds() {
  RECT r;
  if (!window_ || IsIconic(window_) || !GetWindowRect(window_, &r)) return;
  const int dpi = Dpi();
  form_.SetBoundsFromUser(
      {r.left, r.top, ScaleFromDpi(r.right - r.left, dpi), ScaleFromDpi(r.bottom - r.top, dpi)});
}

void FormWindow::Apply(Change change) {
  if (!window_) return;
  switch (change) {
    case Change::Text:
      SetWindowTextW(window_, Widen(form_.Text()).c_str());
      break;
    case Change::Geometry: {
      ModelChange moving(*this);
      const int dpi = Dpi();
      const SIZE outer{ScaleToDpi(form_.Width(), dpi), ScaleToDpi(form_.Height(), dpi)};
      const POINT at = InitialPosition(outer);
      SetWindowPos(window_, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Change::Visible:
      ShowAsModel();
      break;
    case Change::Enabled:
      EnableWindow(window_, form_.Enabled());
      break;
    case Change::Focus:
      if (Showing()) SetFocus(window_);
      break;
    case Change::Value:
    case Change::Picture:
      break;
  }
}

void FormWindow::OnUserSize(WPARAM kind) {
  WindowState state = WindowState::Normal;
  if (kind == SIZE_MINIMIZED) {
    state = WindowState::Minimized;
  } else if (kind == SIZE_MAXIMIZED) {
    state = WindowState::Maximized;
  } else if (kind != SIZE_RESTORED) {
    return;  // another window was maximized or restored
  }
  const Rect before = form_.Bounds();
  ReportBounds();
  const Rect& after = form_.Bounds();
  const bool resized = after.width != before.width || after.height != before.height;
  if (state == form_.State() && !resized) return;
  form_.SetStateFromUser(state);
  if (form_.onResize) form_.onResize();
}

void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  // The controls get the new fonts before the old ones are deleted.
  FontSet previous = std::exchange(fonts_, FontSet(dpi));
  {
    ModelChange change(*this);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const Child& child : children_) child.binding->Relayout();
  form_.SetBoundsFromUser({suggested.left, suggested.top, form_.Width(), form_.Height()});
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const Handler& handler : handlers_) {
    if (handler.message != message) continue;
    // A copy: the handler may add handlers, which moves the list.
    const auto handle = handler.handle;
    return handle(wParam, lParam);
  }
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        if (ChildBinding* child = ChildById(LOWORD(wParam))) child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_TIMER:
      if (auto found = timers_.find(wParam); found != timers_.end()) found->second->OnTick();
      return 0;
    case WM_CLOSE:
      if (options_.onCloseBox) {
        options_.onCloseBox();
      } else {
        form_.Unload(CloseReason::User);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) form_.Unload(CloseReason::Shutdown);
      return 0;
    case WM_SIZE:
      if (modelChanges_ == 0) OnUserSize(wParam);
      return 0;
    case WM_MOVE:
      ReportBounds();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (options_.onKeyDown && options_.onKeyDown(static_cast<int>(wParam), ShiftState(lParam))) return 0;
      break;
    case WM_SETFOCUS:
      // As in a dialog, the focus goes on to the first control that takes it.
      if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) {
        SetFocus(first);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      ForgetWindows();
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace pravelo::ui
