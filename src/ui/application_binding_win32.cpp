#include "ui/application_binding_win32.h"

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
    case TextStyle::Centred:
      return kCentred;
    case TextStyle::RightAligned:
      return kRightAligned;
    case TextStyle::Plain:
      break;
  }
  return {};
}

void Add(FormWindow& w, Label& control, ChildStyle style) { w.AddLabel(control, style); }
void Add(FormWindow& w, TextBox& control, ChildStyle style) { w.AddTextBox(control, style); }
void Add(FormWindow& w, Button& control, ChildStyle style) { w.AddButton(control, style); }
void Add(FormWindow& w, CheckBox& control, ChildStyle style) { w.AddCheckBox(control, style); }
void Add(FormWindow& w, ListBox& control, ChildStyle style) { w.AddListBox(control, style); }

// The window's controls in the order of its table, which is also their tab order.
template <class F>
void AddControls(FormWindow& w, F& form, std::span<const ControlRow<F>> rows) {
  for (const ControlRow<F>& row : rows) {
    std::visit([&](auto member) { Add(w, form.*member, StyleOf(row.style)); }, row.member);
  }
}

}  // namespace

ApplicationBinding::ApplicationBinding(HINSTANCE instance, app::Application& application,
                                       MessagePumpWin32& pump)
    : instance_(instance), pump_(pump), pictures_(instance) {
  BindForm1(application);
  BindForm2(application);
  BindForm3(application);
  BindAreas(application);
  BindAutomation(application);
  BindLanguage(application);
}

ApplicationBinding::~ApplicationBinding() = default;

void ApplicationBinding::BindForm1(app::Application& application) {
  app::Form1& f = application.form1;
  form1_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f,
                                        Options(kForm1Class, layout::form1::kClient));
  FormWindow& w = *form1_;
  for (Button* button :
       {&f.Command1, &f.Command8, &f.Command2, &f.Command5, &f.Command7, &f.Command3, &f.Command10}) {
    w.AddButton(*button);
  }
  w.AddLabel(f.Label1, kLargeFigure);
  w.AddLabel(f.Label5, kLargeFigure);
  w.AddLabel(f.Label2, kCentred);
  w.AddPicture(f.Picture3, {}, nullptr, kAbove);  // the bar over its track
  w.AddPicture(f.Picture6);
  w.AddPicture(f.Picture1, Background(kGraphViewportColour));
  w.AddPicture(f.Picture4, Background(kGraphCanvasColour), &f.Picture1);
  w.AddPicture(f.Picture5, Stretched());
  w.AddPicture(f.Picture2);
  w.AddPicture(f.tmppc);
  PictureStyle trayCallback;
  trayCallback.onMouseMove = [&f](int x) { f.pichook_MouseMove(x); };
  w.AddPicture(f.pichook, std::move(trayCallback));
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

void ApplicationBinding::BindForm2(app::Application& application) {
  settings::Form2& f = application.form2;
  FormOptions options = DialogOptions(kForm2Class, layout::form2::kClient);
  form2_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f, std::move(options));
  FormWindow& w = *form2_;
  w.AddCheckBox(f.Check1);
  w.AddCheckBox(f.Check2);
  w.AddButton(f.Command3);
  w.AddLabel(f.Label1);
  w.AddTextBox(f.Text1);
  w.AddLabel(f.Label2);
  for (CheckBox* check : {&f.Check3, &f.Check5, &f.Check6, &f.Check4}) w.AddCheckBox(*check);
  w.AddLabel(f.Label3);
  w.AddButton(f.Command2);
  w.AddButton(f.Command1);
  w.AddButton(f.Command4);
  w.AddButton(f.Command5);
  w.AddTimer(f.Timer1);
}

void ApplicationBinding::BindAutomation(app::Application& application) {
  settings::AutomationWindow& f = application.automation;
  FormOptions options = DialogOptions(kAutomationClass, layout::automation::kClient);
  automation_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f, std::move(options));
  AddControls(*automation_, f, settings::AutomationWindow::Controls());
}

void ApplicationBinding::BindLanguage(app::Application& application) {
  settings::LanguageWindow& f = application.language;
  FormOptions options = DialogOptions(kLanguageClass, layout::language::kClient);
  language_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f, std::move(options));
  AddControls(*language_, f, settings::LanguageWindow::Controls());
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
  FormWindow& w = *form3_;
  w.AddLabel(f.Label1, kLargeFigure);
  w.AddPicture(f.Picture3);
  w.AddLabel(f.Label2, kLargeFigure);
  for (Button* button : {&f.Command4, &f.Command1, &f.Command2, &f.Command3}) w.AddButton(*button);
}

void ApplicationBinding::BindAreas(app::Application& application) {
  settings::AreasWindow& f = application.areas;
  FormOptions options = DialogOptions(kAreasClass, layout::areas::kClient);
  areas_ = std::make_unique<FormWindow>(BindContext{instance_, pump_, pictures_}, f, std::move(options));
  FormWindow& w = *areas_;
  w.AddLabel(f.ManualHeader, kCentred);
  w.AddLabel(f.AutomaticHeader, kCentred);
  w.AddLabel(f.ResultHeader);
  w.AddLabel(f.FreedHeader, kRightAligned);
  w.AddLabel(f.TimeHeader, kRightAligned);
  for (std::size_t i = 0; i < memory::kAreaCount; ++i) {
    w.AddLabel(f.AreaLabel[i]);
    w.AddCheckBox(f.Manual[i]);
    w.AddCheckBox(f.Automatic[i]);
    w.AddLabel(f.Result[i]);
    w.AddLabel(f.Freed[i], kRightAligned);
    w.AddLabel(f.Time[i], kRightAligned);
  }
  w.AddButton(f.Command1);
}

std::unique_ptr<ApplicationBinding> BindApplication(HINSTANCE instance, app::Application& application,
                                                    MessagePumpWin32& pump) {
  return std::make_unique<ApplicationBinding>(instance, application, pump);
}

}  // namespace pravelo::ui
