#include "app/application_binding_win32.h"

#include <map>

#include "app/application.h"
#include "resource_ids.h"
#include "ui/layout.h"

namespace pravelo::ui {
namespace {

constexpr COLORREF kGraphViewportColour = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kGraphCanvasColour = RGB(0x00, 0x21, 0x06);
constexpr int kThumbnailIconSize = 16;
constexpr int kF4 = 115;
constexpr int kAlt = 4;

constexpr ChildStyle kLargeFigure{FontRole::Verdana, TextAlign::Center, false, false};
constexpr ChildStyle kCentred{FontRole::Message, TextAlign::Center, false, false};
constexpr ChildStyle kRightAligned{FontRole::Message, TextAlign::Right, false, false};
constexpr ChildStyle kNotification{FontRole::Notice, TextAlign::Left, true, true};
constexpr ChildStyle kAbove{FontRole::Message, TextAlign::Left, false, true};

PictureStyle Background(COLORREF colour) {
  PictureStyle style;
  style.background = colour;
  return style;
}

PictureStyle Stretched() {
  PictureStyle style;
  style.stretch = true;
  return style;
}

FormOptions Options(const wchar_t* className, layout::Size client) {
  FormOptions options;
  options.className = className;
  options.client = client;
  options.iconResource = IDI_PRAVELO;
  return options;
}

// A window with a fixed dialog frame and only a close box.
FormOptions DialogOptions(const wchar_t* className, layout::Size client) {
  FormOptions options = Options(className, client);
  options.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  options.exStyle = WS_EX_DLGMODALFRAME;
  return options;
}

ChildStyle StyleOf(TextStyle style) {
  switch (style) {
    case TextStyle::Figure:
      return kLargeFigure;
    case TextStyle::Centred:
      return kCentred;
    case TextStyle::RightAligned:
      return kRightAligned;
    case TextStyle::Plain:
      break;
  }
  return {};
}

// How a picture box is drawn, where it is not a plain picture.
struct PictureSetup {
  PictureStyle picture;
  PictureBox* parent = nullptr;
  ChildStyle child;
};
using PictureSetups = std::map<const PictureBox*, PictureSetup>;

void Add(FormWindow& w, Label& control, ChildStyle style, const PictureSetups&) {
  w.AddLabel(control, style);
}
void Add(FormWindow& w, TextBox& control, ChildStyle style, const PictureSetups&) {
  w.AddTextBox(control, style);
}
void Add(FormWindow& w, Button& control, ChildStyle style, const PictureSetups&) {
  w.AddButton(control, style);
}
void Add(FormWindow& w, CheckBox& control, ChildStyle style, const PictureSetups&) {
  w.AddCheckBox(control, style);
}
void Add(FormWindow& w, PictureBox& control, ChildStyle, const PictureSetups& setups) {
  const auto it = setups.find(&control);
  if (it == setups.end()) {
    w.AddPicture(control);
  } else {
    w.AddPicture(control, it->second.picture, it->second.parent, it->second.child);
  }
}
void Add(FormWindow& w, ListBox& control, ChildStyle style, const PictureSetups&) {
  w.AddListBox(control, style);
}

// The window's controls in the order of its table, which is also their tab order.
template <class F>
void AddControls(FormWindow& w, F& form, std::span<const ControlRow<F>> rows,
                 const PictureSetups& pictures = {}) {
  for (const ControlRow<F>& row : rows) {
    std::visit([&](const auto& member) { Add(w, Resolve(form, member), StyleOf(row.style), pictures); }, row.member);
  }
}

// A settings window: a dialog frame and the controls of its table.
template <class F>
std::unique_ptr<FormWindow> BindDialog(BindContext context, const wchar_t* className, layout::Size client,
                                       F& form) {
  auto window = std::make_unique<FormWindow>(context, form, DialogOptions(className, client));
  AddControls(*window, form, F::Controls());
  return window;
}

}  // namespace

ApplicationBinding::ApplicationBinding(HINSTANCE instance, app::Application& application,
                                       MessagePumpWin32& pump)
    : instance_(instance), pump_(pump), pictures_(instance) {
  BindForm1(application);
  const BindContext context{instance_, pump_, pictures_};
  form2_ = BindDialog(context, kForm2Class, layout::form2::kClient, application.form2);
  form2_->AddTimer(application.form2.Timer1);
  BindForm3(application);
  areas_ = BindDialog(context, kAreasClass, layout::areas::kClient, application.areas);
  automation_ = BindDialog(context, kAutomationClass, layout::automation::kClient, application.automation);
  language_ = BindDialog(context, kLanguageClass, layout::language::kClient, application.language);
}

ApplicationBinding::~ApplicationBinding() = default;

void ApplicationBinding::BindForm1(app::Application& application) {
  app::Form1& f = application.form1;
  form1_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f,
                                        Options(kForm1Class, layout::form1::kClient));
  FormWindow& w = *form1_;
  PictureStyle trayCallback;
  trayCallback.onMouseMove = [&f](int x) { f.pichook_MouseMove(x); };
  AddControls(w, f, app::Form1::Controls(),
              {{&f.Picture3, {{}, nullptr, kAbove}},  // the bar over its track
               {&f.Picture1, {Background(kGraphViewportColour), nullptr, {}}},
               {&f.Picture4, {Background(kGraphCanvasColour), &f.Picture1, {}}},
               {&f.Picture5, {Stretched(), nullptr, {}}},
               {&f.pichook, {trayCallback, nullptr, {}}}});
  w.AddButtonArray(f.Status, kNotification, [&f](int index) { f.Status_Click(index); });
  w.AddTimerArray(f.msgtimer, [&f](int index) { f.msgtimer_Timer(index); });
  w.AddTimer(f.Timer1);
  w.AddTimer(f.Timer2);
  hotkey_ = std::make_unique<GlobalHotkeyWin32>(f.hotkey, f);
  w.OnMessage(WM_HOTKEY, [&f](WPARAM id, LPARAM) -> LRESULT {
    if (id == GlobalHotkeyWin32::kId) f.hotkey.Press();
    return 0;
  });
  // Explorer started again, and the window's taskbar button exists.
  w.OnMessage(RegisterWindowMessageW(L"TaskbarCreated"), [&f](WPARAM, LPARAM) -> LRESULT {
    f.TaskbarCreated();
    return 0;
  });
  w.OnMessage(RegisterWindowMessageW(L"TaskbarButtonCreated"), [&f](WPARAM, LPARAM) -> LRESULT {
    f.TaskbarButtonCreated();
    return 0;
  });

  constexpr int kIcons[] = {IDI_IMG_OPTIMIZE, IDI_IMG_OPTIONS, IDI_IMG_OPTIMIZE2};
  for (std::size_t i = 0; i < thumbnailIcons_.size(); ++i) {
    thumbnailIcons_[i].Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIcons[i]), IMAGE_ICON,
                                                           kThumbnailIconSize, kThumbnailIconSize, 0)));
    f.img[i + 1] = reinterpret_cast<NativeHandle>(thumbnailIcons_[i].Get());
  }
}

void ApplicationBinding::BindForm3(app::Application& application) {
  simple::Form3& f = application.form3;
  FormOptions options = Options(kForm3Class, layout::form3::kClient);
  // Alt+F4 and the close box end the program through the form's key handler, not by
  // closing only this window.
  options.onKeyDown = [&f](int keyCode, int shift) {
    f.Form_KeyDown(keyCode, shift);
    return keyCode == kF4 && (shift & kAlt) != 0;
  };
  options.onCloseBox = [&f] { f.Form_KeyDown(kF4, kAlt); };
  form3_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f, std::move(options));
  AddControls(*form3_, f, simple::Form3::Controls());
}

std::unique_ptr<ApplicationBinding> BindApplication(HINSTANCE instance, app::Application& application,
                                                    MessagePumpWin32& pump) {
  return std::make_unique<ApplicationBinding>(instance, application, pump);
}

}  // namespace pravelo::ui
